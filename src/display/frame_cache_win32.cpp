#include "display/frame_cache_win32.h"

#include <memory>

namespace sabla {

FrameCache& frame_cache(WindowDrawing& drawing) {
  if (!drawing.frame_cache) drawing.frame_cache = std::make_shared<FrameCache>();
  return *std::static_pointer_cast<FrameCache>(drawing.frame_cache);
}

}  // namespace sabla
