#pragma once
#include <windows.h>

#include <string>

#include "lyrics/rect.h"

namespace sabla {

struct PluginState;

// Draws one frame of the visualizer area into the frame surface and copies it to the window at
// `drawing`'s top-left corner: the background (a plain colour, or the dots when they are on and
// neither timetags are being edited nor the window has just changed), the display items in
// their drawing order, and the overlay. Nothing without a window or a frame surface.
void render_frame(PluginState& state, HWND window, const Rect& drawing);

// The text a text item shows: the counter, year, rating and track/disc counts are made from the
// song and the clock, the other items show the texts taken from the player.
std::u16string frame_item_text(const PluginState& state, int index);

}  // namespace sabla
