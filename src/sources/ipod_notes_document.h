#pragma once
#include "lyrics/lyric_document.h"
#include "sources/ipod_notes.h"

namespace sabla {

// The notes export while the options window is closed: the document's display texts (timetags
// removed, '@' lines empty) as the lyrics of the current song.
bool export_ipod_notes_from_document(const SongNames& song, const LyricDocument& document,
                                     const Settings& settings, LyricSaveFiles& files,
                                     const UnknownNames& unknown = {});

}  // namespace sabla
