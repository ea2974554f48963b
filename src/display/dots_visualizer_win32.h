#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "display/dots_visualizer.h"
#include "display/pixel_scaling.h"
#include "state/window_state.h"

namespace sabla {

// The surfaces the dots are drawn with: the canvas through GDI (the dots and the centre disc)
// and all three in memory (the trails, the shrink and the last copy).
struct VisualizerSurfaces {
  HDC canvas_dc = nullptr;
  Pixels frame;
  Pixels feedback;  // the last picture, 64 x 64
  Pixels canvas;    // 256 x 256
};

// The scaling maps of the dots' three copies, made again only when what they scale changes.
struct DotsScaling {
  int32_t trails_expansion = 0;
  BoxScaler trails;
  BoxScaler shrink;
  NearestScaler last_copy;
  std::vector<uint32_t> scratch;
};

// Draws one picture of the dots as the frame's background: the last picture zoomed by the
// expansion as trails, the black centre disc, the dots on their orbit of `radius`, then the
// picture shrunk as the next frame's trails and copied over the whole drawing area with the
// area's proportions. Moves the colour on by one phase.
void draw_dots_visualizer(const VisualizerSurfaces& surfaces, DotsScaling& scaling,
                          VisualizerState& state, const VisualizerSettings& settings, double radius,
                          const DrawingArea& area);

}  // namespace sabla
