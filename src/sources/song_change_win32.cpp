#include "sources/song_change_win32.h"

#include "display/artwork_load_win32.h"
#include "state/plugin_state.h"
#include "state/window_drawing_win32.h"
#include "lyrics/lyric_document.h"
#include "sources/ipod_notes.h"
#include "sources/lyric_save_codec.h"
#include "sources/lyric_save_document.h"
#include "sources/lyric_save_files_win32.h"
#include "sources/lyric_search_files_win32.h"
#include "sources/lyric_search_load.h"
#include "sources/song_file_lyrics_win32.h"
#include "sources/text_file_win32.h"

namespace sabla {
namespace {

// Stateless, so one serves the host thread and the background re-check alike.
const SystemLyricSearchFiles& search_files() {
  static const SystemLyricSearchFiles files;
  return files;
}

std::wstring wide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

}  // namespace

bool SystemSongChangeSources::load_external_lyrics(const SongInfo& song, LyricDocument& document,
                                                   std::u16string& lyrics_path) {
  return sabla::load_external_lyrics(song_names(song), state_.settings, search_files(), document,
                                     song.track_total_ms, lyrics_path,
                                     unknown_names(state_.strings));
}

bool SystemSongChangeSources::read_song_file_lyrics(const SongInfo& song, SongLyrics& lyrics) {
  return sabla::read_song_file_lyrics(song.file_path, lyrics, state_.host.host_major_version,
                                      player_, state_.status);
}

bool SystemSongChangeSources::player_has_current_track() {
  return player_.has_current_track(state_.status);
}

bool SystemSongChangeSources::read_text_file(std::u16string_view path, std::u16string& text) {
  return sabla::read_text_file(path, text);
}

void SystemSongChangeSources::release_artwork() {
  if (WindowDrawing* drawing = window_drawing(state_)) sabla::release_artwork(*drawing);
}

std::optional<LoadedArtwork> SystemSongChangeSources::load_artwork(const DisplayItem& item) {
  WindowDrawing* drawing = window_drawing(state_);
  const std::u16string& path = state_.host.temp_artwork_path;
  if (!drawing || path.empty()) return std::nullopt;
  player_.save_artwork(path, state_.settings.default_artwork, state_.status);
  return render_artwork_file(*drawing, wide(path), item);
}

std::optional<uint64_t> SystemSongChangeSources::last_write_time(std::u16string_view path) {
  if (path.empty()) return std::nullopt;
  return search_files().last_write_time(path);
}

bool SystemSongChangeSources::export_ipod_notes(const SongInfo& song, std::u16string_view lyrics) {
  SystemLyricSaveFiles files;
  return sabla::export_ipod_notes(song_names(song), lyrics, state_.settings, files,
                                  unknown_names(state_.strings));
}

std::unique_ptr<LyricRecheck> make_lyric_recheck(RecheckClock clock) {
  return std::make_unique<LyricRecheck>(search_files(), std::move(clock), &start_worker_thread);
}

bool run_song_change(PluginState& state, PlayerBridge& player) {
  SystemSongChangeSources sources(state, player);
  return load_song_lyrics(state, sources, state.options.editors);
}

bool save_panel_lyrics(PluginState& state) {
  LyricDocument* panel = lyrics_panel(state);
  if (!panel) return false;
  const std::unique_ptr<AnsiCodec> codec = make_ansi_codec();
  SystemLyricSaveFiles files;
  const LyricSaveContext context{state.settings, *codec, files, unknown_names(state.strings),
                                 &text_file_encoding};
  const DocumentSong song{song_names(state.song), state.song.lyrics_path,
                          NewLyricsFacts{state.sources.external_lyrics_found,
                                         state.clock.track_info_valid,
                                         state.song.has_song_lyrics},
                          state.song.track_total_ms};
  return save_document_lyrics(*panel, song, context, search_files(),
                              state.sources.external_lyrics_found);
}

}  // namespace sabla
