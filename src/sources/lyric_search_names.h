#pragma once
#include <string_view>

namespace sabla {

// The names of a song that its lyric files are found and named by, as views into the song
// record (the current song or the options window's edited copy). Valid while the record is
// unchanged; whatever must outlive a call is copied.
struct SongNames {
  std::u16string_view title;
  std::u16string_view title_safe;  // make_file_safe(title, kSafeTitle)
  std::u16string_view artist;
  std::u16string_view artist_safe;  // make_file_safe(artist, kSafeArtist)
  std::u16string_view album;
  std::u16string_view album_safe;   // make_file_safe(album, kSafeAlbum)
  std::u16string_view file_path;    // the song file, after make_file_safe(.., kSafePath)
  std::u16string_view file_name;    // with extension
  std::u16string_view lyrics_path;  // the external lyric file found or chosen, if any
};

// The names of any song record that has these fields under these names.
template <class Song>
SongNames song_names(const Song& song) {
  return SongNames{song.title,      song.title_safe, song.artist,    song.artist_safe, song.album,
                   song.album_safe, song.file_path,  song.file_name, song.lyrics_path};
}

}  // namespace sabla
