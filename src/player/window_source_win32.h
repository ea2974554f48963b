#pragma once
#include "player/player_busy.h"

namespace sabla {

// The top-level windows of the desktop of the classes the busy test counts, as it reads them.
WindowSource& system_window_source();

}  // namespace sabla
