#include "sources/ipod_notes.h"

#include <gtest/gtest.h>

#include <deque>

#include "lyric_save_fakes.h"
#include "lyric_search_test_song.h"

namespace sabla {
namespace {

using test::FakeSaveFiles;
using test::utf16_file;

// A song and its names; the names view the record, which lives as long as the test.
class Songs {
 public:
  SongNames operator()(std::u16string title, std::u16string artist, std::u16string album,
                       std::u16string file_name) {
    test::TestSong& song = songs_.emplace_back(test::make_song(
        u"C:\\M\\" + file_name, std::move(title), std::move(artist), std::move(album)));
    song.file_name = std::move(file_name);
    return song.names();
  }

 private:
  std::deque<test::TestSong> songs_;
};

TEST(IpodNotes, HeaderNamesAndLinksTheSong) {
  Songs song;
  EXPECT_EQ(ipod_notes_header(song(u"T&1", u"A\"B", u"", u"a.mp3")),
            u"<meta name=\"NowPlaying\" content=\"false\">\r\n"
            u"<A HREF=\"ipod:music?artist=A\"B&song=T&1\">T&1</A>\r\n"
            u"<TITLE>T&1</TITLE>\r\n<BR>\r\n");
  EXPECT_EQ(ipod_notes_header(song(u"T", u"", u"B", u"a.mp3")),
            u"<meta name=\"NowPlaying\" content=\"false\">\r\n"
            u"<A HREF=\"ipod:music?song=T\">T</A>\r\n<TITLE>T</TITLE>\r\n<BR>\r\n");
}

TEST(IpodNotes, SubfolderLayouts) {
  Songs song;
  const SongNames s = song(u"T", u"AC/DC", u"", u"01 a.b.m4a");
  EXPECT_EQ(ipod_notes_path(s, u"I:\\Notes", kNotesFlat), u"I:\\Notes\\01 a.b.txt");
  EXPECT_EQ(ipod_notes_path(s, u"I:\\Notes", kNotesByArtist), u"I:\\Notes\\AC_DC\\01 a.b.txt");
  EXPECT_EQ(ipod_notes_path(s, u"I:\\Notes", kNotesByAlbum),
            u"I:\\Notes\\不明なアルバム\\01 a.b.txt");
  EXPECT_EQ(ipod_notes_path(s, u"I:\\Notes", kNotesByArtistAlbum),
            u"I:\\Notes\\AC_DC\\不明なアルバム\\01 a.b.txt");
  EXPECT_EQ(ipod_notes_path(s, u"I:\\Notes", 9), u"I:\\Notes\\01 a.b.txt");
  EXPECT_EQ(
      ipod_notes_subfolders(s, u"I:\\Notes", kNotesByArtistAlbum),
      (std::vector<std::u16string>{u"I:\\Notes\\AC_DC", u"I:\\Notes\\AC_DC\\不明なアルバム"}));
  EXPECT_EQ(ipod_notes_path(song(u"T", u"", u"", u"a.mp3"), u"N", kNotesByArtist),
            u"N\\不明なアーティスト\\a.txt");
  EXPECT_FALSE(ipod_notes_path(song(u"T", u"A", u"B", u"noext"), u"N", kNotesFlat));
}

TEST(IpodNotes, EditorLyricsLoseTagsAndMetaLines) {
  EXPECT_EQ(
      ipod_notes_lyrics_from_editors(u"[00:12:00]hello\r\n@title=x\r\n[00:13]bye", u"s", 1000),
      u"hello\r\n\r\nbye");
  // An empty external text gives way to the song-file lyrics.
  EXPECT_EQ(ipod_notes_lyrics_from_editors(u"", u"[00:01]song\r\n@x", 1000), u"song\r\n");
  EXPECT_EQ(ipod_notes_lyrics_from_editors(std::u16string(u"\0ext", 4), u"song", 1000), u"song");
}

class IpodExport : public ::testing::Test {
 protected:
  IpodExport() {
    settings.to_iPod_text_path = u"I:\\Notes";
    settings.make_ipod_subfolder = kNotesByArtistAlbum;
    files.folders = {u"I:\\Notes"};
  }
  Settings settings;
  FakeSaveFiles files;
  Songs song;
};

TEST_F(IpodExport, WritesMarkHeaderAndLyricsAfterCreatingTheSubfolders) {
  const SongNames s = song(u"Hi", u"", u"Alb", u"x.mp3");
  ASSERT_TRUE(export_ipod_notes(s, u"hello\r\n\r\nbye", settings, files));
  const std::u16string path = u"I:\\Notes\\不明なアーティスト\\Alb\\x.txt";
  EXPECT_EQ(files.files.at(path), utf16_file(ipod_notes_header(s) + u"hello\r\n\r\nbye"));
  EXPECT_EQ(files.log, (std::vector<std::u16string>{u"mkdir I:\\Notes\\不明なアーティスト",
                                                    u"mkdir I:\\Notes\\不明なアーティスト\\Alb",
                                                    u"write " + path}));
}

TEST_F(IpodExport, FalseWithoutExtensionFolderOrWritableFile) {
  EXPECT_FALSE(export_ipod_notes(song(u"T", u"A", u"B", u"noext"), u"x", settings, files));
  EXPECT_TRUE(files.log.empty());  // nothing written, no folder made

  // The notes folder itself is never created.
  settings.to_iPod_text_path = u"J:\\Missing";
  EXPECT_FALSE(export_ipod_notes(song(u"T", u"A", u"B", u"a.mp3"), u"x", settings, files));
  EXPECT_TRUE(files.files.empty());

  settings.to_iPod_text_path.clear();
  EXPECT_FALSE(export_ipod_notes(song(u"T", u"A", u"B", u"a.mp3"), u"x", settings, files));
}

}  // namespace
}  // namespace sabla
