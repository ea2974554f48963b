#pragma once
#include <cstdint>

#include "host/handler_services.h"
#include "state/plugin_state.h"

namespace sabla {

// Statuses of "init" beyond those of host_messages.h: there is no memory for the instance.
// Messages that need fields of a record the host did not pass, or that come before "init", do
// nothing and answer kStatusBadParameter.

// Handles one visual message from the host: handler(message code, message record, instance).
// A message that arrives while another is being handled (a message box pumps messages) returns
// 0 and does nothing. The host's `instance` argument is not trusted: the handler works on the
// instance it made at "init". Nothing is thrown out of here.
int32_t handle_visual_message(PluginState& state, HandlerServices& services, uint32_t message,
                              void* record, void* instance) noexcept;

}  // namespace sabla
