#include "lyrics/batch_timetags.h"

#include <algorithm>
#include <cmath>

#include "lyrics/timetag.h"

namespace sabla {
namespace {

// 99:59.99, the latest time both tag forms can write with two-digit minutes.
constexpr int64_t kLatestTagMs = 5999990;

int digit_pair(char16_t tens, char16_t ones) { return (tens - u'0') * 10 + (ones - u'0'); }

void put_digit_pair(std::u16string& text, size_t at, int64_t value) {
  text[at] = static_cast<char16_t>(u'0' + value / 10);
  text[at + 1] = static_cast<char16_t>(u'0' + value % 10);
}

// The time a well-formed tag of `length` at `at` stands for, in milliseconds.
int64_t tag_time_ms(const std::u16string& text, size_t at, size_t length) {
  int64_t ms = digit_pair(text[at + 1], text[at + 2]) * 60000 +
               digit_pair(text[at + 4], text[at + 5]) * 1000;
  if (length == kLongTagLength) ms += digit_pair(text[at + 7], text[at + 8]) * 10;
  return ms;
}

// Writes `ms` over the digits of the tag at `at`, keeping its form.
void write_tag_time(std::u16string& text, size_t at, size_t length, int64_t ms) {
  ms = std::clamp<int64_t>(ms, 0, kLatestTagMs);
  put_digit_pair(text, at + 1, ms / 60000);
  put_digit_pair(text, at + 4, (ms / 1000) % 60);
  if (length == kLongTagLength) put_digit_pair(text, at + 7, (ms % 1000) / 10);
}

// Rewrites the time of every tag in place through `retime`.
template <typename Retime>
void retime_tags(std::u16string& text, Retime retime) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'[') continue;
    const size_t length = well_formed_tag_length(text, i);
    if (length == 0) continue;
    write_tag_time(text, i, length, retime(tag_time_ms(text, i, length)));
    i += length - 1;
  }
}

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool line_break_at(const std::u16string& text, size_t i) {
  return i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n';
}

}  // namespace

void shift_timetags(std::u16string& text, int32_t shift_units) {
  const int64_t shift_ms = int64_t{shift_units} * 10;
  retime_tags(text, [shift_ms](int64_t ms) { return ms + shift_ms; });
}

void scale_timetags(std::u16string& text, float scale_factor) {
  if (!std::isfinite(scale_factor)) return;
  const long double factor = scale_factor;
  retime_tags(text, [factor](int64_t ms) {
    // Clamped before the conversion: a huge factor must not overflow the integer.
    const long double product = std::trunc(static_cast<long double>(ms) * factor);
    return static_cast<int64_t>(std::clamp<long double>(product, 0, kLatestTagMs));
  });
}

void tags_to_long(std::u16string& text) {
  constexpr size_t kGrowth = kLongTagLength - kShortTagLength;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'[') continue;
    const size_t length = well_formed_tag_length(text, i);
    if (length == kShortTagLength) {
      // Cutting the tail to make room would lose the user's lyrics for a form change that
      // carries no information, so the remaining tags simply stay short.
      if (text.size() + kGrowth > kLongTagsTextLimit) return;
      text.insert(i + kShortTagLength - 1, u":00");
    }
    if (length != 0) i += kLongTagLength - 1;
  }
}

void tags_to_short(std::u16string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'[') continue;
    const size_t length = well_formed_tag_length(text, i);
    if (length == kLongTagLength) text.erase(i + kShortTagLength - 1, kLongTagLength - kShortTagLength);
    if (length != 0) i += kShortTagLength - 1;
  }
}

void insert_line_breaks(std::u16string& text, int32_t width, bool skip_tags) {
  if (width < kMinLineBreakWidth || width > kMaxLineBreakWidth) return;
  size_t i = 0;
  int32_t count = 0;
  while (i < text.size() && i <= kLineBreakScanLimit) {
    if (count >= width) {
      if (!line_break_at(text, i)) {
        if (text.size() > kLineBreakScanLimit) return;
        text.insert(i, u"\r\n");
      }
      count = 0;
    }
    // Tags and line ends are stepped over together and as often as they follow each other, so
    // neither a tag right after a line end nor the second of two adjacent tags is counted,
    // and a break can never land inside a tag.
    for (;;) {
      if (const size_t length = skip_tags ? well_formed_tag_length(text, i) : 0) {
        i += length;
      } else if (line_break_at(text, i)) {
        i += 2;
        count = 0;
      } else {
        break;
      }
    }
    if (i >= text.size()) return;
    // Only a real pair moves two units: a lone high surrogate in front of a line end must not
    // carry the scan into the middle of that line end.
    const bool pair = is_high_surrogate(text[i]) && i + 1 < text.size() &&
                      is_low_surrogate(text[i + 1]);
    i += pair ? 2 : 1;
    ++count;
  }
}

}  // namespace sabla
