#include "settings/display_item.h"

#include <algorithm>
#include <limits>

namespace sabla {
namespace {

// Offsets and sizes come straight from the settings file, so the sums are taken in 64 bits and
// saturated: a hostile file must not overflow, and a sane one never comes near the limits.
int32_t saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

struct Span {
  int32_t low;
  int32_t high;
};

// One axis of the rectangle rule: `extent` is the drawing area's width or height.
Span place_axis(int64_t extent, int32_t align, int32_t mode, int64_t offset, int64_t size) {
  switch (mode) {
    case 0:
      return {saturate(offset), saturate(extent - size)};
    case 1:
      if (align == 1) return {saturate(extent - offset - size), saturate(extent - offset)};
      if (align == 2) {
        const int64_t middle = extent / 2;
        return {saturate(middle + offset), saturate(middle + offset + size)};
      }
      return {saturate(offset), saturate(offset + size)};
    case 2:
      return {saturate(offset), saturate(offset + size)};
    default:
      return {saturate(extent - offset - size), saturate(extent - offset)};
  }
}

}  // namespace

void DisplayItem::place(int32_t w, int32_t h) {
  const Span x = place_axis(w, align_h, size_mode_h, offset_x, size_x);
  const Span y = place_axis(h, align_v, size_mode_v, offset_y, size_y);
  rect = Rect{x.low, y.low, x.high, y.high};
}

}  // namespace sabla
