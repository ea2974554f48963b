#include "ui/design_values.h"

#include <algorithm>
#include <limits>

#include "settings/display_items.h"

namespace sabla {
namespace {

bool is_space(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view trimmed(std::u16string_view text) {
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

DesignEnables design_enables(int entry) {
  DesignEnables enables;
  enables.font = entry >= 0 && entry <= kLyricsEntry;
  enables.line_spacing = entry == kLyricsEntry;
  enables.colour = entry >= 0 && entry < kArtworkEntry;
  enables.playing_colours = entry == kLyricsEntry;
  return enables;
}

int32_t field_number(std::u16string_view text) {
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  // Counted in 64 bits and stopped at the first digit past the 32-bit range.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return 0;
    magnitude = std::min(magnitude * 10 + (c - u'0'), kLimit);
  }
  const int64_t value = negative ? -magnitude : magnitude;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

FieldValue at_least_one(std::u16string_view text) {
  const int32_t value = field_number(text);
  if (value < kMinFontSize) return {kMinFontSize, true};
  return {value, false};
}

FieldValue dot_count(std::u16string_view text) {
  const int32_t value = field_number(text);
  if (value > kMaxDotCount) return {kMaxDotCount, true};
  return {value, false};
}

int32_t kept_line_spacing(int32_t typed, int32_t lyrics_font_size) {
  return std::max({typed, lyrics_font_size, kMinFontSize});
}

bool offered_face(std::u16string_view face) {
  return !face.empty() && face.front() != u'@' && face.find(u',') == std::u16string_view::npos &&
         face.size() <= kMaxItemText;
}

std::u16string number_text(int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace sabla
