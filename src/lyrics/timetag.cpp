#include "lyrics/timetag.h"

#include <algorithm>

namespace sabla {
namespace {

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

int digit_pair(char16_t tens, char16_t ones) { return (tens - u'0') * 10 + (ones - u'0'); }

bool is_c_space(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// What a C leading-integer conversion makes of a two-character field: white space skipped, an
// optional sign, then digits up to the first non-digit; no digits gives 0.
int leading_integer(char16_t first, char16_t second) {
  const char16_t field[2] = {first, second};
  size_t i = 0;
  while (i < 2 && is_c_space(field[i])) ++i;
  bool negative = false;
  if (i < 2 && (field[i] == u'+' || field[i] == u'-')) {
    negative = field[i] == u'-';
    ++i;
  }
  int value = 0;
  while (i < 2 && is_digit(field[i])) value = value * 10 + (field[i++] - u'0');
  return negative ? -value : value;
}

void put_two_digits(std::u16string& out, int value) {
  out.push_back(static_cast<char16_t>(u'0' + value / 10));
  out.push_back(static_cast<char16_t>(u'0' + value % 10));
}

}  // namespace

TagText TagText::from(std::u16string_view text) {
  TagText tag;
  tag.length_ = std::min(text.size(), kLongTagLength);
  std::copy_n(text.begin(), tag.length_, tag.units_.begin());
  return tag;
}

size_t well_formed_tag_length(std::u16string_view text, size_t pos) {
  if (pos >= text.size() || text.size() - pos < kShortTagLength) return 0;
  const std::u16string_view t = text.substr(pos);
  if (t[0] != u'[' || !is_digit(t[1]) || !is_digit(t[2]) || t[3] != u':' || !is_digit(t[4]) ||
      !is_digit(t[5])) {
    return 0;
  }
  if (t[6] == u']') return kShortTagLength;
  if (t.size() >= kLongTagLength && t[6] == u':' && is_digit(t[7]) && is_digit(t[8]) &&
      t[9] == u']') {
    return kLongTagLength;
  }
  return 0;
}

int32_t parse_leading_tag(std::u16string_view t) {
  if (t.size() < kShortTagLength || t[0] != u'[' || t[3] != u':') return -1;
  const bool short_form = t[6] == u']';
  if (!short_form && !(t.size() >= kLongTagLength && t[9] == u']')) return -1;
  if (!is_digit(t[1]) || !is_digit(t[2]) || !is_digit(t[4]) || !is_digit(t[5])) return -1;
  const int minutes = digit_pair(t[1], t[2]);
  const int seconds = digit_pair(t[4], t[5]);
  const int hundredths = short_form ? 0 : leading_integer(t[7], t[8]);
  return minutes * 60000 + seconds * 1000 + hundredths * 10;
}

TagText format_tag(int32_t ms, TagForm form) {
  const bool long_form = form == TagForm::kLong;
  if (ms < 0) {
    // Every empty line of a store carries these two, so they are made once.
    static const TagText kNoLongTag = TagText::from(u"[--:--:--]");
    static const TagText kNoShortTag = TagText::from(u"[--:--]");
    return long_form ? kNoLongTag : kNoShortTag;
  }
  int minutes = ms / 60000;
  int seconds = ms / 1000 - minutes * 60;
  int hundredths = (ms % 1000) / 10;
  // Two-digit fields: keep every time a tag can express exact, and saturate beyond that.
  if (minutes > 99) {
    seconds += (minutes - 99) * 60;
    minutes = 99;
    if (seconds > 99) {
      seconds = 99;
      hundredths = 99;
    }
  }
  std::u16string out;
  out.reserve(kLongTagLength);
  out.push_back(u'[');
  put_two_digits(out, minutes);
  out.push_back(u':');
  put_two_digits(out, seconds);
  if (long_form) {
    out.push_back(u':');
    put_two_digits(out, hundredths);
  }
  out.push_back(u']');
  return TagText::from(out);
}

std::u16string strip_tags(std::u16string_view line) {
  std::u16string text(line);
  size_t k = 0;
  for (;;) {
    const size_t pos = text.find(u'[', k);
    if (pos == std::u16string::npos) break;
    if (const size_t length = well_formed_tag_length(text, pos)) {
      text.erase(pos, length);
      ++k;
    } else {
      // Steps k+1 .. pos would find this same '[' and leave it: go straight past it.
      k = pos + 1;
    }
  }
  return text;
}

}  // namespace sabla
