#include "sources/song_tag_scan.h"

#include "sources/text_buffer.h"

namespace sabla {
namespace {

bool same_extension(std::u16string_view extension, std::u16string_view lower_case) {
  if (extension.size() != lower_case.size()) return false;
  for (size_t i = 0; i < extension.size(); ++i) {
    char16_t c = extension[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != lower_case[i]) return false;
  }
  return true;
}

}  // namespace

SongFileKind song_file_kind(std::u16string_view path) {
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos) return SongFileKind::kUnsupported;
  const std::u16string_view extension = path.substr(dot);
  for (const auto id3 : {u".mp3", u".aif"}) {
    if (same_extension(extension, id3)) return SongFileKind::kId3;
  }
  for (const auto mp4 : {u".m4a", u".m4p", u".m4b"}) {
    if (same_extension(extension, mp4)) return SongFileKind::kMp4;
  }
  return SongFileKind::kUnsupported;
}

std::optional<std::u16string> scan_song_file(ByteSource& file, SongFileKind kind,
                                             const CodePage& ansi) {
  std::optional<std::u16string> lyrics;
  if (kind == SongFileKind::kId3) lyrics = scan_id3_lyrics(file, ansi);
  if (kind == SongFileKind::kMp4) lyrics = scan_mp4_lyrics(file);
  if (lyrics) normalize_line_ends(*lyrics);
  return lyrics;
}

}  // namespace sabla
