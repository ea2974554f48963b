#pragma once
#include <cstddef>
#include <limits>
#include <string>

namespace sabla {

// The clean-ups that turn timed lyrics into plain lyrics. Each returns whether it changed the
// text.

// Removes well-formed timetags ("[mm:ss:cc]" or "[mm:ss]") one at a time, always at the first
// '[' of the text, and stops at the first '[' that does not open one: tags behind such a
// bracket are kept ("[00:01:00]a[note][00:02:00]b" becomes "a[note][00:02:00]b").
bool strip_tags_for_txt(std::u16string& text);

// Empties every line that begins with '@' (the first line and every line behind a CR LF); the
// line itself stays, as an empty line. Only `max_scan` characters of a line are looked at for
// its end, and no more than that is removed.
bool empty_meta_lines(std::u16string& text, size_t max_scan = std::numeric_limits<size_t>::max());

}  // namespace sabla
