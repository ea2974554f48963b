#pragma once
#include <cstdint>
#include <string_view>

#include "player/player_bridge.h"
#include "player/player_types.h"

namespace sabla {

// read_song_file_lyrics over the real file system and the system's code page.
bool read_song_file_lyrics(std::u16string_view file_path, SongLyrics& lyrics,
                           int32_t host_major_version, PlayerBridge& player, StatusMessage& status);

}  // namespace sabla
