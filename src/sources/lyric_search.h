#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "sources/lyric_folder_paths.h"
#include "sources/lyric_search_files.h"
#include "sources/lyric_search_names.h"

namespace sabla {

// Every candidate name is tried with these, in this order.
inline constexpr std::array<std::u16string_view, 3> kLyricExtensions = {u".kra", u".lrc", u".txt"};

// Everything one search needs, copied out of the song record and the settings so a search can
// run while the originals change.
struct LyricSearchQuery {
  std::u16string file_path;
  std::u16string file_name;
  std::u16string title_safe;
  std::u16string artist_safe;
  std::u16string album_safe;
  std::vector<std::u16string> folders;  // the lyric folders in order, empty slots left out
  bool find_sdir = false;
  UnknownNames unknown;
  friend bool operator==(const LyricSearchQuery&, const LyricSearchQuery&) = default;
};

LyricSearchQuery make_lyric_search_query(const SongNames& song, const Settings& settings,
                                         const UnknownNames& unknown = {});

// The candidate paths without their extension, in search order. Next to the song file (none when
// `file_path` is empty):
std::vector<std::u16string> song_folder_bases(const LyricSearchQuery& query);
// inside the lyric folder `folder`, before its subfolders are listed:
std::vector<std::u16string> lyric_folder_bases(const LyricSearchQuery& query,
                                               std::u16string_view folder);
// and the names tried inside each of its subfolders:
std::vector<std::u16string> subfolder_base_names(const LyricSearchQuery& query);

// The first candidate that can be opened: next to the song, then for each lyric folder in turn
// its own candidates and, with `find_sdir`, those of its direct subfolders. Each base is tried
// with all three extensions before the next. Candidates too long for a path buffer are skipped,
// since a cut path would name a different file.
std::optional<std::u16string> find_lyric_file(const LyricSearchQuery& query,
                                              const LyricSearchFiles& files);
// Its two stages, without starting the search (LyricSearchFiles::begin_search): the candidates
// next to the song, and those of the lyric folders and their subfolders.
std::optional<std::u16string> find_in_song_folder(const LyricSearchQuery& query,
                                                  const LyricSearchFiles& files);
std::optional<std::u16string> find_in_lyric_folders(const LyricSearchQuery& query,
                                                    const LyricSearchFiles& files);

// Searches for `song`; on success sets `lyrics_path` (the song record's field) to the file found.
bool find_lyric_file(const SongNames& song, const Settings& settings, const LyricSearchFiles& files,
                     std::u16string& lyrics_path, const UnknownNames& unknown = {});

}  // namespace sabla
