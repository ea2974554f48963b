#pragma once
#include <cstdint>
#include <string>

#include "lyrics/lyric_document.h"
#include "sources/lyric_folder_paths.h"
#include "sources/lyric_save.h"
#include "sources/lyric_search_files.h"
#include "sources/lyric_search_names.h"

namespace sabla {

// The current song as a document save sees it: its names, its record's `lyrics_path` (chosen
// here when empty, and set again by the reload), what decides a new path, and its length.
struct DocumentSong {
  SongNames names;
  std::u16string& lyrics_path;
  NewLyricsFacts facts;
  uint32_t total_ms = 0;
};

// Saves `document` with its current timetags, in the form of `input_timetag_digit`, as the
// song's lyric file: a path is chosen when the song has none, the new-file folders are created,
// the joined lines are written (write_lyric_file), and the document is reloaded from disk, which
// sets `external_lyrics_found`. False when nothing could be written.
bool save_document_lyrics(LyricDocument& document, const DocumentSong& song,
                          const LyricSaveContext& context, const LyricSearchFiles& search,
                          bool& external_lyrics_found);

}  // namespace sabla
