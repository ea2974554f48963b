#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sabla {

// The two ways a timetag is written: [mm:ss:cc] (cc = hundredths of a second) and [mm:ss].
enum class TagForm { kLong = 0, kShort = 1 };

inline constexpr size_t kLongTagLength = 10;  // [mm:ss:cc]
inline constexpr size_t kShortTagLength = 7;  // [mm:ss]

// The largest time a tag can hold: [99:99:99], since the seconds field is never range checked.
inline constexpr int32_t kMaxTagTimeMs = 99 * 60000 + 99 * 1000 + 99 * 10;

// The setting `input_timetag_digit`: 0 writes the long form, anything else the short one.
constexpr TagForm tag_form_for(int32_t input_timetag_digit) {
  return input_timetag_digit == 0 ? TagForm::kLong : TagForm::kShort;
}

// A formatted tag, held in place like the fixed tag fields of a lyric line.
class TagText {
 public:
  std::u16string_view view() const { return {units_.data(), length_}; }
  size_t size() const { return length_; }
  bool empty() const { return length_ == 0; }

  static TagText from(std::u16string_view text);

 private:
  std::array<char16_t, kLongTagLength + 1> units_{};
  size_t length_ = 0;
};

// Length of the well-formed tag starting at `pos` ([dd:dd:dd] or [dd:dd], ASCII digits only):
// kLongTagLength, kShortTagLength, or 0 when none starts there.
size_t well_formed_tag_length(std::u16string_view text, size_t pos);

// The time of a tag at the very start of `text` in milliseconds, or -1. More lenient than
// well-formedness: the hundredths are read like a C leading integer and the character in front
// of them is not checked, so "[01:02.50]" reads as 62500 ms. The result may be negative for
// hundredths such as "-5"; any negative value means "no time".
int32_t parse_leading_tag(std::u16string_view text);

// `ms` in the given form; a negative time gives "[--:--:--]" or "[--:--]". The last digit of the
// milliseconds is dropped. Minutes past 99 move into the seconds field ([99:99] reads back as the
// same time), and anything beyond kMaxTagTimeMs is written as the largest tag.
TagText format_tag(int32_t ms, TagForm form);

// `line` with its well-formed tags cut out. Step k looks for the first '[' at or after position k
// of the text as it stands then and removes the tag there if it is well formed; so a tag pulled
// in front of the scan position by an earlier removal stays ("[00:01:00][00:02:00]abc" keeps
// "[00:02:00]abc").
std::u16string strip_tags(std::u16string_view line);

}  // namespace sabla
