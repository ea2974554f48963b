#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace sabla {

// The lead bytes of the 8-bit code page's two-byte characters. The byte behind a lead byte can
// be '[' or '@' (0x5B and 0x40 are trail bytes in Shift_JIS, as in "ゼ" = 83 5B), so the 8-bit
// clean-ups step over whole characters. All false for a single-byte code page.
struct LeadBytes {
  std::array<bool, 256> lead{};
  bool operator[](uint8_t b) const { return lead[b]; }
};

// The lead bytes of code page 932 (Shift_JIS as Windows has it).
LeadBytes shift_jis_lead_bytes();

// The 8-bit forms of the clean-ups that turn timed lyrics into plain lyrics, for text in the
// system's code page; they do what their UTF-16 forms in player/txt_cleanup.h do and each
// returns whether it changed the text.

// Removes well-formed timetags one at a time, always at the first '[' of the text that starts a
// character, and stops at the first such '[' that does not open one.
bool strip_tags_for_txt(std::string& text, const LeadBytes& lead_bytes);

// Empties every line that begins with '@'; the line stays, as an empty line. Only `max_scan`
// bytes of a line are looked at for its end, and no more than that is removed.
bool empty_meta_lines(std::string& text, size_t max_scan = std::numeric_limits<size_t>::max());

}  // namespace sabla
