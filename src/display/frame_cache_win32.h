#pragma once
// What the frame renderer keeps from one frame to the next while the window is shown.
#include "display/dots_visualizer_win32.h"
#include "display/lyric_lines_cache_win32.h"
#include "state/window_drawing_win32.h"

namespace sabla {

struct FrameCache {
  DotsScaling dots;
  LyricLinesCache lyrics;
};

// The window's frame cache, made on first use; it goes with the window's drawing at "hide".
FrameCache& frame_cache(WindowDrawing& drawing);

}  // namespace sabla
