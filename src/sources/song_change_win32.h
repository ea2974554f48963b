#pragma once
#include <memory>

#include "state/plugin_state.h"
#include "player/player_bridge.h"
#include "sources/lyric_listing_cache.h"
#include "sources/song_change.h"

namespace sabla {

// The song-change pipeline's sources on Windows: the lyric folders and song files on disk, the
// player, and GDI+ for the artwork in the window's drawing resources.
class SystemSongChangeSources final : public SongChangeSources {
 public:
  SystemSongChangeSources(PluginState& state, PlayerBridge& player)
      : state_(state), player_(player) {}

  bool load_external_lyrics(const SongInfo& song, LyricDocument& document,
                            std::u16string& lyrics_path) override;
  bool read_song_file_lyrics(const SongInfo& song, SongLyrics& lyrics) override;
  bool player_has_current_track() override;
  bool read_text_file(std::u16string_view path, std::u16string& text) override;
  void release_artwork() override;
  std::optional<LoadedArtwork> load_artwork(const DisplayItem& item) override;
  std::optional<uint64_t> last_write_time(std::u16string_view path) override;
  bool export_ipod_notes(const SongInfo& song, std::u16string_view lyrics) override;

 private:
  PluginState& state_;
  PlayerBridge& player_;
};

// The lyric search's file system with its folder listings kept in memory: the one instance the
// song-change pipeline, the reload after a save, the options window and the re-check share.
CachedLyricSearchFiles& lyric_search_files();

// Lists the lyric folders of `settings` (and their subfolders when those are searched) into
// memory on a worker thread, watching each where the system offers that: once after each
// drop, and again after a change dropped some listings. Runs at the end of each song change
// while the visualizer shows, so the song change itself never waits for it.
void fill_lyric_folder_cache(const Settings& settings);

// Drops every listing and ends a fill ("hide", "clr ", other lyric folders).
void drop_lyric_folder_cache();

// The background re-check over the Windows file system, its spacing measured on `clock` (the
// host's idle clock, so that the end it notes compares with the times it is given).
std::unique_ptr<LyricRecheck> make_lyric_recheck(RecheckClock clock);

// The pipeline with the Windows sources and the options window's editors when it is open.
bool run_song_change(PluginState& state, PlayerBridge& player);

// Saves the lyrics panel with its timetags as the current song's lyric file. True on success.
bool save_panel_lyrics(PluginState& state);

}  // namespace sabla
