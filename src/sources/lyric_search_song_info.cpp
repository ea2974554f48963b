#include "sources/lyric_search_song_info.h"

#include "sources/safe_name.h"

namespace sabla {

void complete_song_names(SongInfo& song) {
  song.title_safe = song.title;
  make_file_safe(song.title_safe, kSafeTitle);
  song.artist_safe = song.artist;
  make_file_safe(song.artist_safe, kSafeArtist);
  song.album_safe = song.album;
  make_file_safe(song.album_safe, kSafeAlbum);
  make_file_safe(song.file_path, kSafePath);
  if (song.file_name.empty()) {
    const size_t separator = song.file_path.rfind(u'\\');
    song.file_name =
        separator == std::u16string::npos ? song.file_path : song.file_path.substr(separator + 1);
  }
}

}  // namespace sabla
