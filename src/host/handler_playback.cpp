// The idle call's lyric clock, render data, play and track change, position, pause and stop.
#include <cstring>

#include "host/handler_steps.h"
#include "state/host_records.h"
#include "state/playback_clock.h"
#include "state/render_levels.h"
#include "state/track_info.h"
#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

constexpr std::u16string_view kSavedLrcStatus = u"Saved lrc";
constexpr int32_t kStatusFrames = 50;
constexpr int32_t kSaveFailedText = 40039;

// A record the message marks absent, or names without a pointer, is taken as zeros.
template <typename Record>
void copy_host_record(Record& copy, uint32_t present, const Record* source) {
  if (present && source) {
    std::memcpy(&copy, source, sizeof copy);
  } else {
    std::memset(&copy, 0, sizeof copy);
  }
}

// Timetags edited in edit mode belong to the song that is ending: they are saved before the
// song's information is replaced.
void save_edited_lyrics(PluginState& state, HandlerServices& services) {
  const LyricDocument* panel = lyrics_panel(state);
  if (!state.requests.lyrics_modified || !panel || panel->line_count() == 0 ||
      !panel->edit_mode()) {
    return;
  }
  if (services.save_document_lyrics(state)) {
    state.status.text = kSavedLrcStatus;
    state.status.frames = kStatusFrames;
    state.requests.lyrics_modified = false;
  } else {
    services.warn(state, state.strings.text(kSaveFailedText));
  }
}

}  // namespace

int32_t handle_idle(PluginState& state, HandlerServices& services) {
  state.clock.now_ms = services.now_ms();
  if (state.window.visible) {
    const int32_t second = services.player().player_position(state.status);
    if (second < 0 && state.options.options_window) {
      // The player went away under the options window, which cannot work without it.
      state.clock.player_second = -1;
      services.close_options_window(state);
      return kStatusOk;
    }
    sync_clock(state.clock, second, state.instance->playing);
  }
  services.idle_processing(state);
  return kStatusOk;
}

int32_t handle_render(PluginState& state, const void* record) {
  RenderMessage render;
  if (!read_message(record, render)) return kStatusBadParameter;
  take_render_data(state.instance->render, render.data, render.time_stamp);
  return kStatusOk;
}

int32_t handle_play(PluginState& state, HandlerServices& services, const void* record,
                    bool track_change) {
  PluginInstance& instance = *state.instance;
  if (track_change) {
    ChangeTrackMessage change;
    if (!read_message(record, change)) return kStatusBadParameter;
    copy_host_record(instance.track, change.has_track, change.track);
    copy_host_record(instance.stream, change.has_stream, change.stream);
  } else {
    PlayMessage play;
    if (!read_message(record, play)) return kStatusBadParameter;
    copy_host_record(instance.track, play.has_track, play.track);
    copy_host_record(instance.stream, play.has_stream, play.stream);
  }

  PlaybackClock& clock = state.clock;
  const bool had_track_info = clock.track_info_valid;
  clock.track_info_valid = true;
  clock.playing_started = true;

  // Play after a pause: the lyrics go on where they stood.
  if (!track_change && had_track_info && is_same_song(state.song, instance.track)) {
    continue_clock(clock, state.settings.delay_pause);
    instance.playing = true;
    return kStatusOk;
  }

  save_edited_lyrics(state, services);
  store_track_info(state.song, instance.track, services.player(), state.status);
  clock.play_time = static_cast<int32_t>(state.song.track_start_ms);
  if (state.window.visible) state.requests.probe_off = !services.load_song_lyrics(state);
  start_clock(clock, static_cast<int32_t>(state.song.track_start_ms),
              track_change ? state.settings.delay_nextstart : state.settings.delay_playstart);
  fill_info_items(state.info_texts, state.song);
  instance.playing = true;
  return kStatusOk;
}

int32_t handle_set_position(PluginState& state, const void* record) {
  SetPositionMessage position;
  if (!read_message(record, position)) return kStatusBadParameter;
  const auto position_ms = static_cast<int32_t>(position.position_ms);
  state.instance->seek_position_ms = position_ms;
  set_clock_position(state.clock, position_ms);
  return kStatusOk;
}

int32_t handle_pause(PluginState& state) {
  state.instance->playing = false;
  clear_render_data(state.instance->render);
  return kStatusOk;
}

int32_t handle_stop(PluginState& state) {
  state.clock.playing_started = false;
  return handle_pause(state);
}

int32_t handle_unpause(PluginState& state) {
  // The timer ran on while the song stood still; without this the lyrics would jump ahead by
  // the length of the pause until the player's next whole second.
  if (!state.instance->playing) continue_clock(state.clock, 0);
  state.instance->playing = true;
  return kStatusOk;
}

}  // namespace sabla
