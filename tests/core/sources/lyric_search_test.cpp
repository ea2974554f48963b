#include "sources/lyric_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "lyric_search_fakes.h"
#include "lyric_search_test_song.h"
#include "player/player_types.h"

namespace sabla {
namespace {

using test::FakeLyricFiles;
using Paths = std::vector<std::u16string>;

test::TestSong song_at(std::u16string path, std::u16string title, std::u16string artist,
                       std::u16string album) {
  return test::make_song(std::move(path), std::move(title), std::move(artist), std::move(album));
}

// Searches for `song` and keeps what was found in its record.
bool find(test::TestSong& song, const Settings& settings, const LyricSearchFiles& files) {
  return find_lyric_file(song.names(), settings, files, song.lyrics_path);
}

Settings folders(std::initializer_list<std::u16string> paths, bool subfolders = false) {
  Settings settings;
  size_t i = 0;
  for (const auto& path : paths) settings.path[i++] = path;
  settings.find_sdir = subfolders ? 1 : 0;
  return settings;
}

// Each base with the three extensions, as the search tries them.
Paths with_extensions(const Paths& bases) {
  Paths paths;
  for (const auto& base : bases) {
    for (const auto extension : kLyricExtensions) paths.push_back(base + std::u16string(extension));
  }
  return paths;
}

TEST(LyricSearch, CandidatesComeInTheirFixedOrder) {
  const test::TestSong song = song_at(u"C:\\M\\a.mp3", u"T", u"A", u"B");
  const LyricSearchQuery query = make_lyric_search_query(song.names(), folders({u"R"}));
  EXPECT_EQ(song_folder_bases(query), (Paths{u"C:\\M\\a", u"C:\\M\\T", u"C:\\M\\\\A - T"}));
  EXPECT_EQ(lyric_folder_bases(query, u"R"),
            (Paths{u"R\\a", u"R\\T", u"R\\A - T", u"R\\A\\B\\a", u"R\\A\\B\\T", u"R\\A\\B\\A - T",
                   u"R\\A\\a", u"R\\A\\T", u"R\\A\\A - T"}));
  EXPECT_EQ(subfolder_base_names(query), (Paths{u"a", u"T", u"A - T"}));

  // With nothing there, every candidate is tried exactly once, in that order.
  FakeLyricFiles files;
  EXPECT_FALSE(find_lyric_file(query, files));
  Paths expected = with_extensions(song_folder_bases(query));
  const Paths in_folder = with_extensions(lyric_folder_bases(query, u"R"));
  expected.insert(expected.end(), in_folder.begin(), in_folder.end());
  EXPECT_EQ(files.probes(), expected);
  EXPECT_EQ(files.probes().front(), u"C:\\M\\a.kra");
}

TEST(LyricSearch, KraThenLrcThenTxt) {
  FakeLyricFiles files;
  files.files = {u"C:\\M\\a.lrc", u"C:\\M\\a.txt"};
  test::TestSong song = song_at(u"C:\\M\\a.mp3", u"T", u"A", u"B");
  ASSERT_TRUE(find(song, folders({u"R"}), files));
  EXPECT_EQ(song.lyrics_path, u"C:\\M\\a.lrc");
  EXPECT_EQ(files.probes(), (Paths{u"C:\\M\\a.kra", u"C:\\M\\a.lrc"}));
}

TEST(LyricSearch, NamesAreSearchedInTheirSafeForms) {
  FakeLyricFiles files;
  files.files = {u"R\\AC_DC_ Live_.txt"};
  test::TestSong song = song_at(u"C:\\M\\01.mp3", u"AC/DC: Live?", u"", u"");
  EXPECT_TRUE(find(song, folders({u"R"}), files));
  EXPECT_EQ(song.lyrics_path, u"R\\AC_DC_ Live_.txt");
}

TEST(LyricSearch, MissingArtistAndAlbumUseTheUnknownNames) {
  const test::TestSong song = song_at(u"C:\\M\\a.mp3", u"title", u"", u"");
  const Paths bases =
      lyric_folder_bases(make_lyric_search_query(song.names(), folders({u"R"})), u"R");
  EXPECT_EQ(bases[4], u"R\\不明なアーティスト\\不明なアルバム\\title");
  // The name pattern itself keeps the artist as it is, even when empty.
  EXPECT_EQ(bases[5], u"R\\不明なアーティスト\\不明なアルバム\\ - title");
  EXPECT_EQ(bases[2], u"R\\不明なアーティスト - title");
  EXPECT_EQ(bases[8], u"R\\不明なアーティスト\\不明なアーティスト - title");
}

TEST(LyricSearch, SubfoldersOnlyWithFindSdir) {
  FakeLyricFiles files;
  files.files = {u"R\\sub\\title.txt"};
  files.subfolders[u"R"] = {u"other", u"sub", u"late"};
  test::TestSong song = song_at(u"C:\\M\\a.mp3", u"title", u"A", u"B");
  EXPECT_FALSE(find(song, folders({u"R"}, false), files));
  EXPECT_TRUE(song.lyrics_path.empty());

  files.clear_probes();
  ASSERT_TRUE(find(song, folders({u"R"}, true), files));
  EXPECT_EQ(song.lyrics_path, u"R\\sub\\title.txt");
  // The listing stops at the first hit: later subfolders are never looked into.
  const Paths probes = files.probes();
  EXPECT_TRUE(std::none_of(probes.begin(), probes.end(),
                           [](const auto& p) { return p.starts_with(u"R\\late"); }));
  EXPECT_EQ(probes.back(), u"R\\sub\\title.txt");
}

TEST(LyricSearch, EachFolderIsSearchedWholeBeforeTheNext) {
  FakeLyricFiles files;
  files.subfolders[u"R1"] = {u"s"};
  files.files = {u"R2\\a.kra", u"R1\\s\\A - T.txt"};
  test::TestSong song = song_at(u"C:\\M\\a.mp3", u"T", u"A", u"B");
  ASSERT_TRUE(find(song, folders({u"R1", u"R2"}, true), files));
  EXPECT_EQ(song.lyrics_path, u"R1\\s\\A - T.txt");

  files.files = {u"R2\\a.kra"};
  files.clear_probes();
  ASSERT_TRUE(find(song, folders({u"R1", u"", u"R2"}, true), files));
  EXPECT_EQ(song.lyrics_path, u"R2\\a.kra");
  const Paths probes = files.probes();
  const auto first_r2 = std::find_if(probes.begin(), probes.end(),
                                     [](const auto& p) { return p.starts_with(u"R2"); });
  // Everything of R1, its subfolder included, came first; the empty slot added nothing.
  EXPECT_EQ(*(first_r2 - 1), u"R1\\s\\A - T.txt");
  EXPECT_TRUE(std::all_of(probes.begin(), first_r2, [](const auto& p) {
    return p.starts_with(u"R1\\") || p.starts_with(u"C:\\M\\");
  }));
  EXPECT_EQ(probes.size(), 9u + 27u + 9u + 1u);
}

TEST(LyricSearch, WithoutASongFileOnlyTheFoldersAreSearched) {
  FakeLyricFiles files;
  const test::TestSong song = song_at(u"", u"T", u"A", u"B");
  const LyricSearchQuery query = make_lyric_search_query(song.names(), folders({u"R"}));
  EXPECT_TRUE(song_folder_bases(query).empty());
  EXPECT_FALSE(find_lyric_file(query, files));
  EXPECT_EQ(files.probes().front(), u"R\\.kra");  // no file name: the name pattern is empty
}

TEST(LyricSearch, OnlyTheFileNamesOwnDotStartsTheExtension) {
  const test::TestSong song = song_at(u"C:\\M.x\\song", u"T", u"A", u"B");
  test::TestSong named = song;
  named.file_name = u"v1.2\\x";  // never given like this, but no '.' of a folder may cut it
  const LyricSearchQuery query = make_lyric_search_query(named.names(), folders({u"R"}));
  EXPECT_EQ(song_folder_bases(query)[0], u"C:\\M.x\\song");
  EXPECT_EQ(lyric_folder_bases(query, u"R")[0], u"R\\v1.2\\x");

  // A path without any folder is only tried as it is.
  const LyricSearchQuery bare =
      make_lyric_search_query(song_at(u"a.mp3", u"T", u"A", u"B").names(), folders({u"R"}));
  EXPECT_EQ(song_folder_bases(bare), Paths{u"a"});
}

TEST(LyricSearch, CandidatesTooLongForAPathAreSkipped) {
  const std::u16string folder = u"R\\" + std::u16string(240, u'f');
  FakeLyricFiles files;
  const std::u16string fits = folder + u"\\a.kra";                                      // 248 units
  const std::u16string too_long = folder + u"\\" + std::u16string(20, u't') + u".kra";  // 267
  files.files = {too_long};
  test::TestSong song = song_at(u"", std::u16string(20, u't'), u"", u"");
  song.file_name = u"a.mp3";
  EXPECT_FALSE(find(song, folders({folder}), files));
  const Paths probes = files.probes();
  EXPECT_EQ(probes.front(), fits);
  EXPECT_TRUE(std::all_of(probes.begin(), probes.end(),
                          [](const auto& p) { return p.size() < kPathBufferUnits; }));
}

// ---- new_lyrics_path ----

Settings new_file(int32_t folder, int32_t name) {
  Settings settings = folders({u"D:\\Lyrics", u"E:\\More"});
  settings.new_file = {folder, name};
  return settings;
}

std::u16string new_path(const test::TestSong& song, int32_t folder, int32_t name) {
  std::u16string path;
  new_lyrics_path(song.names(), {false, true, false}, new_file(folder, name), path);
  return path;
}

TEST(NewLyricsPath, FolderAndNameChoices) {
  const test::TestSong song = song_at(u"C:\\M\\a.b.mp3", u"Y?", u"X", u"Al");
  EXPECT_EQ(new_path(song, 0, 0), u"C:\\M\\a.b.txt");
  EXPECT_EQ(new_path(song, 1, 1), u"D:\\Lyrics\\Y_.txt");
  EXPECT_EQ(new_path(song, 2, 2), u"D:\\Lyrics\\X\\X - Y_.txt");
  EXPECT_EQ(new_path(song, 3, 0), u"D:\\Lyrics\\X\\Al\\a.b.txt");
  EXPECT_EQ(new_path(song, 7, 9), u"C:\\M\\a.b.txt");  // unknown choices count as the first ones

  EXPECT_EQ(new_path(song_at(u"C:\\M\\a.mp3", u"Y", u"X", u""), 3, 2),
            u"D:\\Lyrics\\X\\不明なアルバム\\X - Y.txt");
  EXPECT_EQ(new_path(song_at(u"C:\\M\\a.mp3", u"Y", u"", u""), 3, 2),
            u"D:\\Lyrics\\不明なアーティスト\\不明なアルバム\\ - Y.txt");
}

TEST(NewLyricsPath, FallbacksForMissingSongFileAndName) {
  // No song file: the song's folder choice falls back to the first lyric folder, and the file
  // name choice to the title.
  test::TestSong song = song_at(u"", u"Y", u"X", u"");
  EXPECT_EQ(new_path(song, 0, 0), u"D:\\Lyrics\\Y.txt");
  song.file_name = u".mp3";
  EXPECT_EQ(new_path(song, 0, 0), u"D:\\Lyrics\\Y.txt");

  // No first lyric folder: no path, rather than one at the root of the current drive.
  Settings none = new_file(1, 1);
  none.path = {};
  const test::TestSong other = song_at(u"C:\\M\\a.mp3", u"Y", u"X", u"");
  std::u16string path = u"old";
  new_lyrics_path(other.names(), {false, true, false}, none, path);
  EXPECT_TRUE(path.empty());
}

TEST(NewLyricsPath, LeftAloneWithAnExternalFileOrWithoutASong) {
  const test::TestSong song = song_at(u"C:\\M\\a.mp3", u"Y", u"X", u"");
  std::u16string path = u"C:\\found.lrc";
  new_lyrics_path(song.names(), {true, true, false}, new_file(0, 0), path);
  EXPECT_EQ(path, u"C:\\found.lrc");
  new_lyrics_path(song.names(), {false, false, false}, new_file(0, 0), path);
  EXPECT_EQ(path, u"C:\\found.lrc");
  // Without a song loaded, lyrics of its own still earn it a path.
  new_lyrics_path(song.names(), {false, false, true}, new_file(0, 0), path);
  EXPECT_EQ(path, u"C:\\M\\a.txt");
}

}  // namespace
}  // namespace sabla
