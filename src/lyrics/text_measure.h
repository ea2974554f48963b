#pragma once
#include <cstddef>

#include "lyrics/rect.h"

namespace sabla {

// How the lyrics core asks the platform for text sizes. The Win32 implementation holds a device
// context with the lyrics font selected; tests use a fixed-width one.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Extent of `count` characters laid out on one line, starting from a zeroed rectangle
  // (DrawTextW with DT_CALCRECT and no other flag).
  virtual Rect calc_rect(const char16_t* text, int count) = 0;
  // The C width (trailing overhang) of one character; may be negative.
  virtual int trailing_overhang(char16_t ch) = 0;
};

}  // namespace sabla
