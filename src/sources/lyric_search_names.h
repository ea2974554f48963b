#pragma once
#include <string>

namespace sabla {

// The names of a song that its lyric files are found and named by, copied out of the song
// record (the current song or the options window's edited copy), so they stay valid whatever
// happens to the record meanwhile.
struct SongNames {
  std::u16string title;
  std::u16string title_safe;  // make_file_safe(title, kSafeTitle)
  std::u16string artist;
  std::u16string artist_safe;  // make_file_safe(artist, kSafeArtist)
  std::u16string album;
  std::u16string album_safe;   // make_file_safe(album, kSafeAlbum)
  std::u16string file_path;    // the song file, after make_file_safe(.., kSafePath)
  std::u16string file_name;    // with extension
  std::u16string lyrics_path;  // the external lyric file found or chosen, if any
};

// The names of any song record that has these fields under these names.
template <class Song>
SongNames song_names(const Song& song) {
  return SongNames{song.title,      song.title_safe, song.artist,    song.artist_safe, song.album,
                   song.album_safe, song.file_path,  song.file_name, song.lyrics_path};
}

}  // namespace sabla
