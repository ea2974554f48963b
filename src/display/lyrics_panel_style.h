#pragma once
#include <cstdint>
#include <string_view>

#include "lyrics/lyric_line.h"
#include "lyrics/rect.h"
#include "settings/settings.h"

namespace sabla {

// How one row of the lyrics panel is coloured.
struct SlotStyle {
  uint32_t text_color = 0;
  bool opaque = false;  // the text stands on a bar of the background colour (current_line_color)
};

// The style of a row: `current` when it shows the current line of timed lyrics, `hovered` when
// the mouse is over it. The current line gets its own text colour, and its bar only when the bar
// colour differs from that text colour; the mouse colour wins over both text colours.
SlotStyle slot_style(bool current, bool hovered, uint32_t panel_color, const Settings& settings);

// Where edit mode draws left of a row's text: the cursor marker just before the text, the line's
// timetag a further tag width before that. Both keep the text rectangle's other edges.
struct EditColumns {
  Rect marker;
  Rect tag;
};
EditColumns edit_columns(const Rect& text_rect, const Rect& marker_extent, const Rect& tag_extent);

// The tag the edit mode shows for a line: the short form when `input_timetag_digit` is set.
struct ShownTag {
  std::u16string_view text;
  Rect extent;
};
ShownTag shown_tag(const LyricLine& line, uint8_t input_timetag_digit);

// The part of the cursor marker drawn on the cursor row: " >", its trailing space being the gap
// before the text.
inline constexpr size_t kCursorMarkerDrawn = 2;

}  // namespace sabla
