#include "display/dots_visualizer.h"

#include <algorithm>
#include <cmath>

#include "settings/display_items.h"

namespace sabla {
namespace {

void bounce(int32_t value, int32_t low, int32_t high, int32_t& step) {
  if (value <= low || value >= high) step = -step;
}

}  // namespace

VisualizerSettings visualizer_settings(const std::array<int32_t, 6>& setting) {
  return {setting[0] == 1, setting[1], setting[2], setting[3], setting[4], setting[5]};
}

void bounce_dot_colours(VisualizerState& v) {
  bounce(v.dot_red, 10, 80, v.dot_red_step);
  bounce(v.dot_green, 40, 100, v.dot_green_step);
  bounce(v.dot_blue, 50, 120, v.dot_blue_step);
}

void step_colour_phase(VisualizerState& v) {
  switch (v.colour_phase) {
    case 0:
      v.dot_red += v.dot_red_step;
      break;
    case 2:
      v.dot_green += v.dot_green_step;
      break;
    case 4:
      v.dot_blue += v.dot_blue_step;
      break;
    default:
      break;
  }
  v.colour_phase = v.colour_phase >= 6 ? 0 : v.colour_phase + 1;
}

uint32_t dot_colour(const VisualizerState& v) {
  // make_color keeps the low 8 bits, which is the component modulo 256.
  return make_color(v.dot_red, v.dot_green, v.dot_blue);
}

double orbit_radius(int32_t max_radius, int32_t left, int32_t right, int32_t& level_peak) {
  if (level_peak == 0) level_peak = 1;
  const double r = max_radius;
  return r + 19.0 - r * (static_cast<double>(left) + right) / level_peak;
}

void turn_dots(VisualizerState& v, int32_t rotation_speed) {
  v.rotation_angle += rotation_speed * 0.001;
  if (v.rotation_angle > kFullTurn) v.rotation_angle -= kFullTurn;
}

double dot_angle(int32_t i, int32_t count, double rotation_angle) {
  return kFullTurn / count * i + rotation_angle;
}

DotBox dot_box(double radius, double angle, int32_t dot_size) {
  // A hand-edited settings file may hold any number; far beyond the canvas every dot is clipped
  // the same, and the sums below stay inside 32 bits.
  constexpr int32_t kFarOff = 1 << 20;
  dot_size = std::clamp(dot_size, -kFarOff, kFarOff);
  radius = std::isfinite(radius) ? std::clamp(radius, -1.0 * kFarOff, 1.0 * kFarOff) : 0.0;
  const int32_t a = dot_size / 2;
  const int32_t b = dot_size % 2 != 0 ? a + 1 : a;
  const auto x = static_cast<int32_t>(radius * std::sin(angle));
  const auto y = static_cast<int32_t>(radius * std::cos(angle));
  const int32_t middle = kCanvasSide / 2;
  return {Rect{x - a + middle, y - a + middle, x + b + middle, y + b + middle}, b > 1};
}

std::optional<Rect> centre_disc_box(int32_t expansion) {
  if (expansion > 0) return Rect{111, 111, 145, 145};
  if (expansion < -4) return std::nullopt;
  const int32_t grow = -3 * expansion;
  return Rect{111 - grow, 111 - grow, 145 + grow, 145 + grow};
}

std::optional<Rect> feedback_source(int32_t expansion) {
  // An expansion of half the side or more would leave an empty or mirrored square.
  if (expansion >= kFeedbackSide / 2) return std::nullopt;
  const int32_t side = kFeedbackSide - 2 * expansion;
  return Rect{expansion, expansion, expansion + side, expansion + side};
}

Rect canvas_crop(int32_t width, int32_t height) {
  const double w = width < 1 ? 1 : width;
  const double h = height < 1 ? 1 : height;
  if (w > h) {
    const auto s = static_cast<int32_t>(h / w * kCanvasSide);
    const int32_t top = (kCanvasSide - s) / 2;
    return Rect{0, top, kCanvasSide, top + s};
  }
  const auto s = static_cast<int32_t>(w / h * kCanvasSide);
  const int32_t left = (kCanvasSide - s) / 2;
  return Rect{left, 0, left + s, kCanvasSide};
}

}  // namespace sabla
