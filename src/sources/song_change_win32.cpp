#include "sources/song_change_win32.h"

#include <atomic>
#include <memory>
#include <vector>

#include "display/artwork_load_win32.h"
#include "state/plugin_state.h"
#include "state/window_drawing_win32.h"
#include "lyrics/lyric_document.h"
#include "sources/ipod_notes.h"
#include "sources/lyric_save_codec.h"
#include "sources/lyric_save_document.h"
#include "sources/lyric_save_files_win32.h"
#include "sources/lyric_listing_cache_win32.h"
#include "sources/lyric_search_files_win32.h"
#include "sources/lyric_search_load.h"
#include "sources/song_file_lyrics_win32.h"
#include "sources/text_file_win32.h"
#include "state/worker_thread.h"

namespace sabla {
namespace {

const LyricSearchFiles& search_files() { return lyric_search_files(); }

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

CachedLyricSearchFiles& lyric_search_files() {
  // Static, as the workers that use them may outlive any owner: the library stays loaded while
  // one runs (see WorkerThread). The cache is never destroyed: at process exit a worker killed
  // while holding its lock would leave the detach waiting for it. "clr " has dropped everything
  // it held by then.
  static const SystemLyricSearchFiles system;
  static const SystemFolderListingSource source;
  static CachedLyricSearchFiles& files = *new CachedLyricSearchFiles(system, source);
  return files;
}

namespace {

// The fill running or last run, on the host thread only.
struct FillState {
  std::shared_ptr<std::atomic<bool>> stop;
  std::shared_ptr<std::atomic<bool>> done;
};

FillState& fill_state() {
  static FillState state;
  return state;
}

}  // namespace

void fill_lyric_folder_cache(const Settings& settings) {
  FillState& fill = fill_state();
  const bool running = fill.done && !fill.done->load(std::memory_order_acquire);
  if (running || lyric_search_files().filled()) return;
  std::vector<std::u16string> folders;
  for (const std::u16string& folder : settings.path) {
    if (!folder.empty()) folders.push_back(folder);
  }
  if (folders.empty()) return;
  try {
    auto stop = std::make_shared<std::atomic<bool>>(false);
    auto done = std::make_shared<std::atomic<bool>>(false);
    // The thread is never waited for: it ends at its next folder once stopped or cleared.
    if (start_worker_thread([job = lyric_search_files().fill_job(std::move(folders),
                                                                 settings.find_sdir == 1, stop),
                             done] {
          job();
          done->store(true, std::memory_order_release);
        })) {
      fill.stop = std::move(stop);
      fill.done = std::move(done);
    }
  } catch (...) {
    // Without the fill, the searches list and stamp the folders themselves.
  }
}

void drop_lyric_folder_cache() {
  FillState& fill = fill_state();
  if (fill.stop) fill.stop->store(true, std::memory_order_release);
  fill = FillState{};
  lyric_search_files().clear();
}

std::unique_ptr<LyricRecheck> make_lyric_recheck(RecheckClock clock) {
  return std::make_unique<LyricRecheck>(search_files(), std::move(clock), &start_worker_thread);
}

bool run_song_change(PluginState& state, PlayerBridge& player) {
  SystemSongChangeSources sources(state, player);
  const bool ran = load_song_lyrics(state, sources, state.options.editors);
  // Folders a change dropped are listed and watched again before the next song, not by it.
  if (state.window.visible) fill_lyric_folder_cache(state.settings);
  return ran;
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
