#include "host/visual_handler.h"

#include "host/host_messages.h"

namespace sabla {

// Not the handler's real behaviour yet: it only acknowledges the lifecycle pair "init"/"clr " so
// the host keeps the plug-in loaded, and reports every other message (show, idle, render data,
// playback, configure) as unimplemented. The lifecycle, clock and drawing arrive with the host
// bridge.
int32_t visual_message_handler(uint32_t message, void* /*record*/, void* /*instance*/) noexcept {
  if (message == kMessageInit || message == kMessageClear) return kStatusOk;
  return kStatusUnimplemented;
}

}  // namespace sabla
