#include "sources/lyric_save_document.h"

#include "lyrics/timetag.h"
#include "player/player_types.h"
#include "sources/lyric_search_load.h"

namespace sabla {

bool save_document_lyrics(LyricDocument& document, const DocumentSong& song,
                          const LyricSaveContext& context, const LyricSearchFiles& search,
                          bool& external_lyrics_found) {
  // The display's editing only stamps lines, it never removes them: a document without text is
  // one that was never loaded (an unreadable file the user chose to keep), and writing it would
  // delete that file.
  if (document.line_count() == 0) return false;
  if (song.lyrics_path.empty()) {
    new_lyrics_path(song.names, song.facts, context.settings, song.lyrics_path, context.unknown);
  }
  create_new_file_folders(song.names, context);
  const std::u16string text = document.join_lines(
      tag_form_for(context.settings.input_timetag_digit), static_cast<int32_t>(kLyricsBufferUnits));
  const bool written = write_lyric_file(song.lyrics_path, text, context);
  // Even a failed write may have replaced or removed the file.
  search.forget(song.lyrics_path);
  if (!written) return false;
  external_lyrics_found = load_external_lyrics(song.names, context.settings, search, document,
                                               song.total_ms, song.lyrics_path, context.unknown);
  return true;
}

}  // namespace sabla
