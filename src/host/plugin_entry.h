#pragma once
#include <cstdint>
#include <functional>
#include <new>

#include "state/host_messages.h"
#include "state/plugin_state.h"

namespace sabla {

// What the entry needs from the rest of the plug-in. The DLL wires the real settings loader and
// visual message handler; tests wire their own.
struct EntryHooks {
  std::function<void(PluginState&)> load_settings;
  VisualHandler handler = nullptr;
};

// Loads the settings (for `loop`) and registers the plug-in as a visualizer with the host named
// by `init`. Returns the host's status for "rvis", or kStatusBadParameter when `init` names no
// callback to register with.
int32_t register_with_host(PluginState& state, const EntryInitMessage& init,
                           const EntryHooks& hooks);

// The work of the exported entry: "init" registers, "clr " succeeds without touching anything,
// every other message is unimplemented. An "init" without a record is a bad parameter.
int32_t handle_entry_message(PluginState& state, uint32_t message, const void* record,
                             const EntryHooks& hooks);

// Runs `call` so that no exception reaches the host: running out of memory becomes the host's
// out-of-memory status, anything else an internal error.
template <typename Call>
int32_t guard_host_call(Call&& call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return kStatusOutOfMemory;
  } catch (...) {
    return kStatusInternalError;
  }
}

}  // namespace sabla
