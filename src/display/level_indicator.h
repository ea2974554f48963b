#pragma once
#include <cstdint>

#include "lyrics/rect.h"

namespace sabla {

// The value an indicator shows for one channel: twice the channel's peak level while the song
// plays, nothing otherwise.
int32_t indicator_value(uint8_t level, bool playing);

// The loudest doubled value seen so far, which scales the dots' orbit; never below 1.
void raise_level_peak(int32_t& level_peak, int32_t value);

// Bar ballistics: from the value shown in the last frame, an indicator falls by at most 16 and
// rises by at most 32 per frame, so it neither flickers nor jumps.
int32_t indicator_step(int32_t value, int32_t previous);

// The filled part of an indicator's rectangle `item` for `value` (255 fills it): direction 0
// grows up from the bottom, 1 right from the left, 2 down from the top, 3 left from the right.
// Any other direction grows up, as the default indicators do.
Rect indicator_bar(const Rect& item, int32_t direction, int32_t value);

}  // namespace sabla
