#pragma once
#include <windows.h>

#include "display/dots_visualizer.h"
#include "state/window_state.h"

namespace sabla {

// The surfaces the dots are drawn with.
struct VisualizerSurfaces {
  HDC frame = nullptr;
  HDC feedback = nullptr;  // the last picture, 64 x 64
  HDC canvas = nullptr;    // 256 x 256
};

// Draws one picture of the dots as the frame's background: the last picture zoomed by the
// expansion as trails, the black centre disc, the dots on their orbit of `radius`, then the
// picture shrunk as the next frame's trails and copied over the whole drawing area with the
// area's proportions. Moves the colour on by one phase.
void draw_dots_visualizer(const VisualizerSurfaces& surfaces, VisualizerState& state,
                          const VisualizerSettings& settings, double radius,
                          const DrawingArea& area);

}  // namespace sabla
