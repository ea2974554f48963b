#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "state/frame_state.h"
#include "lyrics/rect.h"

namespace sabla {

// The dots are drawn on a fixed canvas whatever the window size; only the last copy stretches.
inline constexpr int32_t kCanvasSide = 256;
inline constexpr int32_t kFeedbackSide = 64;
inline constexpr double kFullTurn = 6.283185307;

// The six numbers of the `visualizer` setting, by name.
struct VisualizerSettings {
  bool shown = false;
  int32_t max_radius = 0;
  int32_t expansion = 0;  // feedback zoom per frame: positive drifts the trails outward
  int32_t rotation_speed = 0;
  int32_t dot_count = 0;
  int32_t dot_size = 0;
};
VisualizerSettings visualizer_settings(const std::array<int32_t, 6>& setting);

// Each colour component bounces between its bounds: red 10 to 80, green 40 to 100, blue 50 to
// 120. A component at or past a bound turns its step around.
void bounce_dot_colours(VisualizerState& v);
// Changes one component in the frames of phase 0 (red), 2 (green) and 4 (blue), then moves the
// phase on (0 to 6), so the colour drifts slowly.
void step_colour_phase(VisualizerState& v);
// The dots' colour, each component modulo 256, as a COLORREF.
uint32_t dot_colour(const VisualizerState& v);

// The dots' orbit: loud music (the indicators' last values `left` and `right`, against the
// loudest seen, `level_peak`) pulls them in from `max_radius` + 19. A `level_peak` of 0 becomes 1.
double orbit_radius(int32_t max_radius, int32_t left, int32_t right, int32_t& level_peak);

// Turns the dots by `rotation_speed` thousandths of a radian; past a full turn, one turn comes
// off.
void turn_dots(VisualizerState& v, int32_t rotation_speed);

// Dot `i` of `count`, spread evenly around the circle and turned by `rotation_angle`.
double dot_angle(int32_t i, int32_t count, double rotation_angle);

// One dot's box on the canvas, centred on the canvas middle. Dots of size 1 and 2 are filled
// squares; larger ones are ellipses.
struct DotBox {
  Rect box;
  bool ellipse = false;
};
DotBox dot_box(double radius, double angle, int32_t dot_size);

// The black disc that hides the middle of the canvas, where the feedback zoom piles the trails
// up: fixed while the trails drift outward, growing as they drift inward, none when they drift
// inward fast (expansion below -4).
std::optional<Rect> centre_disc_box(int32_t expansion);

// The square of the 64 x 64 feedback picture that is stretched onto the whole canvas. Null when
// the expansion leaves no square at all.
std::optional<Rect> feedback_source(int32_t expansion);

// The part of the canvas that fills a drawing area of `width` x `height`: its middle band with
// the area's proportions. Sides below 1 count as 1.
Rect canvas_crop(int32_t width, int32_t height);

}  // namespace sabla
