#include "display/artwork_placement.h"

#include "display/artwork_fit.h"

namespace sabla {
namespace {

int32_t offset(int32_t room, int32_t align) {
  if (align == 2) return room / 2;
  if (align == 1) return room;
  return 0;
}

}  // namespace

Rect artwork_rect(const Rect& item, Size image, bool keep_aspect, int32_t align_h,
                  int32_t align_v) {
  const Size box{item.right - item.left, item.bottom - item.top};
  const Size drawn = artwork_target_size(image, box, keep_aspect);
  const int32_t left = item.left + offset(box.width - drawn.width, align_h);
  const int32_t top = item.top + offset(box.height - drawn.height, align_v);
  return Rect{left, top, left + drawn.width, top + drawn.height};
}

}  // namespace sabla
