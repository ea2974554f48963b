#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "state/song_info.h"

namespace sabla {

class SongChangeEditors;

// What other parts of the plug-in ask the next idle call to do, and the flags that gate it.
// Dialogs never act on the display directly: they leave a request here.
struct Requests {
  bool reload_settings_request = false;
  bool fonts_changed = false;
  bool reload_lyrics_request = false;
  bool delete_file_request = false;
  std::u16string delete_file_path;  // the unreadable lyric file the request is about
  bool probe_off = false;           // the empty lyrics panel starts no background re-check
  bool lyrics_modified = false;     // timetags edited in edit mode and not saved
  std::array<bool, 8> search_key_fired{};
  // Written by the version-check threads: 1 newer, 0 not newer, -1 the check failed.
  std::atomic<int32_t> new_version_pending{0};
  std::atomic<int32_t> new_beta_pending{0};
};

// The modeless options window, when it exists.
struct OptionsWindowState {
  void* options_window = nullptr;
  bool options_open = false;
  // False while the window and its pages are being built: their fields' change notifications
  // are not the user's.
  bool initialised = false;
  // The open window's editors, for the song-change pipeline; null while it is closed.
  SongChangeEditors* editors = nullptr;
  // The song the editors work on: a copy of the current song, taken by the song-change pipeline.
  SongInfo edited_song;
  bool edited_external_file = false;  // the edited song has an external lyric file
};

}  // namespace sabla
