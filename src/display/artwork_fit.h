#pragma once
#include <cstdint>

#include "state/frame_state.h"

namespace sabla {

// The size an image of `image` pixels is drawn at in a box of `box` pixels: the whole box when
// `keep_aspect` is off; otherwise the image's proportions over the box's longer side, shrunk
// until it fits the box's width and then its height. Sides are cut toward zero.
Size artwork_target_size(Size image, Size box, bool keep_aspect);

}  // namespace sabla
