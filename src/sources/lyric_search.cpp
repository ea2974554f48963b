#include "sources/lyric_search.h"

#include <algorithm>
#include <iterator>

#include "player/player_types.h"

namespace sabla {
namespace {

std::u16string joined(std::initializer_list<std::u16string_view> parts, std::u16string_view glue) {
  std::u16string out;
  bool first = true;
  for (const std::u16string_view part : parts) {
    if (!first) out += glue;
    out += part;
    first = false;
  }
  return out;
}

std::u16string path_of(std::initializer_list<std::u16string_view> parts) {
  return joined(parts, u"\\");
}

std::u16string artist_title(std::u16string_view artist, std::u16string_view title) {
  return joined({artist, title}, u" - ");
}

std::u16string_view artist_or_unknown(const LyricSearchQuery& query) {
  return query.artist_safe.empty() ? std::u16string_view(query.unknown.artist)
                                   : std::u16string_view(query.artist_safe);
}

std::u16string_view album_or_unknown(const LyricSearchQuery& query) {
  return query.album_safe.empty() ? std::u16string_view(query.unknown.album)
                                  : std::u16string_view(query.album_safe);
}

// The first of `bases` that exists with one of the extensions.
std::optional<std::u16string> first_existing(const std::vector<std::u16string>& bases,
                                             const LyricSearchFiles& files) {
  for (const std::u16string& base : bases) {
    for (const std::u16string_view extension : kLyricExtensions) {
      std::u16string candidate = base + std::u16string(extension);
      if (candidate.size() >= kPathBufferUnits) continue;
      if (files.can_open(candidate)) return candidate;
    }
  }
  return std::nullopt;
}

// Every base name with each extension, in the order they are tried.
std::vector<std::u16string> with_extensions(const std::vector<std::u16string>& base_names) {
  std::vector<std::u16string> names;
  for (const std::u16string& base : base_names) {
    for (const std::u16string_view extension : kLyricExtensions) {
      names.push_back(base + std::u16string(extension));
    }
  }
  return names;
}

// The first of `names` that is a file in `folder`; names too long for a path there are left out.
std::optional<std::u16string> first_in_folder(std::u16string_view folder,
                                              const std::vector<std::u16string>& names,
                                              const LyricSearchFiles& files) {
  const auto fits = [&](const std::u16string& name) {
    return folder.size() + 1 + name.size() < kPathBufferUnits;
  };
  // Made once for every subfolder; a copy only for the rare folder some name does not fit.
  const std::vector<std::u16string>* tried = &names;
  std::vector<std::u16string> fitting;
  if (!std::all_of(names.begin(), names.end(), fits)) {
    std::copy_if(names.begin(), names.end(), std::back_inserter(fitting), fits);
    tried = &fitting;
  }
  const std::optional<size_t> found = files.first_openable(folder, *tried);
  if (!found) return std::nullopt;
  return path_of({folder, (*tried)[*found]});
}

std::optional<std::u16string> search_subfolders(const LyricSearchQuery& query,
                                                std::u16string_view folder,
                                                const LyricSearchFiles& files) {
  const std::vector<std::u16string> names = with_extensions(subfolder_base_names(query));
  std::optional<std::u16string> found;
  files.for_each_subfolder(folder, [&](std::u16string_view name) {
    found = first_in_folder(path_of({folder, name}), names, files);
    return found.has_value();
  });
  return found;
}

}  // namespace

LyricSearchQuery make_lyric_search_query(const SongNames& song, const Settings& settings,
                                         const UnknownNames& unknown) {
  LyricSearchQuery query;
  query.file_path = song.file_path;
  query.file_name = song.file_name;
  query.title_safe = song.title_safe;
  query.artist_safe = song.artist_safe;
  query.album_safe = song.album_safe;
  for (const std::u16string& folder : settings.path) {
    if (!folder.empty()) query.folders.push_back(folder);
  }
  query.find_sdir = settings.find_sdir == 1;
  query.unknown = unknown;
  return query;
}

std::vector<std::u16string> song_folder_bases(const LyricSearchQuery& query) {
  if (query.file_path.empty()) return {};
  std::vector<std::u16string> bases = {std::u16string(without_extension(query.file_path))};
  // A song path without any folder gives no folder to look in: looking in the current folder
  // instead would find unrelated files.
  const size_t separator = query.file_path.rfind(u'\\');
  if (separator == std::u16string::npos) return bases;
  const std::u16string_view folder = std::u16string_view(query.file_path).substr(0, separator + 1);
  bases.push_back(std::u16string(folder) + query.title_safe);
  // The folder already ends in '\', so this name holds a doubled separator, which Windows reads
  // as one.
  bases.push_back(std::u16string(folder) + u'\\' +
                  artist_title(artist_or_unknown(query), query.title_safe));
  return bases;
}

std::vector<std::u16string> lyric_folder_bases(const LyricSearchQuery& query,
                                               std::u16string_view folder) {
  const std::u16string_view name = without_extension(query.file_name);
  const std::u16string_view title = query.title_safe;
  const std::u16string_view artist = artist_or_unknown(query);
  const std::u16string_view album = album_or_unknown(query);
  return {
      path_of({folder, name}),
      path_of({folder, title}),
      path_of({folder, artist_title(artist, title)}),
      path_of({folder, artist, album, name}),
      path_of({folder, artist, album, title}),
      path_of({folder, artist, album, artist_title(query.artist_safe, title)}),
      path_of({folder, artist, name}),
      path_of({folder, artist, title}),
      path_of({folder, artist, artist_title(artist, title)}),
  };
}

std::vector<std::u16string> subfolder_base_names(const LyricSearchQuery& query) {
  return {
      std::u16string(without_extension(query.file_name)),
      query.title_safe,
      artist_title(query.artist_safe, query.title_safe),
  };
}

std::optional<std::u16string> find_in_song_folder(const LyricSearchQuery& query,
                                                  const LyricSearchFiles& files) {
  return first_existing(song_folder_bases(query), files);
}

std::optional<std::u16string> find_in_lyric_folders(const LyricSearchQuery& query,
                                                    const LyricSearchFiles& files) {
  for (const std::u16string& folder : query.folders) {
    if (auto found = first_existing(lyric_folder_bases(query, folder), files)) return found;
    if (!query.find_sdir) continue;
    if (auto found = search_subfolders(query, folder, files)) return found;
  }
  return std::nullopt;
}

std::optional<std::u16string> find_lyric_file(const LyricSearchQuery& query,
                                              const LyricSearchFiles& files) {
  files.begin_search(query.folders);
  if (auto found = find_in_song_folder(query, files)) return found;
  return find_in_lyric_folders(query, files);
}

bool find_lyric_file(const SongNames& song, const Settings& settings, const LyricSearchFiles& files,
                     std::u16string& lyrics_path, const UnknownNames& unknown) {
  std::optional<std::u16string> found =
      find_lyric_file(make_lyric_search_query(song, settings, unknown), files);
  if (!found) return false;
  lyrics_path = std::move(*found);
  return true;
}

}  // namespace sabla
