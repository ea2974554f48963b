// The handler the library registers with the host, over the DLL's single PluginState.
#include "host/visual_handler.h"

#include "host/handler_services_win32.h"
#include "host/message_handler.h"
#include "host/plugin_entry.h"
#include "host/plugin_globals.h"
#include "player/com_player_bridge_win32.h"

namespace sabla {

int32_t visual_message_handler(uint32_t message, void* record, void* instance) noexcept {
  return guard_host_call([&] {
    // Made on the first message, inside the guard, and kept until the library is unloaded.
    static ComPlayerBridge player;
    static Win32HandlerServices services(player, this_module());
    return handle_visual_message(global_plugin_state(), services, message, record, instance);
  });
}

}  // namespace sabla
