#pragma once
#include <cstdint>
#include <string>

#include "lyrics/lyric_document.h"
#include "settings/settings.h"
#include "sources/lyric_folder_paths.h"
#include "sources/lyric_search_files.h"
#include "sources/lyric_search_names.h"

namespace sabla {

// Finds the song's lyric file (setting `lyrics_path`), reads it and loads it into `document`
// with the song's length `total_ms`. True when a file was found and read; otherwise the document
// is loaded with the empty text and the result is false.
bool load_external_lyrics(const SongNames& song, const Settings& settings,
                          const LyricSearchFiles& files, LyricDocument& document, uint32_t total_ms,
                          std::u16string& lyrics_path, const UnknownNames& unknown = {});

}  // namespace sabla
