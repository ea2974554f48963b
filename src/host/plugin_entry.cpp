#include "host/plugin_entry.h"

#include <cstring>

namespace sabla {

int32_t register_with_host(PluginState& state, const EntryInitMessage& init,
                           const EntryHooks& hooks) {
  if (!init.host_callback) return kStatusBadParameter;
  if (hooks.load_settings) hooks.load_settings(state);
  HostMessage record;
  fill_registration(record, hooks.handler, static_cast<uint32_t>(state.settings.loop));
  return send_to_host(init.host_cookie, init.host_callback, kMessageRegisterVisual,
                      kHostMessageMajor, kRegisterVisualMinor, &record);
}

int32_t handle_entry_message(PluginState& state, uint32_t message, const void* record,
                             const EntryHooks& hooks) {
  if (message == kMessageClear) return kStatusOk;
  if (message != kMessageInit) return kStatusUnimplemented;
  if (!record) return kStatusBadParameter;
  // The host's record need not be aligned for us, and nothing past the callback word is read.
  EntryInitMessage init;
  std::memcpy(&init, record, sizeof init);
  return register_with_host(state, init, hooks);
}

}  // namespace sabla
