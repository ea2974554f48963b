// The keyboard, mouse and wheel as one idle call sees them, and the lines they share.
#include <limits>

#include "host/handler_services.h"
#include "host/handler_steps.h"
#include "host/input_actions.h"
#include "state/plugin_state.h"
#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

void read_keyboard(PluginState& state, HandlerServices& services) {
  InputState& input = state.input;
  services.read_keyboard_state(input.key_state);
  input.shift_down = key_down(input.key_state, kVkShift);
  input.ctrl_down = key_down(input.key_state, kVkControl);
  if (input.key_state != input.previous_key_state) input.repeat_count = 0;
}

bool inside(const Rect& rect, const Point& point) {
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
         point.y <= rect.bottom;
}

// Wheel turns made over other windows are not buffered, so they never scroll the lyrics later.
void handle_wheel(PluginState& state) {
  WheelInput& wheel = state.wheel;
  if (!wheel.is_open()) return;
  if (inside(state.window.window_rect, state.pointer.cursor_screen)) {
    wheel.acquire_wheel();
  } else {
    wheel.release_wheel();
  }
  wheel.poll_wheel();
  const int32_t value = wheel.wheel_value();
  if (value == 0 || state.options.options_open) return;
  scroll_panel(state, value < 0 ? ScrollDirection::kDown : ScrollDirection::kUp);
}

}  // namespace

void show_status(PluginState& state, std::u16string_view text) {
  state.status.text = text;
  state.status.frames = kInputStatusFrames;
}

void save_lrc_with_status(PluginState& state, HandlerServices& services) {
  if (services.save_document_lyrics(state)) {
    show_status(state, kSavedLrcStatus);
    state.requests.lyrics_modified = false;
  } else {
    services.warn(state, state.strings.text(kSaveLrcFailedText));
  }
}

void scroll_panel(PluginState& state, ScrollDirection direction) {
  LyricDocument* panel = lyrics_panel(state);
  if (!panel) return;
  // The line count comes from the settings file; its most negative value has no opposite.
  const int32_t lines = state.settings.wheel_scroll;
  const int32_t up =
      lines == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -lines;
  panel->scroll(direction == ScrollDirection::kDown ? lines : up);
}

bool handle_idle_input(PluginState& state, HandlerServices& services) {
  InputState& input = state.input;
  read_keyboard(state, services);
  bool keys_looked_at = false;
  if (!input.ctrl_down) {
    handle_search_keys(state, services);
    if (state.window.visible) {
      handle_wheel(state);
      handle_bound_keys(state, services);
      keys_looked_at = true;
    }
  }
  input.previous_key_state = input.key_state;
  return keys_looked_at;
}

}  // namespace sabla
