#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sabla {

// A stamp at the start of a line in the forms lyric files use beside the native [mm:ss:cc]:
// [mm:ss.xx], [mm:ss.xxx], [mm:ss.x], [mm:ss] and one- or three-digit minutes.
struct LrcStamp {
  int64_t ms = 0;
  size_t length = 0;           // characters, both brackets included
  bool standard_only = false;  // a '.' fraction, or minutes not written with two digits
  bool native_long = false;    // [dd:dd:dd]
};

// The stamp at `pos`, or nothing.
std::optional<LrcStamp> read_lrc_stamp(std::u16string_view text, size_t pos);

// What a file in the standard form carries besides its lines, kept so that a save writes it
// back: every header tag line as read ([ti:], [ar:], [al:], [offset:], [by:], ...), in file
// order, and the offset they set.
struct LrcForm {
  std::vector<std::u16string> header_lines;
  int32_t offset_ms = 0;  // positive: every stamp is shown that much earlier
  std::u16string title;
  std::u16string artist;
  std::u16string album;
};

// A text in the standard form, turned into native lines: one line per stamp, each beginning
// with the native long tag of its stamp less the offset (clamped to 0 and to the largest native
// tag time), sorted by time with the untimed lines, each of which keeps to the line it followed
// in the file (ties keep file order); header lines left out.
struct StandardLrcText {
  LrcForm form;
  std::vector<std::u16string> lines;  // at most `max_lines`, each at most `max_chars` - 1 units
};

// The text (lines ending in LF or CR LF) read in the standard form when it is one: it has more
// lines that only the standard form writes (a '.' fraction, minutes of one or three digits,
// several leading stamps, a header tag) than lines that begin with a native long tag. A text
// in the native form gives nothing and is loaded as it is. Native long tags are stamps too.
std::optional<StandardLrcText> read_standard_lrc(std::u16string_view text, size_t max_lines,
                                                 size_t max_chars);

// A line of a document as saved in the standard form: its time (negative: none) and the text
// behind its leading tag.
struct TimedLyric {
  int32_t time_ms = -1;
  std::u16string_view rest;
};

// [mm:ss.xx] of `ms` (minutes with as many digits as they need; hundredths truncated).
std::u16string format_lrc_stamp(int64_t ms);

// The lines in the standard form: the header lines first, then every line sorted as
// read_standard_lrc sorts, each time written with the offset added back so that reading the
// file again gives the same times; CR LF between lines, none after the last.
std::u16string write_standard_lrc(const LrcForm& form, std::span<const TimedLyric> lines);

}  // namespace sabla
