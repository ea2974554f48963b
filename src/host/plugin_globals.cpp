#include "host/plugin_globals.h"

namespace sabla {

PluginState& global_plugin_state() {
  static PluginState state;
  return state;
}

}  // namespace sabla
