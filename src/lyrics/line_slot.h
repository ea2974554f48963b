#pragma once
#include <cstdint>

#include "lyrics/rect.h"

namespace sabla {

// One row of the lyrics panel and the line it shows.
struct LineSlot {
  Rect box;            // the row
  Rect text_rect;      // where the line's text is drawn inside the row; also the mouse hit area
  int32_t number = 0;  // the slot's own index
  int32_t line = -1;   // index of the line shown, -1 = none
};

}  // namespace sabla
