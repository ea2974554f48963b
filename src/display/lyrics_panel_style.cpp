#include "display/lyrics_panel_style.h"

#include <algorithm>
#include <limits>

namespace sabla {
namespace {

// Rows may start far left of the panel (a long right-aligned line), so the columns before them
// are computed wide and saturated rather than left to wrap.
int32_t left_of(int32_t left, const Rect& extent) {
  const int64_t x = static_cast<int64_t>(left) - (static_cast<int64_t>(extent.right) - extent.left);
  return static_cast<int32_t>(std::clamp<int64_t>(x, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

SlotStyle slot_style(bool current, bool hovered, uint32_t panel_color, const Settings& settings) {
  SlotStyle style{panel_color, false};
  if (current) {
    style.text_color = settings.current_font_color;
    // A bar in the text's own colour would hide the text, so equal colours mean no bar.
    style.opaque = settings.current_line_color != settings.current_font_color;
  }
  if (hovered) style.text_color = settings.mouse_on_font_color;
  return style;
}

EditColumns edit_columns(const Rect& text_rect, const Rect& marker_extent, const Rect& tag_extent) {
  EditColumns columns{text_rect, text_rect};
  columns.marker.left = left_of(text_rect.left, marker_extent);
  columns.tag.left = left_of(columns.marker.left, tag_extent);
  return columns;
}

ShownTag shown_tag(const LyricLine& line, uint8_t input_timetag_digit) {
  if (input_timetag_digit != 0) return ShownTag{line.short_tag(), line.short_tag_extent()};
  return ShownTag{line.long_tag(), line.long_tag_extent()};
}

}  // namespace sabla
