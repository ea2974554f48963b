#include "settings/settings_text.h"

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

std::u16string_view single_line(std::u16string_view text) {
  const size_t end = text.find_first_of(std::u16string_view(u"\r\n\0", 3));
  return end == std::u16string_view::npos ? text : text.substr(0, end);
}

std::vector<std::u16string_view> split_lines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t lf = text.find(u'\n', start);
    if (lf == std::u16string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  return lines;
}

void append_number(std::u16string& out, int64_t value) {
  const std::string digits = std::to_string(value);
  out.append(digits.begin(), digits.end());
}

std::u16string cut_text(std::u16string_view text, size_t max_chars) {
  return std::u16string(text.substr(0, max_chars));
}

}  // namespace sabla
