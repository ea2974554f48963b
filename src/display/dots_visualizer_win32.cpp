#include "display/dots_visualizer_win32.h"

#include "display/gdi_select_win32.h"
#include "state/gdi_handles_win32.h"

namespace sabla {
namespace {

void draw_trails(const VisualizerSurfaces& s, int32_t expansion) {
  const std::optional<Rect> source = feedback_source(expansion);
  if (!source) return;
  StretchBlt(s.canvas, 0, 0, kCanvasSide, kCanvasSide, s.feedback, source->left, source->top,
             source->right - source->left, source->bottom - source->top, SRCCOPY);
}

void draw_centre_disc(HDC canvas, int32_t expansion) {
  const std::optional<Rect> disc = centre_disc_box(expansion);
  if (!disc) return;
  const ScopedSelect pen(canvas, GetStockObject(BLACK_PEN));
  const ScopedSelect brush(canvas, GetStockObject(BLACK_BRUSH));
  Ellipse(canvas, disc->left, disc->top, disc->right, disc->bottom);
}

void draw_dots(HDC canvas, const VisualizerState& state, const VisualizerSettings& settings,
               double radius) {
  if (settings.dot_count <= 0) return;
  const COLORREF colour = dot_colour(state);
  const GdiPen pen(CreatePen(PS_SOLID, 1, colour));
  const GdiBrush brush(CreateSolidBrush(colour));
  if (!pen || !brush) return;
  const ScopedSelect pen_in(canvas, pen.get());
  const ScopedSelect brush_in(canvas, brush.get());
  for (int32_t i = 0; i < settings.dot_count; ++i) {
    const double angle = dot_angle(i, settings.dot_count, state.rotation_angle);
    const DotBox dot = dot_box(radius, angle, settings.dot_size);
    if (dot.ellipse) {
      Ellipse(canvas, dot.box.left, dot.box.top, dot.box.right, dot.box.bottom);
    } else {
      const RECT r{dot.box.left, dot.box.top, dot.box.right, dot.box.bottom};
      FillRect(canvas, &r, brush.get());
    }
  }
}

}  // namespace

void draw_dots_visualizer(const VisualizerSurfaces& s, VisualizerState& state,
                          const VisualizerSettings& settings, double radius,
                          const DrawingArea& area) {
  if (!s.frame || !s.feedback || !s.canvas) return;
  step_colour_phase(state);
  draw_trails(s, settings.expansion);
  draw_centre_disc(s.canvas, settings.expansion);
  draw_dots(s.canvas, state, settings, radius);
  StretchBlt(s.feedback, 0, 0, kFeedbackSide, kFeedbackSide, s.canvas, 0, 0, kCanvasSide,
             kCanvasSide, SRCCOPY);
  const Rect crop = canvas_crop(area.width, area.height);
  StretchBlt(s.frame, area.x, area.y, area.width + 1, area.height + 1, s.canvas, crop.left,
             crop.top, crop.right - crop.left, crop.bottom - crop.top, SRCCOPY);
}

}  // namespace sabla
