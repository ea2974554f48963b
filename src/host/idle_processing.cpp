// What an idle call does after the lyric clock: the requests other parts left, the frame, the
// input, and the questions the idle call puts to the user.
#include <atomic>

#include "host/handler_services.h"
#include "host/input_actions.h"
#include "state/plugin_state.h"
#include "state/version.h"

namespace sabla {
namespace {

constexpr int32_t kDeleteLyricFileQuestion = 40045;
constexpr int32_t kNewVersionQuestion = 40046;
constexpr int32_t kNewBetaQuestion = 40068;

// The options window writes the settings file too; the values it owns while it is open must
// survive a reload of the rest.
void reload_settings(PluginState& state, HandlerServices& services) {
  const int32_t current_tab = state.settings.current_tab;
  const uint8_t timetag_digit = state.settings.input_timetag_digit;
  const std::array<int32_t, 2> insert_timetag = state.settings.dialog_ins_timetag;
  services.load_settings(state);
  state.settings.current_tab = current_tab;
  state.settings.input_timetag_digit = timetag_digit;
  state.settings.dialog_ins_timetag = insert_timetag;
  services.save_settings(state);
  services.create_info_font(state);
  services.layout_display(state);
  services.load_song_lyrics(state);
}

void carry_out_requests(PluginState& state, HandlerServices& services) {
  Requests& requests = state.requests;
  if (requests.reload_settings_request) {
    requests.reload_settings_request = false;
    reload_settings(state, services);
  }
  if (requests.fonts_changed) {
    requests.fonts_changed = false;
    services.create_info_font(state);
    services.rebuild_item_fonts(state);
    services.layout_display(state);
  }
  if (requests.reload_lyrics_request) {
    requests.reload_lyrics_request = false;
    if (!services.load_song_lyrics(state)) requests.probe_off = true;
  }
}

// A lyric file that gave no line: the user decides whether it goes. Until then the empty panel
// does not look for lyrics, which would only find the same file again.
void offer_lyric_file_deletion(PluginState& state, HandlerServices& services) {
  Requests& requests = state.requests;
  if (!requests.delete_file_request) return;
  requests.delete_file_request = false;
  requests.probe_off = true;
  std::u16string question(state.strings.text(kDeleteLyricFileQuestion));
  if (const size_t at = question.find(u"%s"); at != std::u16string::npos) {
    question.replace(at, 2, requests.delete_file_path);
  }
  if (services.ask_yes_no(state, question) && services.delete_file(requests.delete_file_path)) {
    requests.probe_off = false;
  }
  requests.delete_file_path.clear();
}

// The version-check threads write their flag at any time; taking the 1 away in one step keeps a
// late write from being lost or asked about twice.
bool take_pending(std::atomic<int32_t>& pending) {
  int32_t newer = 1;
  return pending.compare_exchange_strong(newer, 0);
}

void open_maker_site(PluginState& state) {
  open_url_in_host(state.host.host_cookie, state.host.host_callback, kSiteUrl.data(),
                   static_cast<uint32_t>(kSiteUrl.size()));
}

void announce_new_versions(PluginState& state, HandlerServices& services) {
  Requests& requests = state.requests;
  if (state.settings.ver_check == 1 && take_pending(requests.new_version_pending) &&
      services.ask_yes_no(state, state.strings.text(kNewVersionQuestion))) {
    open_maker_site(state);
  }
  if (state.settings.ver_check_beta == 1 && take_pending(requests.new_beta_pending) &&
      services.ask_beta_yes_no(state, state.strings.text(kNewBetaQuestion))) {
    open_maker_site(state);
  }
}

}  // namespace

void idle_processing(PluginState& state, HandlerServices& services) {
  if (state.window.visible) {
    services.refresh_pointer(state);
    carry_out_requests(state, services);
    services.draw_frame(state);
  }
  // The options window takes the keys while it is open; the visualizer must not act on them too.
  if (state.options.options_open || !services.input_gate_open(state)) return;
  // The questions wait for an idle call in which the user could also have used the keys, so a
  // message box never opens over the player's own window or the options window.
  if (!handle_idle_input(state, services)) return;
  offer_lyric_file_deletion(state, services);
  announce_new_versions(state, services);
}

}  // namespace sabla
