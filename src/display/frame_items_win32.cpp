#include "display/frame_items_win32.h"

#include "display/artwork_placement.h"
#include "display/dib_section_win32.h"
#include "display/level_indicator.h"
#include "state/gdi_handles_win32.h"
#include "state/plugin_state.h"
#include "state/window_drawing_win32.h"

namespace sabla {
namespace {

SurfaceBitmap& surface(WindowDrawing& drawing, MemoryDcRole role) {
  return drawing.surfaces[static_cast<size_t>(role)];
}

HDC context(WindowDrawing& drawing, MemoryDcRole role) {
  return drawing.memory_dcs[static_cast<size_t>(role)].get();
}

// Stretches the whole artwork picture into a new cache of `size`. Without the picture the old
// cache stays as it is.
void rebuild_artwork_cache(WindowDrawing& drawing, Size image, Size size, FrameState& frame) {
  HDC source = context(drawing, MemoryDcRole::kArtwork);
  HDC cache = context(drawing, MemoryDcRole::kArtworkCache);
  if (!surface(drawing, MemoryDcRole::kArtwork) || !source || !cache) return;
  HBITMAP bitmap = create_dib_section(cache, size);
  if (!bitmap) return;
  SurfaceBitmap& cached = surface(drawing, MemoryDcRole::kArtworkCache);
  // Out with the old bitmap before the new one goes in (see SurfaceBitmap).
  cached.reset();
  cached = SurfaceBitmap(cache, bitmap);
  StretchBlt(cache, 0, 0, size.width, size.height, source, 0, 0, image.width, image.height,
             SRCCOPY);
  frame.artwork_cache_size = size;
}

}  // namespace

void draw_level_indicator(HDC dc, const DisplayItem& item, int channel, int32_t value,
                          FrameState& frame) {
  if (channel < 0 || channel > 1) return;
  raise_level_peak(frame.level_peak, value);
  int32_t& previous = frame.indicator_previous[static_cast<size_t>(channel)];
  value = indicator_step(value, previous);
  previous = value;
  if (!dc || item.draw_order < 0) return;
  const Rect bar = indicator_bar(item.rect, item.direction, value);
  if (bar.right <= bar.left || bar.bottom <= bar.top) return;
  // The context's own brush takes the colour: nothing is made or deleted per frame.
  SetDCBrushColor(dc, item.color);
  const RECT r{bar.left, bar.top, bar.right, bar.bottom};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void draw_artwork(PluginState& state, HDC dc, const DisplayItem& item) {
  const Size image = state.frame.artwork_size;
  WindowDrawing* drawing = window_drawing(state);
  if (!dc || !drawing || item.draw_order < 0 || image.width <= 0 || image.height <= 0) return;
  const Rect place =
      artwork_rect(item.rect, image, item.keep_aspect != 0, item.align_h, item.align_v);
  const Size drawn{place.right - place.left, place.bottom - place.top};
  if (drawn.width < 1 || drawn.height < 1) return;
  const bool follows_window = item.size_mode_h == 0 && item.size_mode_v == 0;
  if ((state.window.window_changed && follows_window) || state.frame.artwork_cache_size != drawn ||
      !surface(*drawing, MemoryDcRole::kArtworkCache)) {
    rebuild_artwork_cache(*drawing, image, drawn, state.frame);
  }
  HDC cache = context(*drawing, MemoryDcRole::kArtworkCache);
  if (!surface(*drawing, MemoryDcRole::kArtworkCache) || !cache) return;
  const Size cached = state.frame.artwork_cache_size;
  if (cached == drawn) {
    BitBlt(dc, place.left, place.top, drawn.width, drawn.height, cache, 0, 0, SRCCOPY);
  } else if (cached.width > 0 && cached.height > 0) {
    // The picture to scale again from is gone: the cache still shows it, only not at this size.
    StretchBlt(dc, place.left, place.top, drawn.width, drawn.height, cache, 0, 0, cached.width,
               cached.height, SRCCOPY);
  }
}

}  // namespace sabla
