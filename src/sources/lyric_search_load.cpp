#include "sources/lyric_search_load.h"

#include "sources/lyric_search.h"

namespace sabla {

bool load_external_lyrics(const SongNames& song, const Settings& settings,
                          const LyricSearchFiles& files, LyricDocument& document, uint32_t total_ms,
                          std::u16string& lyrics_path, const UnknownNames& unknown) {
  std::u16string text;
  if (find_lyric_file(song, settings, files, lyrics_path, unknown) &&
      files.read_text(lyrics_path, text)) {
    document.load_text(total_ms, text);
    return true;
  }
  document.load_text(total_ms, u"");
  return false;
}

}  // namespace sabla
