#pragma once
// The song-change pipeline: everything that depends on the playing song is loaded again here,
// after each track change, at "show", on a reload request and from the options window.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "state/frame_state.h"
#include "state/string_table.h"
#include "player/player_types.h"
#include "sources/lyric_folder_paths.h"

namespace sabla {

struct PluginState;
struct SongInfo;
struct DisplayItem;
class LyricDocument;

// The interface texts of the pipeline.
inline constexpr int32_t kDiscardOtherSongQuestion = 40035;
inline constexpr int32_t kDiscardSameSongQuestion = 40034;
inline constexpr std::u16string_view kSavedNotesStatus = u"Saved iPod notes";
inline constexpr std::u16string_view kNotesFailedStatus = u"iPod notes save failed";
inline constexpr int32_t kNotesStatusFrames = 50;

// The artwork as the pipeline rendered it: the image's own size and the size it is shown at.
struct LoadedArtwork {
  Size image;
  Size fitted;
};

// What the pipeline reaches out to: the file system, the player, GDI and GDI+. Windows has one
// implementation; tests script their own.
class SongChangeSources {
 public:
  virtual ~SongChangeSources() = default;
  // Finds and reads the song's external lyric file into `document` (setting `lyrics_path`);
  // false, with the document emptied, when there is none.
  virtual bool load_external_lyrics(const SongInfo& song, LyricDocument& document,
                                    std::u16string& lyrics_path) = 0;
  // The lyrics stored in the song file; false when it holds none.
  virtual bool read_song_file_lyrics(const SongInfo& song, SongLyrics& lyrics) = 0;
  virtual bool player_has_current_track() = 0;
  // A lyric file's text (the options window shows it); false when unreadable.
  virtual bool read_text_file(std::u16string_view path, std::u16string& text) = 0;
  // Frees the two artwork bitmaps.
  virtual void release_artwork() = 0;
  // Has the player save the current track's artwork (or the default artwork) and renders it
  // fitted into `item`; nothing when it cannot be loaded or is empty.
  virtual std::optional<LoadedArtwork> load_artwork(const DisplayItem& item) = 0;
  virtual std::optional<uint64_t> last_write_time(std::u16string_view path) = 0;
  // Writes the notes file of `song` with `lyrics` (plain lines); false on failure.
  virtual bool export_ipod_notes(const SongInfo& song, std::u16string_view lyrics) = 0;
};

// The options window's part in a song change: its editors, path fields and caption. The options
// window implements it while it is open.
class SongChangeEditors {
 public:
  virtual ~SongChangeEditors() = default;
  // Enables the editor controls and refills both search-site lists, selecting `URL_set`.
  virtual void enable_for_song() = 0;
  virtual void disable_controls() = 0;
  // Whether the external-text or the song-file editor holds unsaved changes.
  virtual bool has_unsaved_changes() = 0;
  // Asks `question` with Yes and No, captioned "Sabla"; true for Yes.
  virtual bool ask_discard(std::u16string_view question) = 0;
  virtual void set_insert_button_enabled(bool enabled) = 0;
  virtual void set_external_text(std::u16string_view text) = 0;
  virtual void set_song_file_text(std::u16string_view text) = 0;
  virtual std::u16string external_text() = 0;
  virtual std::u16string song_file_text() = 0;
  virtual void show_paths(std::u16string_view lyrics_path, std::u16string_view file_path) = 0;
  virtual void set_caption(std::u16string_view caption) = 0;
  // Both editors count as unchanged again; the buttons follow the new state.
  virtual void clear_modified_and_refresh() = 0;
};

// The folder names for a song without artist or album, from the interface texts when they have
// them.
UnknownNames unknown_names(const StringTable& strings);

// The caption of the options window for a song: "<title> - Sabla", or "Sabla" without a song.
std::u16string options_caption(const SongInfo& song, bool song_loaded);

// Runs the pipeline for the current song. `editors` is the open options window, or null. True
// when it ran to its end; false when it was already running, when the user chose to keep editing
// or when the player has no current track.
bool load_song_lyrics(PluginState& state, SongChangeSources& sources, SongChangeEditors* editors);

}  // namespace sabla
