#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "display/lyric_slot_draws.h"
#include "display/pixel_scaling.h"
#include "display/text_overlay.h"
#include "state/gdi_handles_win32.h"

namespace sabla {

// The lyric lines drawn once, over black and over white, and laid over every frame that shows
// the same lines (text, places, colours, bar, font, frame size) again. Anything else about them
// draws them afresh.
class LyricLinesCache {
 public:
  // Lays `lines`, drawn in `font` (the context's current font when null), over `frame`, the
  // pixels of `dc`'s picture. False, with nothing drawn, when the lines cannot come from a
  // cache: rows of different looks overlap, or GDI refused a surface.
  bool draw(HDC dc, const Pixels& frame, HFONT font, const PanelDraw& lines);
  // How many times the lines were drawn afresh; for the tests.
  int32_t remakes() const { return remakes_; }

 private:
  bool same_lines(HFONT font, const LOGFONTW& log_font, Size frame, const PanelDraw& lines) const;
  bool remake(HDC dc, HFONT font, Size frame, const PanelDraw& lines);
  bool make_captures(HDC dc, Size size);

  // What the cached lines were drawn from.
  bool valid_ = false;
  HFONT font_ = nullptr;
  LOGFONTW log_font_{};
  Size frame_;
  PanelDraw lines_;
  Rect box_;  // where the captures lie on the frame

  MemoryDc black_dc_;
  MemoryDc white_dc_;
  SurfaceBitmap black_;
  SurfaceBitmap white_;
  Pixels black_pixels_;
  Pixels white_pixels_;
  TextOverlay overlay_;
  int32_t remakes_ = 0;
};

}  // namespace sabla
