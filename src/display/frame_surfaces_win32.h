#pragma once
#include <windows.h>

#include "display/pixel_scaling.h"
#include "state/window_drawing_win32.h"

namespace sabla {

struct PluginState;

// The frame renderer's surfaces for the shown window's drawing area: the frame, one pixel larger
// than the area each way (the copy to the window takes the extra row and column), and the
// 64 x 64 feedback and 256 x 256 canvas pictures of the dots. All three are 32-bit top-down DIB
// sections whose pixels the renderer writes itself as well as through GDI. Nothing while the
// window is hidden; a surface GDI refuses stays absent, and the renderer then draws nothing.
void create_frame_surfaces(PluginState& state);

// Frees the frame, feedback and canvas surfaces. The artwork surfaces stay: they belong to the
// song, and go with the window's drawing at "hide" or with the next song.
void release_frame_surfaces(PluginState& state);

// The pixels of the frame, feedback or canvas surface; none when the surface is absent or is no
// longer the bitmap they were taken from. Call GdiFlush() before reading or writing them after
// GDI drew.
Pixels surface_pixels(const WindowDrawing& drawing, MemoryDcRole role);

}  // namespace sabla
