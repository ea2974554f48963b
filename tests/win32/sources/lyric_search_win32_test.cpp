#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "core/sources/lyric_search_test_song.h"
#include "lyric_files_win32_util.h"
#include "sources/lyric_recheck.h"
#include "sources/lyric_search.h"
#include "sources/lyric_search_files_win32.h"

namespace sabla {
namespace {

using test::make_file;
using test::make_folder;
using test::TempFolder;
using test::u16;

Settings lyric_folders(std::initializer_list<std::wstring> folders, bool subfolders) {
  Settings settings;
  size_t i = 0;
  for (const auto& folder : folders) settings.path[i++] = u16(folder);
  settings.find_sdir = subfolders ? 1 : 0;
  return settings;
}

TEST(LyricSearchWin32, FindsJapaneseNamesNextToTheSongAndInArtistAlbumFolders) {
  ASSERT_EQ(GetACP(), 932u);
  TempFolder temp;
  if (!test::non_ascii_names_work(temp)) GTEST_SKIP() << test::kNoNonAsciiNames;
  const std::wstring music = temp / L"音楽";
  ASSERT_TRUE(make_folder(music));
  ASSERT_TRUE(make_file(music + L"\\桜.mp3"));
  ASSERT_TRUE(make_file(music + L"\\桜.lrc"));
  ASSERT_TRUE(make_file(music + L"\\桜.txt"));
  const std::wstring lyrics = temp / L"歌詞";
  ASSERT_TRUE(make_folder(lyrics));
  ASSERT_TRUE(make_folder(lyrics + L"\\森山"));
  ASSERT_TRUE(make_folder(lyrics + L"\\森山\\四季"));
  ASSERT_TRUE(make_file(lyrics + L"\\森山\\四季\\さくら？_.txt"));

  SystemLyricSearchFiles files;
  test::TestSong song = test::make_song(u16(music + L"\\桜.mp3"), u"さくら？?", u"森山", u"四季");
  ASSERT_TRUE(
      find_lyric_file(song.names(), lyric_folders({lyrics}, false), files, song.lyrics_path));
  EXPECT_EQ(song.lyrics_path, u16(music + L"\\桜.lrc"));

  ASSERT_TRUE(DeleteFileW((music + L"\\桜.lrc").c_str()));
  ASSERT_TRUE(DeleteFileW((music + L"\\桜.txt").c_str()));
  ASSERT_TRUE(
      find_lyric_file(song.names(), lyric_folders({lyrics}, false), files, song.lyrics_path));
  EXPECT_EQ(song.lyrics_path, u16(lyrics + L"\\森山\\四季\\さくら？_.txt"));
}

TEST(LyricSearchWin32, TheDoubledSeparatorOfTheArtistTitleNameOpens) {
  TempFolder temp;
  ASSERT_TRUE(make_file(temp / L"A - T.kra"));
  SystemLyricSearchFiles files;
  test::TestSong song = test::make_song(u16(temp / L"x.mp3"), u"T", u"A", u"");
  ASSERT_TRUE(find_lyric_file(song.names(), Settings{}, files, song.lyrics_path));
  EXPECT_EQ(song.lyrics_path, u16(temp.path() + L"\\\\A - T.kra"));
}

TEST(LyricSearchWin32, AFolderIsNoCandidate) {
  TempFolder temp;
  ASSERT_TRUE(make_folder(temp / L"T.kra"));
  ASSERT_TRUE(make_file(temp / L"T.txt"));
  SystemLyricSearchFiles files;
  EXPECT_FALSE(files.can_open(u16(temp / L"T.kra")));
  EXPECT_FALSE(files.can_open(u16(temp / L"missing.kra")));
  EXPECT_FALSE(files.can_open(u""));
  test::TestSong song = test::make_song(u"", u"T", u"", u"");
  ASSERT_TRUE(
      find_lyric_file(song.names(), lyric_folders({temp.path()}, false), files, song.lyrics_path));
  EXPECT_EQ(song.lyrics_path, u16(temp / L"T.txt"));
}

TEST(LyricSearchWin32, SubfoldersAreListedWithoutFilesAndDotEntries) {
  TempFolder temp;
  ASSERT_TRUE(make_folder(temp / L"one"));
  ASSERT_TRUE(make_folder(temp / L"two"));
  ASSERT_TRUE(make_folder(temp / L"two\\deep"));
  ASSERT_TRUE(make_file(temp / L"file.txt"));
  SystemLyricSearchFiles files;
  std::vector<std::u16string> names;
  files.for_each_subfolder(u16(temp.path()), [&](std::u16string_view name) {
    names.emplace_back(name);
    return false;
  });
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"one", u"two"}));

  names.clear();
  files.for_each_subfolder(u16(temp.path()), [&](std::u16string_view name) {
    names.emplace_back(name);
    return true;  // stop at the first
  });
  EXPECT_EQ(names.size(), 1u);
  files.for_each_subfolder(u16(temp / L"missing"), [](std::u16string_view) -> bool {
    ADD_FAILURE();
    return true;
  });

  // Only with find_sdir, and only one level deep.
  ASSERT_TRUE(make_file(temp / L"two\\song.lrc"));
  ASSERT_TRUE(make_file(temp / L"two\\deep\\song.kra"));
  test::TestSong song = test::make_song(u"", u"song", u"", u"");
  EXPECT_FALSE(
      find_lyric_file(song.names(), lyric_folders({temp.path()}, false), files, song.lyrics_path));
  ASSERT_TRUE(
      find_lyric_file(song.names(), lyric_folders({temp.path()}, true), files, song.lyrics_path));
  EXPECT_EQ(song.lyrics_path, u16(temp / L"two\\song.lrc"));
}

