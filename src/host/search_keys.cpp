// Shift with a search slot's key, and the search a click on a search link starts.
#include <array>
#include <optional>
#include <string>

#include "host/handler_services.h"
#include "host/input_actions.h"
#include "state/plugin_state.h"

namespace sabla {
namespace {

// The player names its own modal dialogs "iTunes" when they carry nothing worth searching.
constexpr std::u16string_view kPlayerName = u"iTunes";

void warn_if_failed(PluginState& state, HandlerServices& services, bool launched) {
  if (!launched) services.warn(state, state.strings.text(kSearchFailedText));
}

// While the player shows a modal dialog (its information window, say), the dialog's title is
// what the user looks at, so that is what is searched for.
void search_for_key(PluginState& state, HandlerServices& services, int slot) {
  if (const std::optional<std::u16string> dialog_title = services.modal_dialog_title()) {
    if (*dialog_title == kPlayerName) return;
    warn_if_failed(state, services,
                   services.launch_search(state, std::nullopt, *dialog_title, std::nullopt, slot));
    return;
  }
  if (state.clock.track_info_valid) {
    search_current_song(state, services, slot);
    return;
  }
  warn_if_failed(state, services, services.launch_search(state, u"", u"", u"", slot));
}

}  // namespace

void search_current_song(PluginState& state, HandlerServices& services, int slot) {
  const SongInfo& song = state.song;
  warn_if_failed(
      state, services,
      services.launch_search(state, song.track_artist_shown, song.title, song.album, slot));
}

void handle_search_keys(PluginState& state, HandlerServices& services) {
  InputState& input = state.input;
  std::array<bool, 8>& fired = state.requests.search_key_fired;
  for (int slot = 0; slot < static_cast<int>(fired.size()); ++slot) {
    const uint8_t key = state.settings.URL_key[static_cast<size_t>(slot)];
    if (key == 0) continue;
    bool& slot_fired = fired[static_cast<size_t>(slot)];
    if (!input.shift_down || !key_down(input.key_state, key)) {
      slot_fired = false;
      continue;
    }
    if (slot_fired) continue;
    // Every slot counts as fired, so two slots on the same key start one search, not two.
    fired.fill(true);
    search_for_key(state, services, slot);
  }
}

}  // namespace sabla
