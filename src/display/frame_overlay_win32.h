#pragma once
#include <windows.h>

namespace sabla {

struct PluginState;

// The overlay over the items, in the information font: the version caption until a track is
// known, the panel's mode word and key help on the bottom line, the status message (counted
// down by one frame), the unsaved-edits mark, and, when the window is not full screen, the
// search links of an empty panel and the "OPTION" button. Notes which link or whether the
// button is under the mouse, for the click handling; neither is ever noted while not drawn.
void draw_frame_overlay(PluginState& state, HDC dc);

}  // namespace sabla
