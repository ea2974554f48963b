#include "display/lyrics_panel_empty.h"

#include "state/plugin_state.h"
#include "sources/lyric_recheck.h"
#include "sources/lyric_search_names.h"

namespace sabla {
namespace {

// Frames the hint waits, once in the plug-in's life, so that it does not flash up while the
// lyrics of a song that has them are still being loaded.
constexpr int32_t kHintDelayFrames = 10;

}  // namespace

bool options_editors_unsaved(const OptionsWindowState&) {
  // The window does not keep its editors' modified marks here yet; until it does, a reload can
  // lose nothing it holds.
  return false;
}

bool recheck_held(const Requests& requests, bool editors_unsaved) {
  return requests.delete_file_request || editors_unsaved;
}

bool check_lyrics_while_empty(PluginState& state) {
  LyricRecheck* recheck = state.sources.recheck.get();
  if (!recheck || recheck_held(state.requests, options_editors_unsaved(state.options))) {
    return false;
  }
  bool started = false;
  if (!state.requests.probe_off && !recheck->running()) {
    started = recheck->start_if_due(state.clock.now_ms, [&state] {
      return make_recheck_job(song_names(state.song), state.settings,
                              state.sources.song_file_write_time);
    });
  }
  if (const std::optional<RecheckReport> report = recheck->take_report()) {
    if (apply_recheck_report(*report, state.song.file_path, state.song.lyrics_path)) {
      state.requests.reload_lyrics_request = true;
    }
  }
  return started;
}

bool hint_frame_due(int32_t& hint_frames) {
  if (hint_frames >= kHintDelayFrames) return true;
  ++hint_frames;
  return false;
}

bool hint_due(PluginState& state) {
  if (state.settings.beginner != 1 || !state.clock.track_info_valid || state.options.options_open) {
    return false;
  }
  return hint_frame_due(state.frame.hint_frames);
}

std::u16string format_texts(std::u16string_view pattern,
                            std::initializer_list<std::u16string_view> args) {
  std::u16string out;
  out.reserve(pattern.size());
  const std::u16string_view* next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    const char16_t following = i + 1 < pattern.size() ? pattern[i + 1] : u'\0';
    if (c == u'%' && following == u's') {
      if (next != args.end()) out += *next++;
      ++i;
    } else if (c == u'%' && following == u'%') {
      out += u'%';
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::u16string_view song_folder(std::u16string_view file_path) {
  const size_t separator = file_path.rfind(u'\\');
  if (separator == std::u16string_view::npos) return file_path;
  return file_path.substr(0, separator + 1);
}

std::u16string no_lyrics_hint(const PluginState& state) {
  return format_texts(
      state.strings.text(kNoLyricsHintId),
      {state.song.title_safe, song_folder(state.song.file_path), state.settings.path[0]});
}

}  // namespace sabla
