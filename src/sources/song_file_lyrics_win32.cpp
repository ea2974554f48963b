#include "sources/song_file_lyrics_win32.h"

#include "sources/file_byte_source_win32.h"
#include "sources/song_file_lyrics.h"

namespace sabla {

bool read_song_file_lyrics(std::u16string_view file_path, SongLyrics& lyrics,
                           int32_t host_major_version, PlayerBridge& player,
                           StatusMessage& status) {
  try {
    const auto ansi = make_ansi_code_page();
    const SongLyricsAccess access{host_major_version, player, status, *ansi, open_file_byte_source};
    return read_song_file_lyrics(file_path, lyrics, access);
  } catch (...) {
    lyrics = {};
    return false;
  }
}

}  // namespace sabla
