#include "ui/editor_actions_win32.h"

#include <windows.h>

#include <array>
#include <memory>

#include "lyrics/lyric_document.h"
#include "player/txt_cleanup.h"
#include "sources/ipod_notes.h"
#include "sources/lyric_folder_paths.h"
#include "sources/lyric_save.h"
#include "sources/lyric_save_codec.h"
#include "sources/lyric_save_files_win32.h"
#include "sources/song_change.h"
#include "sources/song_file_lyrics_win32.h"
#include "sources/text_buffer.h"
#include "sources/text_file_win32.h"
#include "ui/options_window_win32.h"
#include "ui/resources/resource.h"

namespace sabla {
namespace {

constexpr int32_t kSearchFailed = 40043;
constexpr int32_t kNotesFailed = 40038;
constexpr int32_t kEmbedFailed = 40048;
constexpr int32_t kSaveFailed = 40040;
constexpr int32_t kDiscardShown = 40031;
constexpr int32_t kReadFailed = 40036;
constexpr int32_t kOverwriteInSong = 40052;
constexpr int32_t kOverwriteExternal = 40032;
constexpr int32_t kDeleteQuestion = 40033;
constexpr int32_t kDeleteFileQuestion = 40054;
constexpr int32_t kDeleteFailed = 40055;

std::u16string with_argument(std::u16string format, std::u16string_view argument) {
  const size_t at = format.find(u"%s");
  if (at != std::u16string::npos) format.replace(at, 2, argument);
  return format;
}

NewLyricsFacts edited_facts(OptionsWindow& window) {
  PluginState& state = window.state();
  return NewLyricsFacts{state.options.edited_external_file, window.song_loaded(),
                        state.options.edited_song.has_song_lyrics};
}

void choose_new_lyrics_path(OptionsWindow& window) {
  PluginState& state = window.state();
  SongInfo& edited = state.options.edited_song;
  new_lyrics_path(song_names(edited), edited_facts(window), state.settings, edited.lyrics_path,
                  unknown_names(state.strings));
}

void load_into_display(PluginState& state, std::u16string_view text) {
  if (LyricDocument* panel = lyrics_panel(state)) panel->load_text(state.song.track_total_ms, text);
}

std::u16string read_lyric_file(std::u16string_view path) {
  std::u16string text;
  if (!read_text_file(path, text)) text.clear();
  return text;
}

void enable(LyricEditorPage& page, int id, bool enabled) {
  EnableWindow(page.item(id), enabled ? TRUE : FALSE);
}

std::u16string editors_notes_lyrics(OptionsWindow& window) {
  return ipod_notes_lyrics_from_editors(window.external().text(), window.in_song().text(),
                                        meta_line_scan_limit(window.state().settings));
}

// The song file's lyrics of the edited song, through the player.
void write_song_file_lyrics(OptionsWindow& window) {
  PluginState& state = window.state();
  SongInfo& edited = state.options.edited_song;
  edited.song_lyrics = window.in_song().text();
  PlayerBridge& player = window.services().player();
  if (player.write_lyrics(edited.player_track_ids, edited.song_lyrics,
                          state.host.host_major_version, state.status)) {
    window.in_song().set_modified(false);
    if (!edited.file_path.empty()) {
      SongLyrics lyrics;
      read_song_file_lyrics(edited.file_path, lyrics, state.host.host_major_version, player,
                            state.status);
      edited.has_song_lyrics = lyrics.has;
      edited.song_lyrics = std::move(lyrics.text);
    }
    // Only the same song's record may take them: the player may have moved on meanwhile.
    if (edited.file_path == state.song.file_path) {
      state.song.has_song_lyrics = edited.has_song_lyrics;
      state.song.song_lyrics = edited.song_lyrics;
    }
    return;
  }
  edited.song_lyrics.clear();
  edited.has_song_lyrics = false;
  state.song.song_lyrics.clear();
  state.song.has_song_lyrics = false;
  window.warn(window.text(kEmbedFailed));
}

bool save_external_text(OptionsWindow& window) {
  PluginState& state = window.state();
  const SongInfo& edited = state.options.edited_song;
  const std::unique_ptr<AnsiCodec> codec = make_ansi_codec();
  SystemLyricSaveFiles files;
  const LyricSaveContext context{state.settings, *codec, files, unknown_names(state.strings),
                                 &text_file_encoding};
  if (!save_editor_lyrics(song_names(edited), window.external().text(), context)) {
    window.warn(with_argument(window.text(kSaveFailed), edited.lyrics_path));
    return false;
  }
  if (state.settings.auto_save[1] == 1) {
    export_ipod_notes(song_names(edited), editors_notes_lyrics(window), state.settings, files,
                      unknown_names(state.strings));
  }
  return true;
}

// The editors start again from the song now playing.
void reload_editors_from_current_song(OptionsWindow& window) {
  PluginState& state = window.state();
  state.sources.external_lyrics_found = window.services().load_external_lyrics(state);
  const SongInfo& song = state.song;
  if (!state.sources.external_lyrics_found && song.has_song_lyrics && !song.file_path.empty()) {
    load_into_display(state, song.song_lyrics);
  }
  state.options.edited_song = state.song;
  SongInfo& edited = state.options.edited_song;
  if (state.sources.external_lyrics_found) {
    state.options.edited_external_file = true;
    window.external().set_text(read_lyric_file(edited.lyrics_path));
  } else {
    state.options.edited_external_file = false;
    window.external().set_text(u"");
    choose_new_lyrics_path(window);
    if (edited.has_song_lyrics) load_into_display(state, edited.song_lyrics);
  }
}

void show_edited_song(OptionsWindow& window) {
  if (!window.song_loaded()) return;
  PluginState& state = window.state();
  set_window_text(window.external().item(IDC_EXTERNAL_PATH), state.options.edited_song.lyrics_path);
  enable(window.external(), IDC_EXTERNAL_SEARCH, true);
  EnableWindow(window.external().edit(), TRUE);
  for (LyricEditorPage* page : {&window.in_song(), &window.external()}) {
    page->fill_search_slots();
    enable(*page, page->ids().slots, true);
  }
  window.set_caption(options_caption(state.options.edited_song, true));
}

}  // namespace

bool apply_edits(OptionsWindow& window) {
  PluginState& state = window.state();
  state.requests.probe_off = true;
  if (window.new_host() && window.in_song().modified()) write_song_file_lyrics(window);
  choose_new_lyrics_path(window);
  if (window.external().modified() && !save_external_text(window)) return false;
  window.services().save_settings(state);
  state.requests.reload_settings_request = true;
  reload_editors_from_current_song(window);
  show_edited_song(window);
  window.in_song().set_modified(false);
  window.external().set_modified(false);
  refresh_editor_state(window);
  return true;
}

void refresh_editor_state(OptionsWindow& window) {
  PluginState& state = window.state();
  SongInfo& edited = state.options.edited_song;
  const std::u16string external = window.external().text();
  edited.song_lyrics = window.in_song().text();
  if (edited.file_name == state.song.file_name) {
    load_into_display(state, external.empty() ? std::u16string_view(edited.song_lyrics)
                                              : std::u16string_view(external));
  }
  LyricEditorPage& page = window.external();
  enable(page, IDC_EXTERNAL_IPOD_NOTES, !external.empty());
  enable(page, IDC_SEND_TO_IN_SONG, !external.empty() && window.new_host());
  enable(page, IDC_EXTERNAL_DELETE, !external.empty() || state.options.edited_external_file);
  const bool in_song_text = !edited.song_lyrics.empty();
  for (int id : {IDC_SEND_TO_EXTERNAL, IDC_IN_SONG_DELETE, IDC_IN_SONG_IPOD_NOTES}) {
    enable(window.in_song(), id, in_song_text);
  }
  edited.has_song_lyrics = in_song_text;
}

void copy_external_to_in_song(OptionsWindow& window) {
  const bool in_song_was_empty = window.in_song().text().empty();
  if (!in_song_was_empty && !window.ask(window.text(kOverwriteInSong))) {
    refresh_editor_state(window);
    return;
  }
  std::u16string text = window.external().text();
  strip_tags_for_txt(text);
  empty_meta_lines(text, meta_line_scan_limit(window.state().settings));
  if (in_song_was_empty && text.empty()) return;
  window.in_song().set_text(text);
  window.in_song().set_modified(true);
  refresh_editor_state(window);
}

void copy_in_song_to_external(OptionsWindow& window) {
  if (!window.external().text().empty() && !window.ask(window.text(kOverwriteExternal))) {
    refresh_editor_state(window);
    return;
  }
  const std::u16string text = window.in_song().text();
  if (text.empty()) return;
  window.external().set_text(text);
  window.external().set_modified(true);
  refresh_editor_state(window);
}

void delete_external_file(OptionsWindow& window) {
  PluginState& state = window.state();
  while (state.options.edited_external_file) {
    const std::u16string path = state.options.edited_song.lyrics_path;
    if (!window.ask(with_argument(window.text(kDeleteFileQuestion), path))) break;
    if (!DeleteFileW(wide(path))) {
      window.warn(window.text(kDeleteFailed));
      break;
    }
    // A folder made for the song's lyrics goes with its last file.
    const std::u16string_view folder = folder_of(path);
    if (folder_of(folder) == first_lyric_folder(state.settings)) {
      RemoveDirectoryW(wide(std::u16string(folder)));
    }
    state.sources.external_lyrics_found = window.services().load_external_lyrics(state);
    state.options.edited_song = state.song;
    if (state.sources.external_lyrics_found) {
      state.options.edited_external_file = true;
      window.external().set_text(read_lyric_file(state.options.edited_song.lyrics_path));
      continue;
    }
    state.options.edited_external_file = false;
    if (state.song.has_song_lyrics) load_into_display(state, state.song.song_lyrics);
  }
  SongInfo& edited = state.options.edited_song;
  if (state.sources.external_lyrics_found) {
    window.external().set_text(read_lyric_file(edited.lyrics_path));
  } else {
    state.options.edited_external_file = false;
    window.external().set_text(u"");
    choose_new_lyrics_path(window);
    if (window.in_song().text().empty()) offer_ipod_notes_delete(window);
  }
  set_window_text(window.external().item(IDC_EXTERNAL_PATH), edited.lyrics_path);
  if (!state.options.edited_external_file && edited.has_song_lyrics) {
    load_into_display(state, edited.song_lyrics);
  }
  refresh_editor_state(window);
}

void offer_ipod_notes_delete(OptionsWindow& window) {
  PluginState& state = window.state();
  const SongInfo& edited = state.options.edited_song;
  const std::u16string_view folder = state.settings.to_iPod_text_path;
  const size_t dot = edited.file_name.find_last_of(u'.');
  if (folder.empty() || edited.file_name.empty()) return;
  const std::u16string name =
      edited.file_name.substr(0, dot == std::u16string::npos ? edited.file_name.size() : dot) +
      u".txt";
  const UnknownNames unknown = unknown_names(state.strings);
  const SongNames names = song_names(edited);
  const std::u16string base = std::u16string(folder) + u"\\";
  const std::u16string artist = base + std::u16string(artist_folder_name(names, unknown));
  const std::u16string album = base + std::u16string(album_folder_name(names, unknown));
  const std::u16string artist_album =
      artist + u"\\" + std::u16string(album_folder_name(names, unknown));
  const std::array<std::u16string, 4> files{base + name, artist + u"\\" + name,
                                            album + u"\\" + name, artist_album + u"\\" + name};
  bool any = false;
  for (const std::u16string& file : files) {
    const HANDLE handle = CreateFileW(wide(file), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
      any = true;
    }
  }
  if (!any || !window.ask(window.text(kDeleteQuestion))) return;
  DeleteFileW(wide(files[0]));
  DeleteFileW(wide(files[1]));
  RemoveDirectoryW(wide(artist));
  DeleteFileW(wide(files[2]));
  RemoveDirectoryW(wide(album));
  DeleteFileW(wide(files[3]));
  RemoveDirectoryW(wide(artist_album));
  RemoveDirectoryW(wide(artist));
}

void open_file_into(OptionsWindow& window, LyricEditorPage& page) {
  std::u16string text = page.text();
  if (!text.empty() && !window.ask(window.text(kDiscardShown))) return;
  PluginState& state = window.state();
  if (const std::optional<std::u16string> path =
          window.services().choose_lyric_file(state, window.window())) {
    std::u16string chosen;
    if (!read_text_file(*path, chosen)) {
      window.warn(window.text(kReadFailed));
      refresh_editor_state(window);
      return;
    }
    normalize_line_ends(chosen);
    text = std::move(chosen);
    state.settings.load_btn_path = std::u16string(folder_of(*path));
  }
  // A cancelled dialog still counts as an edit of the (unchanged) text.
  page.set_text(text);
  page.set_modified(true);
  refresh_editor_state(window);
}

void export_editor_ipod_notes(OptionsWindow& window) {
  PluginState& state = window.state();
  SystemLyricSaveFiles files;
  if (!export_ipod_notes(song_names(state.options.edited_song), editors_notes_lyrics(window),
                         state.settings, files, unknown_names(state.strings))) {
    window.warn(window.text(kNotesFailed));
  }
}

void search_edited_song(OptionsWindow& window) {
  if (!window.song_loaded()) return;
  PluginState& state = window.state();
  const SongInfo& edited = state.options.edited_song;
  if (!window.services().launch_search(state, edited.artist, edited.title, edited.album,
                                       state.settings.URL_set)) {
    window.warn(window.text(kSearchFailed));
  }
}

}  // namespace sabla
