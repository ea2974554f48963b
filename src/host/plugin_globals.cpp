#include "host/plugin_globals.h"

namespace sabla {

PluginState& global_plugin_state() {
  // Destroyed in the library's detach, under the loader lock, so nothing it owns waits for a
  // thread there (see WorkerThread). Each worker holds its own reference to the library, so
  // the detach never comes while one runs, except at process exit, when the system has
  // already ended them, or from the last worker's own final FreeLibraryAndExitThread.
  static PluginState state;
  return state;
}

}  // namespace sabla
