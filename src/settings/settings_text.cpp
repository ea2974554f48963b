#include "settings/settings_text.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <string>

namespace sabla {

std::optional<std::u16string_view> TokenReader::next() {
  // The library searches, not a loop per unit: this runs over every unit of the file, and in
  // the instrumented builds a hand-written scan traces several comparisons per unit.
  const size_t start = text_.find_first_not_of(delimiters_, pos_);
  if (start == std::u16string_view::npos) {
    pos_ = text_.size();
    last_delimiter_ = 0;
    return std::nullopt;
  }
  const size_t end = std::min(text_.find_first_of(delimiters_, start), text_.size());
  const std::u16string_view token = text_.substr(start, end - start);
  if (end < text_.size()) {
    last_delimiter_ = text_[end];
    pos_ = end + 1;
  } else {
    last_delimiter_ = 0;
    pos_ = end;
  }
  return token;
}

int32_t parse_number(std::u16string_view text) {
  // Over the plain units: a file holds some four hundred numbers.
  const char16_t* c = text.data();
  const char16_t* const end = c + text.size();
  auto blank = [](char16_t u) { return u == u' ' || (u >= u'\t' && u <= u'\r'); };
  while (c != end && blank(*c)) ++c;
  bool negative = false;
  if (c != end && (*c == u'+' || *c == u'-')) {
    negative = *c == u'-';
    ++c;
  }
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t value = 0;
  for (; c != end && *c >= u'0' && *c <= u'9'; ++c) {
    value = value * 10 + (*c - u'0');
    if (value > kLimit) value = kLimit;  // saturate, but keep reading the digits
  }
  if (negative) return static_cast<int32_t>(-value);
  return static_cast<int32_t>(value == kLimit ? kLimit - 1 : value);
}

std::u16string_view single_line(std::u16string_view text) {
  constexpr char16_t kEnds[] = {u'\r', u'\n', u'\0'};
  return text.substr(0, text.find_first_of(kEnds, 0, 3));
}

std::vector<std::u16string_view> split_lines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  for (size_t lf = text.find(u'\n'); lf != std::u16string_view::npos;
       lf = text.find(u'\n', start)) {
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void append_number(std::u16string& out, int64_t value) {
  // Written backwards into a local buffer: a file holds a few hundred numbers, and a string
  // made for each would cost more than the digits.
  char16_t digits[20];
  size_t start = std::size(digits);
  // The magnitude in unsigned arithmetic, so the most negative value has one too.
  uint64_t rest = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits[--start] = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (value < 0) out += u'-';
  out.append(digits + start, std::size(digits) - start);
}

std::u16string cut_text(std::u16string_view text, size_t max_chars) {
  return std::u16string(text.substr(0, max_chars));
}

}  // namespace sabla
