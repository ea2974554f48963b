#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sabla {

// Splits a value line the way the settings file has always been read: runs of delimiters
// separate tokens, so empty tokens never appear.
class TokenReader {
 public:
  TokenReader(std::u16string_view text, std::u16string_view delimiters)
      : text_(text), delimiters_(delimiters) {}

  std::optional<std::u16string_view> next();
  // The delimiter that ended the last token (0 when the text ended), and the text behind it.
  char16_t last_delimiter() const { return last_delimiter_; }
  std::u16string_view rest() const { return text_.substr(pos_); }

 private:
  std::u16string_view text_;
  std::u16string_view delimiters_;
  size_t pos_ = 0;
  char16_t last_delimiter_ = 0;
};

inline constexpr std::u16string_view kValueDelimiters = u",\r\n";

// A decimal number as the C runtime's _wtol reads it: leading blanks, a sign, digits; text that
// is not a number gives 0 and a value out of range saturates.
int32_t parse_number(std::u16string_view text);

// The text up to its first CR, LF or NUL: what fits on one line of the file.
std::u16string_view single_line(std::u16string_view text);

// The lines of a file image, split at LF (the LF itself not included). A last line without LF
// counts; an empty remainder after the last LF does not.
std::vector<std::u16string_view> split_lines(std::u16string_view text);

void append_number(std::u16string& out, int64_t value);
// The first `max_chars` characters of `text`.
std::u16string cut_text(std::u16string_view text, size_t max_chars);

}  // namespace sabla
