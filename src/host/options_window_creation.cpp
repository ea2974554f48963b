// The opening of the options window after the lyrics were saved: everything it shows is loaded
// afresh, then the dialog is made.
#include "host/handler_services.h"
#include "state/plugin_state.h"

namespace sabla {

void create_options_window(PluginState& state, HandlerServices& services) {
  state.frame.option_button_request = false;
  // Loading the settings makes the lyrics panel anew, so it comes before the song's lyrics
  // are loaded into it; the other way round the display would stand empty behind the window.
  services.load_settings(state);
  services.create_info_font(state);
  services.layout_display(state);
  services.load_song_lyrics(state);
  // The wheel would keep scrolling the lyrics behind the window.
  state.wheel.release_wheel();
  if (!services.player().has_current_track(state.status)) {
    state.song = SongInfo{};
    state.clock.track_info_valid = false;
  }
  services.create_options_dialog(state);
}

}  // namespace sabla
