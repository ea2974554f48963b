#include "display/dots_visualizer_win32.h"

#include "display/gdi_select_win32.h"

namespace sabla {
namespace {

constexpr Size kCanvasSize{kCanvasSide, kCanvasSide};
constexpr Size kFeedbackSize{kFeedbackSide, kFeedbackSide};

// The trails are the last picture scaled up by its average colour over each canvas pixel's
// footprint; beyond the picture (the trails drifting inward) it is black.
void draw_trails(const VisualizerSurfaces& s, DotsScaling& scaling, int32_t expansion) {
  const std::optional<Rect> source = feedback_source(expansion);
  if (!source) return;
  if (!scaling.trails.made_for(*source, kFeedbackSize, kCanvasSize)) {
    scaling.trails = BoxScaler(*source, kFeedbackSize, kCanvasSize);
  }
  scaling.trails.scale(s.feedback, s.canvas, scaling.scratch);
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
  // The context's own pen and brush take the colour: nothing is made or deleted per frame.
  const HGDIOBJ brush = GetStockObject(DC_BRUSH);
  const ScopedSelect pen_in(canvas, GetStockObject(DC_PEN));
  const ScopedSelect brush_in(canvas, brush);
  SetDCPenColor(canvas, colour);
  SetDCBrushColor(canvas, colour);
  for (int32_t i = 0; i < settings.dot_count; ++i) {
    const double angle = dot_angle(i, settings.dot_count, state.rotation_angle);
    const DotBox dot = dot_box(radius, angle, settings.dot_size);
    if (dot.ellipse) {
      Ellipse(canvas, dot.box.left, dot.box.top, dot.box.right, dot.box.bottom);
    } else {
      const RECT r{dot.box.left, dot.box.top, dot.box.right, dot.box.bottom};
      FillRect(canvas, &r, static_cast<HBRUSH>(brush));
    }
  }
}

void shrink_to_feedback(const VisualizerSurfaces& s, DotsScaling& scaling) {
  const Rect whole{0, 0, kCanvasSide, kCanvasSide};
  if (!scaling.shrink.made_for(whole, kCanvasSize, kFeedbackSize)) {
    scaling.shrink = BoxScaler(whole, kCanvasSize, kFeedbackSize);
  }
  scaling.shrink.scale(s.canvas, s.feedback, scaling.scratch);
}

void copy_to_frame(const VisualizerSurfaces& s, DotsScaling& scaling, const DrawingArea& area) {
  const Rect crop = canvas_crop(area.width, area.height);
  const Size target{area.width + 1, area.height + 1};
  if (!scaling.last_copy.made_for(crop, target)) scaling.last_copy = NearestScaler(crop, target);
  scaling.last_copy.scale(s.canvas, s.frame, area.x, area.y);
}

bool picture(const Pixels& p, Size size) {
  return p && p.width == size.width && p.height == size.height;
}

}  // namespace

void draw_dots_visualizer(const VisualizerSurfaces& s, DotsScaling& scaling, VisualizerState& state,
                          const VisualizerSettings& settings, double radius,
                          const DrawingArea& area) {
  if (!s.canvas_dc || !s.frame || !picture(s.feedback, kFeedbackSize) ||
      !picture(s.canvas, kCanvasSize)) {
    return;
  }
  step_colour_phase(state);
  // GDI may still be drawing into the pictures; the loops must see what it drew.
  GdiFlush();
  draw_trails(s, scaling, settings.expansion);
  draw_centre_disc(s.canvas_dc, settings.expansion);
  draw_dots(s.canvas_dc, state, settings, radius);
  GdiFlush();
  shrink_to_feedback(s, scaling);
  copy_to_frame(s, scaling, area);
}

}  // namespace sabla
