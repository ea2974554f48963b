#include "display/frame_surfaces_win32.h"

#include <algorithm>

#include "display/dib_section_win32.h"
#include "display/dots_visualizer.h"
#include "state/plugin_state.h"

namespace sabla {
namespace {

constexpr MemoryDcRole kRendererRoles[] = {MemoryDcRole::kFrame, MemoryDcRole::kFeedback,
                                           MemoryDcRole::kCanvas};

// A picture the renderer draws both with GDI and with its own loops, so it keeps the pixels
// next to the surface.
void set_surface(WindowDrawing& drawing, MemoryDcRole role, Size size) {
  const auto index = static_cast<size_t>(role);
  // The old bitmap must be out of the context before the new one goes in, or putting the
  // context's original bitmap back would push the new one out again.
  drawing.surfaces[index].reset();
  drawing.pixels[index] = SurfacePixels{};
  uint32_t* bits = nullptr;
  HBITMAP bitmap = create_top_down_dib(drawing.window_dc.get(), size, &bits);
  if (!bitmap) return;
  drawing.surfaces[index] = SurfaceBitmap(drawing.memory_dcs[index].get(), bitmap);
  drawing.pixels[index] = SurfacePixels{bitmap, bits, size.width, size.height, size.width};
}

void make_frame_surfaces(WindowDrawing& drawing, const DrawingArea& area) {
  if (!drawing.window_dc.get()) return;
  const int width = std::max(area.width + 1, 1);
  const int height = std::max(area.height + 1, 1);
  set_surface(drawing, MemoryDcRole::kFrame, Size{width, height});
  set_surface(drawing, MemoryDcRole::kFeedback, Size{kFeedbackSide, kFeedbackSide});
  set_surface(drawing, MemoryDcRole::kCanvas, Size{kCanvasSide, kCanvasSide});
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
    for (const MemoryDcRole role : kRendererRoles) {
      drawing->surfaces[static_cast<size_t>(role)].reset();
      drawing->pixels[static_cast<size_t>(role)] = SurfacePixels{};
    }
  }
}

Pixels surface_pixels(const WindowDrawing& drawing, MemoryDcRole role) {
  const auto index = static_cast<size_t>(role);
  const SurfacePixels& p = drawing.pixels[index];
  // Pixels of a bitmap that has since been replaced would be freed memory.
  if (!p.bitmap || p.bitmap != drawing.surfaces[index].get()) return Pixels{};
  return Pixels{p.bits, p.width, p.height, p.stride};
}

}  // namespace sabla
