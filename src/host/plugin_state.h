#pragma once

#include "settings/settings.h"

namespace sabla {

// The program-wide record: every setting, the current song, the clock, the display items,
// the request bytes and the status line. The DLL owns the single instance; tests build their own.
// Later subsystems add their nested parts here.
struct PluginState {
  Settings settings;
};

}  // namespace sabla
