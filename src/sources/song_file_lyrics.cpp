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
  const SongFileKind kind = song_file_kind(file_path);
  std::unique_ptr<ByteSource> file;
  bool tried = false;
  const auto opened = [&]() -> ByteSource* {
    if (!tried && kind != SongFileKind::kUnsupported && access.open_file) {
      file = access.open_file(file_path);
    }
    tried = true;
    return file.get();
  };

  if (access.player.has_lyrics(version, access.status)) {
    if (version >= kPlayerLyricsHostMajorVersion) {
      access.player.read_lyrics(lyrics, version, access.status);
      // The player's line ends are its own; the lyrics document splits lines at LF only.
      normalize_line_ends(lyrics.text);
      lyrics.has = !lyrics.text.empty();
      if (lyrics.has) return true;
    } else if (ByteSource* source = opened()) {
      if (std::optional<std::u16string> text = scan_song_file(*source, kind, access.ansi)) {
        lyrics.text = std::move(*text);
        lyrics.has = true;
        return true;
      }
    }
  }

  // Synchronised lyrics come last: the player knows nothing of them (it reports no lyrics for a
  // song that has only these), and unsynchronised ones, which it does know, win.
  if (kind != SongFileKind::kId3) return false;
  ByteSource* source = opened();
  if (!source) return false;
  std::optional<std::u16string> text = scan_id3_synced_lyrics(*source);
  if (!text || text->empty()) return false;
  lyrics.text = std::move(*text);
  lyrics.has = true;
  return true;
}

}  // namespace sabla
