#pragma once
#include <string>

#include "sources/lyric_search_names.h"
#include "sources/safe_name.h"

namespace sabla::test {

// A song record as the host keeps one, reduced to the fields the lyric files go by.
struct TestSong {
  std::u16string title, title_safe, artist, artist_safe, album, album_safe;
  std::u16string file_path, file_name, lyrics_path;

  SongNames names() const { return song_names(*this); }
};

// A song as the track-change handling stores it: safe forms made, the file name from the path.
inline TestSong make_song(std::u16string file_path, std::u16string title, std::u16string artist,
                          std::u16string album) {
  TestSong song;
  song.title = song.title_safe = std::move(title);
  song.artist = song.artist_safe = std::move(artist);
  song.album = song.album_safe = std::move(album);
  make_file_safe(song.title_safe, kSafeTitle);
  make_file_safe(song.artist_safe, kSafeArtist);
  make_file_safe(song.album_safe, kSafeAlbum);
  song.file_path = std::move(file_path);
  make_file_safe(song.file_path, kSafePath);
  song.file_name = std::u16string(file_name_of(song.file_path));
  return song;
}

}  // namespace sabla::test
