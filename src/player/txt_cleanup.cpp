#include "player/txt_cleanup.h"

#include <algorithm>
#include <string_view>

namespace sabla {
namespace {

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Length of the well-formed timetag starting at `pos`, or 0 when none starts there.
size_t timetag_length_at(std::u16string_view text, size_t pos) {
  const std::u16string_view rest = text.substr(pos);
  if (rest.size() < 7 || rest[0] != u'[' || !is_digit(rest[1]) || !is_digit(rest[2]) ||
      rest[3] != u':' || !is_digit(rest[4]) || !is_digit(rest[5])) {
    return 0;
  }
  if (rest[6] == u']') return 7;
  if (rest.size() >= 10 && rest[6] == u':' && is_digit(rest[7]) && is_digit(rest[8]) &&
      rest[9] == u']') {
    return 10;
  }
  return 0;
}

}  // namespace

bool strip_tags_for_txt(std::u16string& text) {
  bool changed = false;
  for (;;) {
    const size_t open = text.find(u'[');
    if (open == std::u16string::npos) break;
    const size_t length = timetag_length_at(text, open);
    if (length == 0) break;
    text.erase(open, length);
    changed = true;
  }
  return changed;
}

bool empty_meta_lines(std::u16string& text, size_t max_scan) {
  bool changed = false;
  size_t line = 0;
  for (;;) {
    if (line < text.size() && text[line] == u'@') {
      const size_t limit = line + std::min(max_scan, text.size() - line);
      size_t end = text.find(u"\r\n", line);
      if (end == std::u16string::npos || end > limit) end = limit;
      text.erase(line, end - line);
      changed = changed || end > line;
    }
    const size_t next = text.find(u"\r\n", line);
    if (next == std::u16string::npos) break;
    line = next + 2;
  }
  return changed;
}

}  // namespace sabla
