#pragma once
#include <cstdint>
#include <string>

namespace sabla {

// The batch tools of the lyric editors rewrite the whole editor text at once. The text is what
// an editor buffer holds: at most 32,767 UTF-16 units with CR LF line ends. A tag is recognised
// by its characters only ("[dd:dd:dd]" or "[dd:dd]", ASCII digits, wholly inside the text).

// tags_to_long never lets the text grow beyond this many units.
inline constexpr size_t kLongTagsTextLimit = 32766;
// insert_line_breaks scans no further than this position and inserts no break into a text
// longer than this, so a text never outgrows kLongTagsTextLimit by a break either.
inline constexpr size_t kLineBreakScanLimit = 32764;
// The widths insert_line_breaks accepts; any other width leaves the text alone.
inline constexpr int32_t kMinLineBreakWidth = 1;
inline constexpr int32_t kMaxLineBreakWidth = 252;

// Moves every tag by `shift_units` × 10 ms, clamped to 00:00.00..99:59.99. A tag keeps its form
// and place; a short tag loses the hundredths the shift gave it.
void shift_timetags(std::u16string& text, int32_t shift_units);

// Multiplies every tag's time by `scale_factor` (in extended precision, truncated toward zero),
// clamped as in shift_timetags. A factor that is not finite leaves the text alone.
void scale_timetags(std::u16string& text, float scale_factor);

// Turns every short tag into a long one with hundredths 00. A tag is converted only while the
// text stays within kLongTagsTextLimit; the tags behind the first one that would not fit stay
// short, and no text is ever dropped.
void tags_to_long(std::u16string& text);

// Turns every long tag into a short one; the hundredths are dropped, not rounded.
void tags_to_short(std::u16string& text);

// Breaks every line after `width` characters (1..kMaxLineBreakWidth, else nothing happens) by
// inserting CR LF. A surrogate pair counts as one character and is never split; with
// `skip_tags` (the external text editor) tags neither count nor are split, wherever on the line
// they stand. Only CR LF counts as a line end: the caller normalises the line ends first
// (normalize_line_ends), as the editors' text comes in any form the user pasted.
void insert_line_breaks(std::u16string& text, int32_t width, bool skip_tags);

}  // namespace sabla
