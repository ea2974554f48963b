#include "display/artwork_fit.h"

#include <algorithm>

namespace sabla {

Size artwork_target_size(Size image, Size box, bool keep_aspect) {
  if (!keep_aspect) return box;
  const double w = std::max(image.width, 1);
  const double h = std::max(image.height, 1);
  const double longer = std::max(box.width, box.height);
  double width = h < w ? longer : longer * w / h;
  double height = h < w ? longer * h / w : longer;
  if (width > box.width && width > 0) {
    height = height * box.width / width;
    width = box.width;
  }
  if (height > box.height && height > 0) {
    width = width * box.height / height;
    height = box.height;
  }
  return Size{static_cast<int32_t>(std::max(width, 0.0)), static_cast<int32_t>(std::max(height, 0.0))};
}

}  // namespace sabla
