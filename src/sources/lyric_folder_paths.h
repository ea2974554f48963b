#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "sources/lyric_search_names.h"

namespace sabla {

// The folder names used for a song without an artist or an album (interface strings 40029 and
// 40028).
struct UnknownNames {
  std::u16string artist = u"不明なアーティスト";
  std::u16string album = u"不明なアルバム";
  friend bool operator==(const UnknownNames&, const UnknownNames&) = default;
};

// `path` without its extension: cut at the last '.' of its last component. A '.' in a folder
// name is not an extension, so a name without one is returned whole.
std::u16string_view without_extension(std::u16string_view path);
// Whether the last component of `path` has a '.'.
bool has_extension(std::u16string_view path);
// The folder of `path` without the separator at its end; empty when `path` has no '\'.
std::u16string_view folder_of(std::u16string_view path);

// The artist and album as folder names: the safe forms, or the unknown names when empty.
std::u16string_view artist_folder_name(const SongNames& song, const UnknownNames& unknown);
std::u16string_view album_folder_name(const SongNames& song, const UnknownNames& unknown);

// The first lyric folder (the external text folder), or empty when none is set.
std::u16string_view first_lyric_folder(const Settings& settings);

// Where the folder choices of `new_file` 2 and 3 place new lyric files: "<first folder>\<artist>"
// and "<first folder>\<artist>\<album>". Empty when there is no first lyric folder.
std::u16string artist_lyric_folder(const SongNames& song, const Settings& settings,
                                   const UnknownNames& unknown);
std::u16string album_lyric_folder(const SongNames& song, const Settings& settings,
                                  const UnknownNames& unknown);

// What decides whether a song gets a path for a new lyric file.
struct NewLyricsFacts {
  bool external_file_exists = false;
  bool song_loaded = false;
  bool has_song_lyrics = false;  // lyrics were read from the song file
};

// Chooses `lyrics_path` for a song that has no external lyric file yet, by the two `new_file`
// choices: the folder (0 the song's folder, 1 the first lyric folder, 2 its artist subfolder,
// 3 its artist\album subfolder) and the name (0 the song file's name, 1 the title, 2 "artist -
// title"), always with ".txt". Nothing changes when an external file exists, or when no song is
// loaded and the song holds no lyrics of its own. Choices outside those ranges count as 0. When
// the chosen folder is unknown (no first lyric folder) the path is emptied rather than pointing
// at the root of the current drive.
void new_lyrics_path(const SongNames& song, const NewLyricsFacts& facts, const Settings& settings,
                     std::u16string& lyrics_path, const UnknownNames& unknown = {});

}  // namespace sabla
