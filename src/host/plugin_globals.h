#pragma once
#include "state/plugin_state.h"

namespace sabla {

// The DLL's single PluginState, alive from its first use until the library is unloaded. Made on
// first use so that a failure to build it happens inside the entry's guard, not in the loader.
PluginState& global_plugin_state();

}  // namespace sabla
