#include "sources/ipod_notes.h"

#include "player/player_types.h"
#include "player/txt_cleanup.h"

namespace sabla {
namespace {

constexpr std::u16string_view kNowPlayingLine = u"<meta name=\"NowPlaying\" content=\"false\">\r\n";

std::u16string joined_path(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  path += u'\\';
  path += name;
  return path;
}

std::u16string_view buffer_text(std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  return text.substr(0, kLyricsBufferUnits - 1);
}

}  // namespace

std::vector<std::u16string> ipod_notes_subfolders(const SongNames& song,
                                                  std::u16string_view notes_folder, int32_t layout,
                                                  const UnknownNames& unknown) {
  const std::u16string_view artist = artist_folder_name(song, unknown);
  const std::u16string_view album = album_folder_name(song, unknown);
  switch (layout) {
    case kNotesByArtist:
      return {joined_path(notes_folder, artist)};
    case kNotesByAlbum:
      return {joined_path(notes_folder, album)};
    case kNotesByArtistAlbum: {
      std::u16string outer = joined_path(notes_folder, artist);
      std::u16string inner = joined_path(outer, album);
      return {std::move(outer), std::move(inner)};
    }
    case kNotesFlat:
    default:
      return {};
  }
}

std::optional<std::u16string> ipod_notes_path(const SongNames& song,
                                              std::u16string_view notes_folder, int32_t layout,
                                              const UnknownNames& unknown) {
  if (!has_extension(song.file_name)) return std::nullopt;
  const std::vector<std::u16string> folders =
      ipod_notes_subfolders(song, notes_folder, layout, unknown);
  const std::u16string_view folder = folders.empty() ? notes_folder : folders.back();
  return joined_path(folder, without_extension(song.file_name)) + u".txt";
}

std::u16string ipod_notes_header(const SongNames& song) {
  const std::u16string title(song.title);
  std::u16string header(kNowPlayingLine);
  if (!song.artist.empty()) {
    header +=
        u"<A HREF=\"ipod:music?artist=" + std::u16string(song.artist) + u"&song=" + title + u"\">";
  } else {
    header += u"<A HREF=\"ipod:music?song=" + title + u"\">";
  }
  header += title + u"</A>\r\n<TITLE>" + title + u"</TITLE>\r\n<BR>\r\n";
  return header;
}

std::vector<uint8_t> ipod_notes_bytes(const SongNames& song, std::u16string_view lyrics) {
  const std::u16string text = ipod_notes_header(song) + std::u16string(buffer_text(lyrics));
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  bytes.reserve(2 + text.size() * 2);
  for (const char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

std::u16string ipod_notes_lyrics_from_editors(std::u16string_view external_text,
                                              std::u16string_view song_file_text,
                                              size_t meta_scan_limit) {
  external_text = buffer_text(external_text);
  std::u16string text(external_text.empty() ? buffer_text(song_file_text) : external_text);
  strip_tags_for_txt(text);
  empty_meta_lines(text, meta_scan_limit);
  return text;
}

bool export_ipod_notes(const SongNames& song, std::u16string_view lyrics, const Settings& settings,
                       LyricSaveFiles& files, const UnknownNames& unknown) {
  const std::u16string_view notes_folder = settings.to_iPod_text_path;
  const int32_t layout = settings.make_ipod_subfolder;
  // Without a notes folder the file would land at the root of the current drive.
  if (notes_folder.empty() || !has_extension(song.file_name)) return false;
  for (const std::u16string& folder : ipod_notes_subfolders(song, notes_folder, layout, unknown)) {
    files.create_folder(folder);
  }
  const std::optional<std::u16string> path = ipod_notes_path(song, notes_folder, layout, unknown);
  return path && files.write(*path, ipod_notes_bytes(song, lyrics));
}

}  // namespace sabla
