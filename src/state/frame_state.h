#pragma once
#include <array>
#include <cstdint>

namespace sabla {

struct Size {
  int32_t width = 0;
  int32_t height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

// The rotating dots: their colour bounces between bounds, their angle turns, and they live for
// the whole life of the plug-in.
struct VisualizerState {
  int32_t dot_red = 50;
  int32_t dot_green = 70;
  int32_t dot_blue = 80;
  int32_t dot_red_step = 1;
  int32_t dot_green_step = 1;
  int32_t dot_blue_step = -1;
  int32_t colour_phase = 0;  // 0 to 6: which component changes in a frame
  double rotation_angle = 0.0;
};

// What the frame renderer keeps between frames, and what it leaves for the click handling.
struct FrameState {
  VisualizerState visualizer;
  uint32_t last_frame_ms = 0;
  int32_t level_peak = 0;  // the largest doubled level seen; scales the orbit radius
  std::array<int32_t, 2> indicator_previous{};
  // Frames drawn with an empty panel while the hint may show; never reset, so the hint waits
  // only once in the plug-in's life.
  int32_t hint_frames = 0;
  std::array<bool, 8> search_link_marks{};  // the mouse is over that search link
  bool option_button_request = false;       // the mouse is over "OPTION"

  // The loaded artwork image's size (0 x 0: none) and the size it is cached at for drawing.
  Size artwork_size;
  Size artwork_cache_size;
};

}  // namespace sabla
