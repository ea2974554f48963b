#include "sources/song_change.h"

#include "state/plugin_state.h"
#include "state/plugin_state.h"
#include "lyrics/lyric_document.h"
#include "sources/ipod_notes.h"
#include "sources/lyric_folder_paths.h"
#include "sources/lyric_save.h"
#include "sources/lyric_search_names.h"
#include "sources/text_buffer.h"

namespace sabla {
namespace {

constexpr int32_t kNotesTextUnits = 32768;

// Clears the busy flag however the question ends.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

// The user may hold edits in the options window that the new song would replace. False when
// the user chose to keep editing.
bool settle_unsaved_edits(PluginState& state, SongChangeEditors& editors) {
  if (state.clock.track_info_valid) editors.enable_for_song();
  if (!editors.has_unsaved_changes()) return true;

  BusyScope busy(state.sources.pipeline_busy);
  const bool other_song = state.song.file_path != state.options.edited_song.file_path;
  // Timetags stamped while another song plays would land in the wrong lyrics.
  editors.set_insert_button_enabled(!other_song);
  return editors.ask_discard(state.strings.text(other_song ? kDiscardOtherSongQuestion
                                                           : kDiscardSameSongQuestion));
}

NewLyricsFacts new_lyrics_facts(const SongInfo& song, bool external_file, bool song_loaded) {
  return NewLyricsFacts{external_file, song_loaded, song.has_song_lyrics};
}

// Puts the chosen lyrics into the document and, when it is open, the options window.
void choose_lyrics(PluginState& state, SongChangeSources& sources, SongChangeEditors* editors,
                   LyricDocument* panel) {
  SongInfo& edited = state.options.edited_song;
  if (state.sources.external_lyrics_found) {
    if (!editors) return;
    state.options.edited_external_file = true;
    std::u16string text;
    if (!sources.read_text_file(edited.lyrics_path, text)) text.clear();
    editors->set_external_text(text);
    return;
  }
  if (editors) {
    if (edited.has_song_lyrics && panel) panel->load_text(edited.track_total_ms, edited.song_lyrics);
    state.options.edited_external_file = false;
    editors->set_external_text(u"");
    new_lyrics_path(song_names(edited), new_lyrics_facts(edited, false, state.clock.track_info_valid),
                    state.settings, edited.lyrics_path);
    return;
  }
  if (state.song.has_song_lyrics && panel) {
    panel->load_text(state.song.track_total_ms, state.song.song_lyrics);
  }
}

void show_in_options_window(PluginState& state, SongChangeEditors& editors) {
  const SongInfo& edited = state.options.edited_song;
  editors.show_paths(edited.lyrics_path, edited.file_path);
  editors.set_caption(options_caption(edited, state.clock.track_info_valid));
  std::u16string song_file_text;
  if (state.host.host_major_version > 4) {
    song_file_text = edited.song_lyrics;
    normalize_line_ends(song_file_text);
  }
  editors.set_song_file_text(song_file_text);
  editors.clear_modified_and_refresh();
}

void load_artwork(PluginState& state, SongChangeSources& sources) {
  sources.release_artwork();
  state.frame.artwork_size = Size{};
  state.frame.artwork_cache_size = Size{};
  const DisplayItem* item = state.settings.items[kCoverArtItem].get();
  if (!item || item->draw_order < 0) return;
  if (const std::optional<LoadedArtwork> artwork = sources.load_artwork(*item)) {
    state.frame.artwork_size = artwork->image;
    state.frame.artwork_cache_size = artwork->fitted;
  }
}

void export_notes_automatically(PluginState& state, SongChangeSources& sources,
                                SongChangeEditors* editors, const LyricDocument* panel) {
  const bool has_lines = panel && panel->line_count() > 0;
  if (state.settings.auto_save[1] != 1 || !(state.song.has_song_lyrics || has_lines)) return;
  bool saved = false;
  if (editors) {
    saved = sources.export_ipod_notes(
        state.options.edited_song,
        ipod_notes_lyrics_from_editors(editors->external_text(), editors->song_file_text(),
                                       meta_line_scan_limit(state.settings)));
  } else {
    const std::u16string lyrics = panel ? panel->join_display_texts(kNotesTextUnits) : u"";
    saved = sources.export_ipod_notes(state.song, lyrics);
  }
  state.status.text = saved ? kSavedNotesStatus : kNotesFailedStatus;
  state.status.frames = kNotesStatusFrames;
}

}  // namespace

UnknownNames unknown_names(const StringTable& strings) {
  UnknownNames names;
  if (const std::u16string_view artist = strings.text(40029); !artist.empty()) names.artist = artist;
  if (const std::u16string_view album = strings.text(40028); !album.empty()) names.album = album;
  return names;
}

std::u16string options_caption(const SongInfo& song, bool song_loaded) {
  if (!song_loaded) return u"Sabla";
  return song.title + u" - Sabla";
}

bool load_song_lyrics(PluginState& state, SongChangeSources& sources, SongChangeEditors* editors) {
  if (state.sources.pipeline_busy) return false;
  if (editors && !settle_unsaved_edits(state, *editors)) return false;

  LyricDocument* panel = lyrics_panel(state);
  if (panel) panel->return_to_automatic();
  state.requests.lyrics_modified = false;

  if (panel) {
    state.sources.external_lyrics_found =
        sources.load_external_lyrics(state.song, *panel, state.song.lyrics_path);
    // A lyric file that gives no line is offered for deletion at the next idle call; otherwise
    // it would hide the song-file lyrics and stop the look for a better file for good.
    if (state.sources.external_lyrics_found && panel->line_count() == 0) {
      state.requests.delete_file_request = true;
      state.requests.delete_file_path = state.song.lyrics_path;
    }
  } else {
    state.sources.external_lyrics_found = false;
  }
  SongLyrics song_lyrics;
  sources.read_song_file_lyrics(state.song, song_lyrics);
  state.song.has_song_lyrics = song_lyrics.has;
  state.song.song_lyrics = std::move(song_lyrics.text);

  if (state.clock.track_info_valid) {
    if (!sources.player_has_current_track()) {
      state.song = SongInfo{};
      state.options.edited_song = SongInfo{};
      state.clock.track_info_valid = false;
      sources.release_artwork();
      state.frame.artwork_size = Size{};
      state.frame.artwork_cache_size = Size{};
      if (editors) editors->disable_controls();
      return false;
    }
    if (editors) state.options.edited_song = state.song;
  }

  choose_lyrics(state, sources, editors, panel);
  if (editors) show_in_options_window(state, *editors);
  load_artwork(state, sources);

  new_lyrics_path(song_names(state.song),
                  new_lyrics_facts(state.song, state.sources.external_lyrics_found,
                                   state.clock.track_info_valid),
                  state.settings, state.song.lyrics_path);
  state.sources.song_file_write_time = sources.last_write_time(state.song.file_path);

  export_notes_automatically(state, sources, editors, panel);
  state.requests.probe_off = false;
  return true;
}

}  // namespace sabla
