#include <gtest/gtest.h>
#include <windows.h>

#include "core/sources/lyric_search_test_song.h"
#include "lyric_files_win32_util.h"
#include "sources/ipod_notes.h"
#include "sources/lyric_save_files_win32.h"

namespace sabla {
namespace {

using test::read_bytes;
using test::TempFolder;
using test::u16;

TEST(IpodNotesWin32, WritesIntoArtistAndAlbumFoldersItCreates) {
  TempFolder temp;
  Settings settings;
  settings.to_iPod_text_path = u16(temp.path());
  settings.make_ipod_subfolder = kNotesByArtistAlbum;
  SystemLyricSaveFiles files;
  const test::TestSong song = test::make_song(u"C:\\M\\01 a.m4a", u"桜", u"Band", u"Best");
  ASSERT_TRUE(export_ipod_notes(song.names(), u"さくら\r\n\r\nend", settings, files));
  const std::wstring path = temp / L"Band\\Best\\01 a.txt";
  EXPECT_EQ(read_bytes(path),
            test::utf16_file(u"<meta name=\"NowPlaying\" content=\"false\">\r\n"
                             u"<A HREF=\"ipod:music?artist=Band&song=桜\">桜</A>\r\n"
                             u"<TITLE>桜</TITLE>\r\n<BR>\r\n"
                             u"さくら\r\n\r\nend"));

  // Written again, the file is replaced whole.
  ASSERT_TRUE(export_ipod_notes(song.names(), u"x", settings, files));
  EXPECT_EQ(read_bytes(path), test::utf16_file(ipod_notes_header(song.names()) + u"x"));
}

TEST(IpodNotesWin32, UnknownArtistFolderInJapanese) {
  TempFolder temp;
  if (!test::non_ascii_names_work(temp)) GTEST_SKIP() << test::kNoNonAsciiNames;
  Settings settings;
  settings.to_iPod_text_path = u16(temp.path());
  settings.make_ipod_subfolder = kNotesByArtist;
  SystemLyricSaveFiles files;
  const test::TestSong song = test::make_song(u"C:\\M\\01 桜.m4a", u"桜", u"", u"四季");
  ASSERT_TRUE(export_ipod_notes(song.names(), u"さくら", settings, files));
  EXPECT_EQ(read_bytes(temp / L"不明なアーティスト\\01 桜.txt"),
            test::utf16_file(ipod_notes_header(song.names()) + u"さくら"));
}

TEST(IpodNotesWin32, FailsWithoutTheNotesFolderOrAFileNameExtension) {
  TempFolder temp;
  Settings settings;
  settings.to_iPod_text_path = u16(temp / L"Notes");
  settings.make_ipod_subfolder = kNotesByArtist;
  SystemLyricSaveFiles files;
  const test::TestSong song = test::make_song(u"C:\\M\\a.mp3", u"T", u"A", u"");
  EXPECT_FALSE(export_ipod_notes(song.names(), u"x", settings, files));
  EXPECT_TRUE(TempFolder::list(temp.path()).empty());  // the notes folder is not created

  settings.to_iPod_text_path = u16(temp.path());
  const test::TestSong bare = test::make_song(u"C:\\M\\noext", u"T", u"A", u"");
  EXPECT_FALSE(export_ipod_notes(bare.names(), u"x", settings, files));
  EXPECT_TRUE(TempFolder::list(temp.path()).empty());
}

}  // namespace
}  // namespace sabla
