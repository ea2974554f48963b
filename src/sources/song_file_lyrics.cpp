#include "sources/song_file_lyrics.h"

#include "sources/song_tag_scan.h"
#include "sources/text_buffer.h"

namespace sabla {
namespace {

// From this major version on the player hands out a track's lyrics itself.
constexpr int32_t kPlayerLyricsHostMajorVersion = 7;

}  // namespace

bool read_song_file_lyrics(std::u16string_view file_path, SongLyrics& lyrics,
                           const SongLyricsAccess& access) {
  lyrics = {};
  const int32_t version = access.host_major_version;
  if (version < kLyricsHostMajorVersion) return false;
  if (!access.player.has_lyrics(version, access.status)) return false;

  if (version >= kPlayerLyricsHostMajorVersion) {
    access.player.read_lyrics(lyrics, version, access.status);
    // The player's line ends are its own; the lyrics document splits lines at LF only.
    normalize_line_ends(lyrics.text);
    lyrics.has = !lyrics.text.empty();
    return lyrics.has;
  }

  const SongFileKind kind = song_file_kind(file_path);
  if (kind == SongFileKind::kUnsupported || !access.open_file) return false;
  const std::unique_ptr<ByteSource> file = access.open_file(file_path);
  if (!file) return false;
  std::optional<std::u16string> text = scan_song_file(*file, kind, access.ansi);
  if (!text) return false;
  lyrics.text = std::move(*text);
  lyrics.has = true;
  return true;
}

}  // namespace sabla
