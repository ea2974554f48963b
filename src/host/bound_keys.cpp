// The keys bound to the lyrics panel and the player, tested in a fixed order, and the left button.
#include <cstdint>

#include "host/handler_services.h"
#include "host/handler_steps.h"
#include "host/input_actions.h"
#include "state/plugin_state.h"
#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

enum class BoundKey {
  kNone,
  kScrollDown,
  kScrollUp,
  kAutomatic,
  kEditMode,
  kInsertTag,
  kRemoveTagBack,
  kRemoveTag,
  kSave,
  kSaveIpod,
  kReload,
  kOptions,
  kLeftButton,
};

// Held keys act on the first idle call and then again from the 17th on, like a typematic key.
constexpr int32_t kRepeatDelayCalls = 15;
// Past this the count starts again just above the delay, so a held key keeps repeating.
constexpr int32_t kRepeatCountLimit = 254;

bool bound_down(const KeyboardState& keys, uint8_t code) {
  return code != 0 && key_down(keys, code);
}

// The first key of the table that is down; only one key acts per idle call.
BoundKey first_key_down(const PluginState& state) {
  const KeyboardState& keys = state.input.key_state;
  const Settings& s = state.settings;
  if (bound_down(keys, s.scroll_down)) return BoundKey::kScrollDown;
  if (bound_down(keys, s.scroll_up)) return BoundKey::kScrollUp;
  if (key_down(keys, kVkEscape) || key_down(keys, kVkMiddleButton)) return BoundKey::kAutomatic;
  if (bound_down(keys, s.edit_mode)) return BoundKey::kEditMode;
  if (bound_down(keys, s.ins_tag)) return BoundKey::kInsertTag;
  if (key_down(keys, kVkBackspace)) return BoundKey::kRemoveTagBack;
  if (key_down(keys, kVkDelete)) return BoundKey::kRemoveTag;
  if (bound_down(keys, s.save_key)) return BoundKey::kSave;
  if (bound_down(keys, s.save_ipod)) return BoundKey::kSaveIpod;
  if (key_down(keys, kVkF5)) return BoundKey::kReload;
  if (key_down(keys, kVkO)) return BoundKey::kOptions;
  // Before the player has told its position there is nothing a click on a line could seek.
  if (key_down(keys, kVkLeftButton) && state.clock.player_second >= 0) return BoundKey::kLeftButton;
  return BoundKey::kNone;
}

bool has_lyrics(const PluginState& state) {
  return state.sources.external_lyrics_found || state.song.has_song_lyrics;
}

bool in_edit_mode(const LyricDocument* panel) { return panel && panel->edit_mode(); }

// Before the song's start (a negative delay) the clock reads below zero, and a negative time
// would take the tag away instead of setting one.
int32_t stamp_time(const PluginState& state) {
  return state.clock.play_time > 0 ? state.clock.play_time : 0;
}

void set_cursor_time(PluginState& state, LyricDocument& panel, int32_t ms, int32_t move) {
  panel.set_cursor_line_time(ms);
  if (move != 0) panel.scroll(move);
  state.requests.lyrics_modified = true;
}

void export_ipod_notes(PluginState& state, HandlerServices& services) {
  if (!has_lyrics(state)) {
    show_status(state, kNoLyricsStatus);
  } else if (services.export_panel_ipod_notes(state)) {
    show_status(state, kSavedIpodNotesStatus);
  } else {
    services.warn(state, state.strings.text(kIpodNotesFailedText));
  }
}

void act(PluginState& state, HandlerServices& services, BoundKey key) {
  LyricDocument* panel = lyrics_panel(state);
  switch (key) {
    case BoundKey::kScrollDown:
      scroll_panel(state, ScrollDirection::kDown);
      break;
    case BoundKey::kScrollUp:
      scroll_panel(state, ScrollDirection::kUp);
      break;
    case BoundKey::kAutomatic:
      if (panel) panel->return_to_automatic();
      break;
    case BoundKey::kEditMode:
      if (!has_lyrics(state)) {
        show_status(state, kNoLyricsStatus);
      } else if (panel) {
        panel->toggle_edit_mode();
      }
      break;
    case BoundKey::kInsertTag:
      if (in_edit_mode(panel)) set_cursor_time(state, *panel, stamp_time(state), 1);
      break;
    case BoundKey::kRemoveTagBack:
      if (in_edit_mode(panel)) set_cursor_time(state, *panel, -1, -1);
      break;
    case BoundKey::kRemoveTag:
      if (in_edit_mode(panel)) set_cursor_time(state, *panel, -1, 0);
      break;
    case BoundKey::kSave:
      if (in_edit_mode(panel)) save_lrc_with_status(state, services);
      break;
    case BoundKey::kSaveIpod:
      export_ipod_notes(state, services);
      break;
    case BoundKey::kReload:
      services.load_song_lyrics(state);
      break;
    case BoundKey::kOptions:
      if (!state.options.options_open) {
        services.open_options_window(state, OptionsTrigger::kOptionKey);
      }
      break;
    case BoundKey::kLeftButton:
    case BoundKey::kNone:
      break;
  }
}

void click_line(PluginState& state, HandlerServices& services) {
  state.pointer.line_hovered = false;
  LyricDocument* panel = lyrics_panel(state);
  if (!panel) return;
  // Seeking moves the song; the panel must stop following it or the clicked line would be
  // scrolled away before the player got there. A zero-line scroll only leaves automatic mode.
  if (panel->display_mode() == kModeTimed) panel->scroll(0);
  const int32_t ms = panel->line_time(state.pointer.hovered_line);
  if (ms > 0) services.player().seek(ms / 1000, state.status);
}

void click(PluginState& state, HandlerServices& services) {
  std::array<bool, 8>& links = state.frame.search_link_marks;
  for (int slot = 0; slot < static_cast<int>(links.size()); ++slot) {
    if (!links[static_cast<size_t>(slot)]) continue;
    // The search opens a browser over the visualizer; the stale pointer must not leave the link
    // lit, or the next click would land on it again.
    state.pointer.cursor_screen = Point{};
    state.pointer.cursor_client = Point{};
    links[static_cast<size_t>(slot)] = false;
    search_current_song(state, services, slot);
  }
  if (state.pointer.line_hovered && !state.options.options_open) click_line(state, services);
  if (state.frame.option_button_request && !state.options.options_open) {
    services.open_options_window(state, OptionsTrigger::kOptionButton);
  }
}

bool repeat_gate_open(int32_t repeat_count) {
  return repeat_count == 0 || repeat_count > kRepeatDelayCalls;
}

int32_t next_repeat_count(int32_t repeat_count) {
  const int32_t next = repeat_count + 1;
  return next > kRepeatCountLimit ? kRepeatDelayCalls + 1 : next;
}

}  // namespace

void handle_bound_keys(PluginState& state, HandlerServices& services) {
  int32_t& repeat_count = state.input.repeat_count;
  const BoundKey key = first_key_down(state);
  if (key == BoundKey::kNone) {
    repeat_count = 0;
    return;
  }
  const bool gate_open = repeat_gate_open(repeat_count);
  if (key == BoundKey::kLeftButton) {
    // A click is the press, not the holding: the count stays put while the button is held, so
    // the gate never opens again for the same press.
    if (!gate_open) return;
    click(state, services);
  } else if (gate_open) {
    act(state, services, key);
  }
  repeat_count = next_repeat_count(repeat_count);
}

}  // namespace sabla
