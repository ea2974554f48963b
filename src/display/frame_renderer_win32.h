#pragma once
#include <windows.h>

#include "lyrics/rect.h"

namespace sabla {

struct PluginState;

// Draws one frame of the visualizer area into the frame surface and copies it to the window at
// `drawing`'s top-left corner: the background (a plain colour, or the dots when they are on and
// neither timetags are being edited nor the window has just changed), the display items in
// their drawing order, and the overlay. Nothing without a window or a frame surface.
void render_frame(PluginState& state, HWND window, const Rect& drawing);

}  // namespace sabla
