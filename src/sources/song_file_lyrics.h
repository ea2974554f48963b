#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "player/player_bridge.h"
#include "player/player_types.h"
#include "settings/code_page.h"
#include "sources/byte_source.h"

namespace sabla {

// Opens a song file for reading its bytes; nullptr when it cannot be opened.
using SongFileOpener = std::function<std::unique_ptr<ByteSource>(std::u16string_view path)>;

// What reading a song's own lyrics reaches out to.
struct SongLyricsAccess {
  int32_t host_major_version = 0;
  PlayerBridge& player;
  StatusMessage& status;  // the player's busy notice lands here
  const CodePage& ansi;   // the system's code page, for 8-bit lyrics frames
  SongFileOpener open_file;
};

// Fills `lyrics` with the lyrics stored inside the song at `file_path`; true when some were
// found. Hosts before version 5 keep none, and nothing is read unless the player says the
// current track carries lyrics. Versions 5 and 6 read them from the file's bytes; later ones
// are asked for them. Either way the text comes with CR LF line ends.
bool read_song_file_lyrics(std::u16string_view file_path, SongLyrics& lyrics,
                           const SongLyricsAccess& access);

}  // namespace sabla
