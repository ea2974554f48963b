#include "sources/ipod_notes_document.h"

#include "player/player_types.h"

namespace sabla {

bool export_ipod_notes_from_document(const SongNames& song, const LyricDocument& document,
                                     const Settings& settings, LyricSaveFiles& files,
                                     const UnknownNames& unknown) {
  return export_ipod_notes(song,
                           document.join_display_texts(static_cast<int32_t>(kLyricsBufferUnits)),
                           settings, files, unknown);
}

}  // namespace sabla
