#pragma once
#include <cstdint>

namespace sabla {

// Same field order and widths as a Win32 RECT, so the Win32 layer can copy one into the other.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace sabla
