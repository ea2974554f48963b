#include "settings/settings_text.h"

#include <iterator>
#include <limits>
#include <string>

namespace sabla {

std::optional<std::u16string_view> TokenReader::next() {
  while (pos_ < text_.size() && is_delimiter(text_[pos_])) ++pos_;
  if (pos_ >= text_.size()) {
    last_delimiter_ = 0;
    return std::nullopt;
  }
  const size_t start = pos_;
  while (pos_ < text_.size() && !is_delimiter(text_[pos_])) ++pos_;
  const std::u16string_view token = text_.substr(start, pos_ - start);
  if (pos_ < text_.size()) {
    last_delimiter_ = text_[pos_];
    ++pos_;
  } else {
    last_delimiter_ = 0;
  }
  return token;
}

int32_t parse_number(std::u16string_view text) {
  size_t i = 0;
  auto blank = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
  while (i < text.size() && blank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > kLimit) value = kLimit;  // saturate, but keep reading the digits
  }
  if (negative) return static_cast<int32_t>(-value);
  return static_cast<int32_t>(value == kLimit ? kLimit - 1 : value);
}

// The scans below are plain loops over the units: they run over every unit of every file read
// and written, and the general searches cost several times as much for the same answer.

std::u16string_view single_line(std::u16string_view text) {
  size_t end = 0;
  while (end < text.size() && text[end] != u'\r' && text[end] != u'\n' && text[end] != u'\0') {
    ++end;
  }
  return text.substr(0, end);
}

std::vector<std::u16string_view> split_lines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  const char16_t* const data = text.data();
  const size_t size = text.size();
  size_t start = 0;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] != u'\n') continue;
    lines.emplace_back(data + start, i - start);
    start = i + 1;
  }
  if (start < size) lines.emplace_back(data + start, size - start);
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
