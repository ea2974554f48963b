#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "sources/lyric_folder_paths.h"
#include "sources/lyric_save_files.h"
#include "sources/lyric_search_names.h"

namespace sabla {

// The subfolder layouts of `make_ipod_subfolder`; other values count as kNotesFlat.
inline constexpr int32_t kNotesFlat = 0;
inline constexpr int32_t kNotesByArtist = 1;
inline constexpr int32_t kNotesByAlbum = 2;
inline constexpr int32_t kNotesByArtistAlbum = 3;

// The folders a notes file goes in, outermost first, below `notes_folder` (which is not among
// them): none, the artist, the album, or the artist and then artist\album.
std::vector<std::u16string> ipod_notes_subfolders(const SongNames& song,
                                                  std::u16string_view notes_folder, int32_t layout,
                                                  const UnknownNames& unknown = {});

// The notes file of `song` in `layout`: "<folder>\<song file name without extension>.txt";
// nothing when the song's file name has no extension.
std::optional<std::u16string> ipod_notes_path(const SongNames& song,
                                              std::u16string_view notes_folder, int32_t layout,
                                              const UnknownNames& unknown = {});

// The page header: the song's title, linked to it in the iPod's music library (by artist and
// title, or by title alone when the artist is empty), inserted as they are.
std::u16string ipod_notes_header(const SongNames& song);

// The whole file: FF FE, then header and lyrics as UTF-16 little-endian, no terminator.
std::vector<uint8_t> ipod_notes_bytes(const SongNames& song, std::u16string_view lyrics);

// The lyrics of the options window's editors as notes: the external text, or the song-file text
// when that is empty, without timetags and with its '@' lines emptied (scan limit as for saving).
std::u16string ipod_notes_lyrics_from_editors(std::u16string_view external_text,
                                              std::u16string_view song_file_text,
                                              size_t meta_scan_limit);

// Writes the notes file of `song` with `lyrics` (plain lines joined by CR LF) into the folder of
// `to_iPod_text_path` and `make_ipod_subfolder`, creating the subfolders first (not the notes
// folder itself). False when the song file's name has no extension, no notes folder is set, or
// the file cannot be written.
bool export_ipod_notes(const SongNames& song, std::u16string_view lyrics, const Settings& settings,
                       LyricSaveFiles& files, const UnknownNames& unknown = {});

}  // namespace sabla
