#include "sources/txt_cleanup_8bit.h"

#include <algorithm>
#include <string_view>

namespace sabla {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the well-formed timetag at `pos` ([dd:dd:dd] or [dd:dd]), or 0.
size_t timetag_length_at(std::string_view text, size_t pos) {
  const std::string_view rest = text.substr(pos);
  if (rest.size() < 7 || rest[0] != '[' || !is_digit(rest[1]) || !is_digit(rest[2]) ||
      rest[3] != ':' || !is_digit(rest[4]) || !is_digit(rest[5])) {
    return 0;
  }
  if (rest[6] == ']') return 7;
  if (rest.size() >= 10 && rest[6] == ':' && is_digit(rest[7]) && is_digit(rest[8]) &&
      rest[9] == ']') {
    return 10;
  }
  return 0;
}

}  // namespace

LeadBytes shift_jis_lead_bytes() {
  LeadBytes bytes;
  for (int b = 0x81; b <= 0x9F; ++b) bytes.lead[b] = true;
  for (int b = 0xE0; b <= 0xFC; ++b) bytes.lead[b] = true;
  return bytes;
}

bool strip_tags_for_txt(std::string& text, const LeadBytes& lead_bytes) {
  bool changed = false;
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (lead_bytes[b]) {
      i += 2;  // a lead byte at the very end stands alone; the loop ends either way
      continue;
    }
    if (b != '[') {
      ++i;
      continue;
    }
    const size_t length = timetag_length_at(text, i);
    if (length == 0) break;
    // Tags are removed at character starts only, so `i` still starts a character.
    text.erase(i, length);
    changed = true;
  }
  return changed;
}

bool empty_meta_lines(std::string& text, size_t max_scan) {
  bool changed = false;
  size_t line = 0;
  for (;;) {
    if (line < text.size() && text[line] == '@') {
      const size_t limit = line + std::min(max_scan, text.size() - line);
      size_t end = text.find("\r\n", line);
      if (end == std::string::npos || end > limit) end = limit;
      text.erase(line, end - line);
      changed = changed || end > line;
    }
    const size_t next = text.find("\r\n", line);
    if (next == std::string::npos) break;
    line = next + 2;
  }
  return changed;
}

}  // namespace sabla
