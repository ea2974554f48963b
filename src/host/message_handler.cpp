#include "host/message_handler.h"

#include <array>

#include "host/handler_steps.h"
#include "state/host_records.h"
#include "host/plugin_entry.h"

namespace sabla {
namespace {

// Holds the re-entry flag for the length of one message, whatever way it ends.
class HandlerGuard {
 public:
  explicit HandlerGuard(PluginState& state) : state_(state) { state_.in_handler = true; }
  ~HandlerGuard() { state_.in_handler = false; }
  HandlerGuard(const HandlerGuard&) = delete;
  HandlerGuard& operator=(const HandlerGuard&) = delete;

 private:
  PluginState& state_;
};

using Step = int32_t (*)(PluginState&, HandlerServices&, void* record);

struct MessageEntry {
  uint32_t code;
  Step step;
};

int32_t configure(PluginState& state, HandlerServices& services, void*) {
  if (state.window.visible && !state.options.options_open) {
    services.open_options_window(state, OptionsTrigger::kConfigureMessage);
  }
  return kStatusOk;
}

// The messages that work on the instance made by "init".
constexpr std::array<MessageEntry, 13> kInstanceMessages = {{
    {kMessageClear, [](PluginState& s, HandlerServices& h, void*) { return handle_clear(s, h); }},
    {kMessageShow,
     [](PluginState& s, HandlerServices& h, void* r) { return handle_show(s, h, r); }},
    {kMessageHide, [](PluginState& s, HandlerServices& h, void*) { return handle_hide(s, h); }},
    {kMessageSetWindow,
     [](PluginState& s, HandlerServices& h, void* r) { return handle_set_window(s, h, r); }},
    {kMessageIdle, [](PluginState& s, HandlerServices& h, void*) { return handle_idle(s, h); }},
    {kMessageRenderData,
     [](PluginState& s, HandlerServices&, void* r) { return handle_render(s, r); }},
    {kMessagePlay,
     [](PluginState& s, HandlerServices& h, void* r) { return handle_play(s, h, r, false); }},
    {kMessageChangeTrack,
     [](PluginState& s, HandlerServices& h, void* r) { return handle_play(s, h, r, true); }},
    {kMessageSetPosition,
     [](PluginState& s, HandlerServices&, void* r) { return handle_set_position(s, r); }},
    {kMessagePause, [](PluginState& s, HandlerServices&, void*) { return handle_pause(s); }},
    {kMessageStop, [](PluginState& s, HandlerServices&, void*) { return handle_stop(s); }},
    {kMessageUnpause, [](PluginState& s, HandlerServices&, void*) { return handle_unpause(s); }},
    {kMessageConfigure, &configure},
}};

// The messages acknowledged without doing anything.
constexpr std::array<uint32_t, 3> kIgnoredMessages = {kMessageVisualOff, kMessageVisualOn,
                                                      kMessageUpdate};

int32_t dispatch(PluginState& state, HandlerServices& services, uint32_t message, void* record) {
  if (message == kMessageInit) return handle_init(state, services, record);
  for (const uint32_t ignored : kIgnoredMessages) {
    if (message == ignored) return kStatusOk;
  }
  for (const MessageEntry& entry : kInstanceMessages) {
    if (entry.code != message) continue;
    // Before "init" there is nothing to work on; "clr " then has nothing to free either.
    if (!state.instance) return message == kMessageClear ? kStatusOk : kStatusBadParameter;
    return entry.step(state, services, record);
  }
  return kStatusUnimplemented;
}

}  // namespace

int32_t handle_visual_message(PluginState& state, HandlerServices& services, uint32_t message,
                              void* record, void* /*instance*/) noexcept {
  if (state.in_handler) return kStatusOk;
  HandlerGuard guard(state);
  return guard_host_call([&] { return dispatch(state, services, message, record); });
}

}  // namespace sabla
