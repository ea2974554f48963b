#pragma once
// The work of each visual message, for the handler's dispatch. Every function runs inside the
// re-entry guard and the exception barrier of handle_visual_message.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "host/handler_services.h"
#include "state/plugin_state.h"

namespace sabla {

class LyricDocument;

// Lifecycle: "init", "clr ", "show", "hide", "swin".
int32_t handle_init(PluginState& state, HandlerServices& services, void* record);
int32_t handle_clear(PluginState& state, HandlerServices& services);
int32_t handle_show(PluginState& state, HandlerServices& services, const void* record);
int32_t handle_hide(PluginState& state, HandlerServices& services);
int32_t handle_set_window(PluginState& state, HandlerServices& services, const void* record);

// Playback: "null", "vrnd", "vply", "ctrk", "setp", "vpau", "vstp", "vunp".
int32_t handle_idle(PluginState& state, HandlerServices& services);
int32_t handle_render(PluginState& state, const void* record);
int32_t handle_play(PluginState& state, HandlerServices& services, const void* record,
                    bool track_change);
int32_t handle_set_position(PluginState& state, const void* record);
int32_t handle_pause(PluginState& state);
int32_t handle_stop(PluginState& state);
int32_t handle_unpause(PluginState& state);

// Copies the fields of a message record. The host's record need not be aligned for us, and only
// the words a message names are read: a record as long as those words is enough (`length` for
// a message whose later words are not read). False without a record.
template <typename Message>
bool read_message(const void* record, Message& message, size_t length = sizeof(Message)) {
  if (!record) return false;
  std::memset(&message, 0, sizeof message);
  std::memcpy(&message, record, length);
  return true;
}

// The width and height of a drawing rectangle; an upside-down rectangle has none.
DrawingArea drawing_area_of(const DrawingRect& rect);

}  // namespace sabla
