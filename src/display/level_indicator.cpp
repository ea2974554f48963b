#include "display/level_indicator.h"

namespace sabla {
namespace {

constexpr int32_t kMaxFall = 16;
constexpr int32_t kMaxRise = 32;
constexpr double kFullScale = 255.0;

int32_t part(int32_t side, int32_t value) {
  return static_cast<int32_t>(static_cast<double>(side) * value / kFullScale);
}

}  // namespace

int32_t indicator_value(uint8_t level, bool playing) { return playing ? 2 * level : 0; }

void raise_level_peak(int32_t& level_peak, int32_t value) {
  if (level_peak < 2 * value) level_peak = 2 * value;
  if (level_peak == 0) level_peak = 1;
}

int32_t indicator_step(int32_t value, int32_t previous) {
  if (value < previous - kMaxFall) return previous - kMaxFall;
  if (value > previous + kMaxRise) return previous + kMaxRise;
  return value;
}

Rect indicator_bar(const Rect& item, int32_t direction, int32_t value) {
  Rect bar = item;
  const int32_t w = item.right - item.left;
  const int32_t h = item.bottom - item.top;
  switch (direction) {
    case 1:
      bar.right = item.left + part(w, value);
      break;
    case 2:
      bar.bottom = item.top + part(h, value);
      break;
    case 3:
      bar.left = item.right - part(w, value);
      break;
    default:
      bar.top = item.bottom - part(h, value);
      break;
  }
  return bar;
}

}  // namespace sabla
