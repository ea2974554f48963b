// "init", "clr ", "show", "hide" and "swin": what exists from "init" to "clr " and from "show"
// to "hide".
#include <cstddef>
#include <cstring>
#include <new>

#include "host/handler_steps.h"
#include "state/host_records.h"
#include "state/track_info.h"
#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

void clear_host_records(PluginInstance& instance) {
  std::memset(&instance.track, 0, sizeof instance.track);
  std::memset(&instance.stream, 0, sizeof instance.stream);
}

void release_display_items(PluginState& state) {
  for (auto& item : state.settings.items) item.reset();
}

}  // namespace

DrawingArea drawing_area_of(const DrawingRect& rect) {
  DrawingArea area;
  area.width = rect.right > rect.left ? rect.right - rect.left : 0;
  area.height = rect.bottom > rect.top ? rect.bottom - rect.top : 0;
  return area;
}

int32_t handle_init(PluginState& state, HandlerServices& services, void* record) {
  // The handler writes the instance back into the record, so it must have one.
  VisualInitMessage init;
  if (!read_message(record, init,
                    offsetof(VisualInitMessage, host_callback) + sizeof init.host_callback)) {
    return kStatusBadParameter;
  }
  // A second "init" without "clr " starts over rather than leaking the first instance.
  if (state.instance) handle_clear(state, services);

  state.instance.reset(new (std::nothrow) PluginInstance());
  if (!state.instance) return kStatusOutOfMemory;
  PluginInstance& instance = *state.instance;

  instance.host_cookie = init.host_cookie;
  instance.host_callback = init.host_callback;
  state.host.host_cookie = init.host_cookie;
  state.host.host_callback = init.host_callback;
  state.host.host_major_version = init.host_major_version;
  state.song.title.clear();

  services.start_instance(state);
  void* const reference = &instance;
  std::memcpy(static_cast<uint8_t*>(record) + offsetof(VisualInitMessage, instance), &reference,
              sizeof reference);
  state.key_names.build_key_names();
  return kStatusOk;
}

int32_t handle_clear(PluginState& state, HandlerServices& services) {
  // A host that skips "hide" still gets its window's resources back.
  if (state.window.visible) handle_hide(state, services);
  services.player().end_session();
  state.strings.clear();
  state.key_names.free_key_names();
  services.end_instance(state);
  state.instance.reset();
  release_display_items(state);
  return kStatusOk;
}

int32_t handle_show(PluginState& state, HandlerServices& services, const void* record) {
  ShowMessage show;
  if (!read_message(record, show)) return kStatusBadParameter;
  // Shown again without "hide": the old window's resources go first.
  if (state.window.visible) handle_hide(state, services);

  PluginInstance& instance = *state.instance;
  instance.options = show.options;
  clear_host_records(instance);
  if (!services.open_window(state, show.window)) return kStatusBadParameter;
  instance.window = show.window;
  instance.rect = show.rect;
  state.window.host_window = show.window;
  state.window.visible = true;

  // The idle calls ask the player's position many times a second while the visualizer shows.
  services.player().begin_session();
  take_track_location(state.song, services.player(), state.status);

  state.pointer = PointerState{};
  state.window.drawing_area = drawing_area_of(show.rect);

  services.create_frame_surfaces(state);
  services.load_settings(state);
  services.create_info_font(state);
  services.layout_display(state);
  services.load_song_lyrics(state);

  state.requests.search_key_fired.fill(false);

  if (state.settings.ver_check == 1) services.start_release_version_check(state);
  if (state.settings.ver_check_beta != 1) {
    state.settings.ver_check_beta = 1;
    services.save_settings(state);
  }
  services.start_beta_version_check(state);

  services.open_wheel(state);

  const LyricDocument* panel = lyrics_panel(state);
  if (state.clock.playing_started && (!panel || panel->line_count() == 0)) {
    state.requests.probe_off = false;
  }
  return kStatusOk;
}

int32_t handle_hide(PluginState& state, HandlerServices& services) {
  if (state.options.options_window) services.close_options_window(state);

  state.window.visible = false;
  state.requests.probe_off = true;
  state.pointer = PointerState{};

  PluginInstance& instance = *state.instance;
  instance.window = nullptr;
  services.release_frame_surfaces(state);
  // The lines are measured with the window's device context, so they go before it does.
  if (LyricDocument* panel = lyrics_panel(state)) panel->release_lines();
  services.close_window(state);
  services.delete_info_font(state);

  clear_host_records(instance);
  state.wheel.close_wheel();
  services.delete_temp_artwork(state);
  services.player().end_session();
  return kStatusOk;
}

int32_t handle_set_window(PluginState& state, HandlerServices& services, const void* record) {
  ShowMessage show;
  if (!read_message(record, show)) return kStatusBadParameter;
  if (!state.window.visible) return kStatusOk;

  state.window.window_changed = true;
  state.instance->options = show.options;
  state.instance->rect = show.rect;
  services.release_frame_surfaces(state);
  state.window.drawing_area = drawing_area_of(show.rect);
  services.create_frame_surfaces(state);
  services.layout_display(state);
  return kStatusOk;
}

}  // namespace sabla
