#include "display/frame_surfaces_win32.h"

#include <algorithm>

#include "display/dib_section_win32.h"
#include "display/dots_visualizer.h"
#include "state/plugin_state.h"

namespace sabla {
namespace {

void set_surface(WindowDrawing& drawing, MemoryDcRole role, HBITMAP bitmap) {
  const auto index = static_cast<size_t>(role);
  // The old bitmap must be out of the context before the new one goes in, or putting the
  // context's original bitmap back would push the new one out again.
  drawing.surfaces[index].reset();
  if (bitmap) drawing.surfaces[index] = SurfaceBitmap(drawing.memory_dcs[index].get(), bitmap);
}

void make_frame_surfaces(WindowDrawing& drawing, const DrawingArea& area) {
  HDC window = drawing.window_dc.get();
  if (!window) return;
  const int width = std::max(area.width + 1, 1);
  const int height = std::max(area.height + 1, 1);
  set_surface(drawing, MemoryDcRole::kFrame, CreateCompatibleBitmap(window, width, height));
  set_surface(drawing, MemoryDcRole::kFeedback,
              create_dib_section(window, Size{kFeedbackSide, kFeedbackSide}));
  set_surface(drawing, MemoryDcRole::kCanvas,
              create_dib_section(window, Size{kCanvasSide, kCanvasSide}));
}

}  // namespace

void create_frame_surfaces(PluginState& state) {
  if (WindowDrawing* drawing = window_drawing(state)) {
    make_frame_surfaces(*drawing, state.window.drawing_area);
  }
}

void release_frame_surfaces(PluginState& state) {
  // The artwork is the song's, not the window's: it stays, and the next frame scales it to
  // the new size. Releasing it here left the cover away until the next song.
  if (WindowDrawing* drawing = window_drawing(state)) {
    for (const MemoryDcRole role :
         {MemoryDcRole::kFrame, MemoryDcRole::kFeedback, MemoryDcRole::kCanvas}) {
      drawing->surfaces[static_cast<size_t>(role)].reset();
    }
  }
}

}  // namespace sabla
