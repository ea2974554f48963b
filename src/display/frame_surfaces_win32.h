#pragma once
#include <windows.h>

#include "state/window_drawing_win32.h"

namespace sabla {

struct PluginState;

// The frame renderer's surfaces for the shown window's drawing area: the frame, compatible with
// the window and one pixel larger than the area each way (the copy to the window takes the
// extra row and column), and the 64 x 64 feedback and 256 x 256 canvas pictures of the dots.
// Nothing while the window is hidden; a surface GDI refuses stays absent, and the renderer
// then draws nothing.
void create_frame_surfaces(PluginState& state);

// Frees the frame, feedback and canvas surfaces. The artwork surfaces stay: they belong to the
// song, and go with the window's drawing at "hide" or with the next song.
void release_frame_surfaces(PluginState& state);

}  // namespace sabla
