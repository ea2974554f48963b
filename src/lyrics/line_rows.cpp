#include "lyrics/line_rows.h"

#include <algorithm>
#include <limits>

namespace sabla {
namespace {

// Rectangles and sizes come from the settings file, so sums are taken in 64 bits and saturated.
int32_t saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t count_rows(const Rect& item, int32_t line_spacing, std::span<LineSlot> slots) {
  // A pitch below one pixel would stack every row on the first; the settings never give one.
  const int64_t pitch = std::max(line_spacing, 1);
  int32_t rows = 0;
  bool full = false;
  for (LineSlot& slot : slots) {
    const int64_t top = item.top + rows * pitch;
    // Rows left over from a taller item are cleared too, so no stale box remains.
    if (full || top >= item.bottom) {
      full = true;
      slot.box = Rect{};
      continue;
    }
    slot.box = Rect{item.left, static_cast<int32_t>(top), item.right,
                    static_cast<int32_t>(std::min<int64_t>(top + pitch, item.bottom))};
    ++rows;
  }
  return rows;
}

Rect place_row_text(const Rect& box, const Rect& item, int32_t width, int32_t font_size,
                    int32_t align_h, int32_t align_v) {
  const int64_t w = width;
  const int64_t h = font_size;
  int64_t left = 0;
  int64_t right = 0;
  if (align_h == 1) {
    right = box.right;
    left = right - w;
  } else if (align_h == 2) {
    left = box.left + (static_cast<int64_t>(box.right) - box.left) / 2 - w / 2;
    right = left + w;
  } else {
    left = box.left;
    right = left + w;
  }
  left = std::min<int64_t>(left, item.right);
  right = std::min<int64_t>(right, item.right);

  int64_t base = 0;
  if (align_v == 1) {
    base = box.bottom;
  } else if (align_v == 2) {
    base = box.top + (static_cast<int64_t>(box.bottom) - box.top) / 2 + h - h / 2;
  } else {
    base = box.top + h;
  }
  const int64_t top = std::min<int64_t>(base - h, item.bottom);
  const int64_t bottom = std::min<int64_t>(base, item.bottom);
  return Rect{saturate(left), saturate(top), saturate(right), saturate(bottom)};
}

}  // namespace sabla
