#pragma once
#include "player/player_busy.h"

namespace sabla {

// The top-level windows of the desktop, as the busy test reads them.
WindowSource& system_window_source();

}  // namespace sabla
