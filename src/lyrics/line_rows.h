#pragma once
#include <cstdint>
#include <span>

#include "lyrics/line_slot.h"
#include "lyrics/rect.h"

namespace sabla {

// Cuts the item's rectangle into rows of `line_spacing` pixels from the top, one per slot, while
// a row's top lies above the bottom edge; the last row may be cut short by that edge. Slots
// that get no row have an empty box. Returns the number of rows.
int32_t count_rows(const Rect& item, int32_t line_spacing, std::span<LineSlot> slots);

// Where a text `width` pixels wide is drawn in the row `box`: horizontally by `align_h`
// (0 left, 1 right, 2 centre), on a base line chosen by `align_v` (0 top, 1 bottom, 2 centre)
// with `font_size` as its height. The result never passes the item's right or bottom edge; it
// may pass its left or top edge.
Rect place_row_text(const Rect& box, const Rect& item, int32_t width, int32_t font_size,
                    int32_t align_h, int32_t align_v);

}  // namespace sabla
