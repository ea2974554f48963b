#pragma once
// What the lyrics panel draws in one frame, as plain values: two frames that would draw the
// same thing compare equal, which is what lets the drawn lines be kept and reused.
#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/rect.h"

namespace sabla {

// One text drawn from the top left of `rect`, cut at its edges.
struct TextDraw {
  std::u16string text;
  Rect rect;

  friend bool operator==(const TextDraw&, const TextDraw&) = default;
};

// One row: its texts (the edit columns, then the line), all in one colour (a COLORREF), on a
// bar of the panel's bar colour when `opaque`.
struct SlotDraw {
  uint32_t text_color = 0;
  bool opaque = false;
  std::vector<TextDraw> texts;

  friend bool operator==(const SlotDraw&, const SlotDraw&) = default;
};

struct PanelDraw {
  uint32_t bar_color = 0;  // a COLORREF
  std::vector<SlotDraw> slots;

  friend bool operator==(const PanelDraw&, const PanelDraw&) = default;
};

}  // namespace sabla