TEST(LyricSearchWin32, FirstOpenableAnswersAsOpeningEachNameWould) {
  TempFolder temp;
  ASSERT_TRUE(make_folder(temp / L"Title.kra"));  // a folder is no lyric file
  ASSERT_TRUE(make_file(temp / L"TITLE.LRC"));    // names match without regard to case
  ASSERT_TRUE(make_file(temp / L"Title.txt"));
  ASSERT_TRUE(make_folder(temp / L"deeper"));
  ASSERT_TRUE(make_file(temp / L"deeper\\x.txt"));
  SystemLyricSearchFiles files;
  const std::vector<std::u16string> names = {u"Title.kra", u"Title.lrc", u"Title.txt"};
  EXPECT_EQ(files.first_openable(u16(temp.path()), names), std::optional<size_t>(1));

  // A file held open without sharing cannot be opened: the next name wins.
  HANDLE held = CreateFileW((temp / L"TITLE.LRC").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.first_openable(u16(temp.path()), names), std::optional<size_t>(2));
  CloseHandle(held);

  const std::vector<std::u16string> nested = {u"none.txt", u"deeper\\x.txt"};
  EXPECT_EQ(files.first_openable(u16(temp.path()), nested), std::optional<size_t>(1));
  EXPECT_FALSE(files.first_openable(u16(temp / L"missing"), names));
  EXPECT_FALSE(files.first_openable(u16(temp.path()), std::vector<std::u16string>{u"x.kra"}));
}

TEST(LyricSearchWin32, LastWriteTimeOfASongFileInUse) {
  TempFolder temp;
  const std::wstring path = temp / L"song.mp3";
  ASSERT_TRUE(make_file(path));
  // The player holds the song open for reading and writing.
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  FILETIME stamp{0x12345678u, 0x01D00000u};
  ASSERT_TRUE(SetFileTime(held, nullptr, nullptr, &stamp));
  SystemLyricSearchFiles files;
  EXPECT_EQ(files.last_write_time(u16(path)), std::optional<uint64_t>(0x01D0000012345678ull));
  CloseHandle(held);
  EXPECT_FALSE(files.last_write_time(u16(temp / L"missing.mp3")));
  EXPECT_FALSE(files.last_write_time(u""));
}

TEST(LyricSearchWin32, RecheckNoticesALyricFileAppearing) {
  TempFolder temp;
  const std::wstring song_path = temp / L"song.mp3";
  ASSERT_TRUE(make_file(song_path));
  SystemLyricSearchFiles files;
  test::TestSong song = test::make_song(u16(song_path), u"title", u"", u"");
  const Settings settings = lyric_folders({temp.path()}, false);
  const auto recorded = files.last_write_time(song.file_path);
  ASSERT_TRUE(recorded);

  LyricRecheck recheck(files, [] { return 10000u; }, &start_worker_thread);
  ASSERT_TRUE(recheck.start_if_due(10000, make_recheck_job(song.names(), settings, recorded)));
  recheck.wait();
  EXPECT_FALSE(recheck.take_report());

  ASSERT_TRUE(make_file(temp / L"title.lrc"));
  ASSERT_TRUE(recheck.start_if_due(12001, make_recheck_job(song.names(), settings, recorded)));
  recheck.wait();
  const auto report = recheck.take_report();
  ASSERT_TRUE(report);
  EXPECT_TRUE(apply_recheck_report(*report, song.file_path, song.lyrics_path));
  EXPECT_EQ(song.lyrics_path, u16(temp / L"title.lrc"));
}

TEST(LyricSearchWin32, ReadsTheFoundFileAsText) {
  TempFolder temp;
  // "歌詞" in Shift_JIS with LF line ends.
  ASSERT_TRUE(make_file(temp / L"a.txt", "\x89\xCC\x8E\x8C\n2"));
  SystemLyricSearchFiles files;
  std::u16string text;
  ASSERT_TRUE(files.read_text(u16(temp / L"a.txt"), text));
  EXPECT_EQ(text, u"歌詞\r\n2");
  EXPECT_FALSE(files.read_text(u16(temp / L"b.txt"), text));
}

}  // namespace
}  // namespace sabla
