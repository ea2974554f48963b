#include "ui/tool_fields.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

namespace sabla {
namespace {

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool is_c_space(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// Appends decimal digits to a magnitude that stops growing at `cap`, so no digit string wraps.
int64_t saturating_digits(std::u16string_view digits, int64_t cap) {
  int64_t value = 0;
  for (char16_t c : digits) value = std::min<int64_t>(value * 10 + (c - u'0'), cap);
  return value;
}

size_t count_digits(std::u16string_view text, size_t from) {
  size_t end = from;
  while (end < text.size() && is_digit(text[end])) ++end;
  return end - from;
}

// A decimal number as written in the scale box, taken apart.
struct DecimalText {
  bool negative = false;
  std::string ascii;  // what std::from_chars reads: digits, ".", exponent; no sign
  int64_t leading_order = 0;  // the power of ten of the first non-zero digit
};

// The whole `text` as one decimal number with optional white space around it, or nothing.
std::optional<DecimalText> read_decimal(std::u16string_view text) {
  DecimalText number;
  size_t i = 0;
  while (i < text.size() && is_c_space(text[i])) ++i;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) number.negative = text[i++] == u'-';

  const size_t whole_digits = count_digits(text, i);
  size_t fraction_digits = 0;
  int64_t first_nonzero = -1;  // index among all mantissa digits
  const auto take_digits = [&](size_t from, size_t count, size_t index_base) {
    for (size_t k = 0; k < count; ++k) {
      const char16_t c = text[from + k];
      number.ascii.push_back(static_cast<char>(c));
      if (c != u'0' && first_nonzero < 0) first_nonzero = static_cast<int64_t>(index_base + k);
    }
  };
  take_digits(i, whole_digits, 0);
  i += whole_digits;
  if (i < text.size() && text[i] == u'.') {
    number.ascii.push_back('.');
    fraction_digits = count_digits(text, ++i);
    take_digits(i, fraction_digits, whole_digits);
    i += fraction_digits;
  }
  if (whole_digits + fraction_digits == 0) return std::nullopt;

  int64_t exponent = 0;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    size_t j = i + 1;
    bool negative_exponent = false;
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
      negative_exponent = text[j++] == u'-';
    }
    const size_t exponent_digits = count_digits(text, j);
    if (exponent_digits == 0) return std::nullopt;  // "1e" or "1e+": trailing letters
    exponent = saturating_digits(text.substr(j, exponent_digits), 1'000'000'000);
    if (negative_exponent) exponent = -exponent;
    number.ascii += negative_exponent ? "e-" : "e";
    for (size_t k = 0; k < exponent_digits; ++k) number.ascii.push_back(static_cast<char>(text[j + k]));
    i = j + exponent_digits;
  }
  while (i < text.size() && is_c_space(text[i])) ++i;
  if (i != text.size()) return std::nullopt;

  if (first_nonzero >= 0) {
    number.leading_order = static_cast<int64_t>(whole_digits) - 1 - first_nonzero + exponent;
  }
  return number;
}

// The value of a number read by read_decimal; out-of-range magnitudes become infinity or zero.
double decimal_value(const DecimalText& number) {
  double magnitude = 0;
  const char* first = number.ascii.data();
  const char* last = first + number.ascii.size();
  const auto [end, error] = std::from_chars(first, last, magnitude, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    magnitude = number.leading_order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc() || end != last) {
    magnitude = 0;  // read_decimal passes nothing from_chars would refuse
  }
  return number.negative ? -magnitude : magnitude;
}

}  // namespace

ToolFieldResult read_shift_field(std::u16string_view text) {
  std::u16string field(text);
  if (const size_t comma = field.find(u','); comma != std::u16string::npos) field.erase(comma, 1);

  size_t i = 0;
  bool negative = false;
  if (i < field.size() && (field[i] == u'+' || field[i] == u'-')) negative = field[i++] == u'-';
  const size_t digits = count_digits(field, i);
  if (digits == 0 || i + digits != field.size()) return ToolFieldResult::stay_open();

  const int64_t magnitude = saturating_digits(std::u16string_view(field).substr(i), kMaxShiftUnits + 1);
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > kMaxShiftUnits) return ToolFieldResult::replace(u"1000");
  if (value < kMinShiftUnits) return ToolFieldResult::replace(u"-1000");
  return ToolFieldResult::accept(static_cast<double>(value));
}

ToolFieldResult read_line_break_field(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && is_c_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
  // One more on the negative side, so the saturated value is INT32_MIN as the C runtime gives.
  const int64_t magnitude = saturating_digits(text.substr(i, count_digits(text, i)), kLargest + 1);
  const int64_t value = negative ? -magnitude : std::min(magnitude, kLargest);
  return ToolFieldResult::accept(static_cast<double>(value));
}

ToolFieldResult read_scale_field(std::u16string_view text) {
  const std::optional<DecimalText> number = read_decimal(text);
  if (!number) return ToolFieldResult::stay_open();
  // Clamped first, so the narrowing to float never meets a value beyond its range.
  const double value = std::clamp(decimal_value(*number), -4.0, 4.0);
  const float factor = static_cast<float>(value);
  if (factor > kMaxScaleFactor) return ToolFieldResult::replace(u"2.0");
  if (factor < kMinScaleFactor) return ToolFieldResult::replace(u"0.0");
  return ToolFieldResult::accept(factor);
}

}  // namespace sabla
