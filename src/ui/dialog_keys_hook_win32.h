#pragma once
#include "state/plugin_state.h"

namespace sabla {

// The host owns the message loop, so the modeless options window gets its Tab, arrow and Enter
// keys through a hook on the thread's message queue. One hook at a time; it is removed when the
// window goes, since a hook left behind in an unloaded library takes the host down.
void install_dialog_keys_hook(PluginState& state);
void remove_dialog_keys_hook();
bool dialog_keys_hook_installed();

}  // namespace sabla
