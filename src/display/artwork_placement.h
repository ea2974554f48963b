#pragma once
#include <cstdint>

#include "state/frame_state.h"
#include "lyrics/rect.h"

namespace sabla {

// Where an image of `image` pixels is drawn in an artwork item with rectangle `item`: at the
// size `artwork_target_size` gives, placed by the item's alignments (`align_h` 2 centre, 1 right,
// else left; `align_v` 2 centre, 1 bottom, else top).
Rect artwork_rect(const Rect& item, Size image, bool keep_aspect, int32_t align_h, int32_t align_v);

}  // namespace sabla
