#pragma once
#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>

#include "lyrics/text_measure.h"

namespace sabla {

// A measurer without a platform: every character is `char_width` pixels wide and a line is
// `line_height` high; chosen characters get a trailing overhang. For tests and fuzzing.
class FixedWidthMeasurer final : public TextMeasurer {
 public:
  explicit FixedWidthMeasurer(int32_t char_width = 10, int32_t line_height = 20)
      : char_width_(char_width), line_height_(line_height) {}

  Rect calc_rect(const char16_t* text, int count) override {
    ++calls_;
    const int64_t width = static_cast<int64_t>(std::max(count, 0)) * char_width_;
    return Rect{0, 0,
                static_cast<int32_t>(std::min<int64_t>(width, std::numeric_limits<int32_t>::max())),
                line_height_};
  }

  int trailing_overhang(char16_t ch) override {
    const auto it = overhangs_.find(ch);
    return it == overhangs_.end() ? 0 : it->second;
  }

  void set_overhang(char16_t ch, int overhang) { overhangs_[ch] = overhang; }
  // How often a text was measured, so tests can tell whether measuring happened.
  int calls() const { return calls_; }

 private:
  int32_t char_width_;
  int32_t line_height_;
  std::map<char16_t, int> overhangs_;
  int calls_ = 0;
};

}  // namespace sabla
