#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/code_page.h"

namespace sabla {

// Lyric text lives in buffers of kLyricsBufferUnits UTF-16 units, terminator included, so a
// text holds at most this many units; whatever lies beyond is cut without notice.
inline constexpr size_t kMaxTextUnits = 32767;

// Turns every line end (CR LF, a lone CR or a lone LF) into CR LF; CR CR LF thus becomes two
// line ends. The text is taken up to its first zero unit and the result is cut at
// kMaxTextUnits units, which can leave a lone CR as its last unit.
void normalize_line_ends(std::u16string& text);

// Exchanges the two bytes of every unit up to the first zero unit.
void swap_byte_order(std::u16string& text);

// UTF-16 text stored as bytes: little-endian units (an odd last byte is dropped), at most
// kMaxTextUnits of them, ending at the first zero unit; byte-swapped when `big_endian`.
std::u16string text_from_utf16_bytes(std::span<const uint8_t> bytes, bool big_endian);

// 8-bit text: the bytes up to the first zero byte, decoded by `code_page` and cut at
// kMaxTextUnits units.
std::u16string text_from_code_page(std::span<const uint8_t> bytes, const CodePage& code_page);

// `text` as the bytes of a UTF-8 file, behind the mark EF BB BF when `mark`; a surrogate half
// without its partner becomes U+FFFD, which has no UTF-8 form of its own.
std::vector<uint8_t> utf8_file_bytes(std::u16string_view text, bool mark);

}  // namespace sabla
