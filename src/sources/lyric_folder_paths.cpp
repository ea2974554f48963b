#include "sources/lyric_folder_paths.h"

namespace sabla {
namespace {

constexpr int32_t kSongFolder = 0;
constexpr int32_t kFirstLyricFolder = 1;
constexpr int32_t kArtistFolder = 2;
constexpr int32_t kAlbumFolder = 3;

constexpr int32_t kNameFromFile = 0;
constexpr int32_t kNameFromTitle = 1;
constexpr int32_t kNameArtistTitle = 2;

size_t extension_dot(std::u16string_view path) {
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos) return dot;
  const size_t separator = path.rfind(u'\\');
  if (separator != std::u16string_view::npos && separator > dot) return std::u16string_view::npos;
  return dot;
}

std::u16string new_file_folder(const SongNames& song, const Settings& settings,
                               const UnknownNames& unknown) {
  switch (settings.new_file[0]) {
    case kFirstLyricFolder:
      return std::u16string(first_lyric_folder(settings));
    case kArtistFolder:
      return artist_lyric_folder(song, settings, unknown);
    case kAlbumFolder:
      return album_lyric_folder(song, settings, unknown);
    case kSongFolder:
    default: {
      const std::u16string_view folder = folder_of(song.file_path);
      return std::u16string(folder.empty() ? first_lyric_folder(settings) : folder);
    }
  }
}

std::u16string new_file_name(const SongNames& song, const Settings& settings) {
  switch (settings.new_file[1]) {
    case kNameFromTitle:
      return std::u16string(song.title_safe);
    case kNameArtistTitle:
      return std::u16string(song.artist_safe) + u" - " + std::u16string(song.title_safe);
    case kNameFromFile:
    default: {
      const std::u16string_view name = without_extension(song.file_name);
      return std::u16string(name.empty() ? song.title_safe : name);
    }
  }
}

}  // namespace

std::u16string_view without_extension(std::u16string_view path) {
  const size_t dot = extension_dot(path);
  return dot == std::u16string_view::npos ? path : path.substr(0, dot);
}

bool has_extension(std::u16string_view path) {
  return extension_dot(path) != std::u16string_view::npos;
}

std::u16string_view folder_of(std::u16string_view path) {
  const size_t separator = path.rfind(u'\\');
  return separator == std::u16string_view::npos ? std::u16string_view() : path.substr(0, separator);
}

std::u16string_view artist_folder_name(const SongNames& song, const UnknownNames& unknown) {
  return song.artist_safe.empty() ? std::u16string_view(unknown.artist) : song.artist_safe;
}

std::u16string_view album_folder_name(const SongNames& song, const UnknownNames& unknown) {
  return song.album_safe.empty() ? std::u16string_view(unknown.album) : song.album_safe;
}

std::u16string_view first_lyric_folder(const Settings& settings) { return settings.path[0]; }

std::u16string artist_lyric_folder(const SongNames& song, const Settings& settings,
                                   const UnknownNames& unknown) {
  const std::u16string_view root = first_lyric_folder(settings);
  if (root.empty()) return {};
  std::u16string folder(root);
  folder += u'\\';
  folder += artist_folder_name(song, unknown);
  return folder;
}

std::u16string album_lyric_folder(const SongNames& song, const Settings& settings,
                                  const UnknownNames& unknown) {
  std::u16string folder = artist_lyric_folder(song, settings, unknown);
  if (folder.empty()) return {};
  folder += u'\\';
  folder += album_folder_name(song, unknown);
  return folder;
}

void new_lyrics_path(const SongNames& song, const NewLyricsFacts& facts, const Settings& settings,
                     std::u16string& lyrics_path, const UnknownNames& unknown) {
  if (facts.external_file_exists || (!facts.song_loaded && !facts.has_song_lyrics)) return;
  const std::u16string folder = new_file_folder(song, settings, unknown);
  if (folder.empty()) {
    lyrics_path.clear();
    return;
  }
  lyrics_path = folder + u'\\' + new_file_name(song, settings) + u".txt";
}

}  // namespace sabla
