#include "sources/song_file_lyrics_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/sources/fake_player_bridge.h"
#include "core/sources/tag_bytes.h"
#include "sources/file_byte_source_win32.h"
#include "win32/settings/temp_folder.h"

namespace sabla {
namespace {

using test::Bytes;
using test::operator+;

std::u16string u16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// The files the taggers wrote (tests/data), as Wine sees them.
std::u16string tagged_song(const std::string& name) {
  std::string here = __FILE__;
  here.resize(here.rfind("win32/sources"));
  std::string path = "Z:" + here + "data/" + name;
  return std::u16string(path.begin(), path.end());
}

class ReadSongFileLyricsWin32 : public ::testing::Test {
 protected:
  std::u16string write(const std::wstring& name, const Bytes& bytes) {
    EXPECT_TRUE(test::write_bytes(folder / name, bytes));
    return u16(folder / name);
  }

  bool read(const std::u16string& path, int32_t version = 6) {
    return read_song_file_lyrics(path, lyrics, version, player, status);
  }

  test::TempFolder folder;
  test::FakePlayerBridge player;
  StatusMessage status;
  SongLyrics lyrics;
};

TEST_F(ReadSongFileLyricsWin32, ShiftJisLyricsFrameDecodesInCodePage932) {
  ASSERT_EQ(GetACP(), 932u);
  player.lyrics = u"the player has some";
  // 歌詞 LF 二行目, Shift_JIS, language jpn, empty descriptor, no terminator.
  const Bytes text = {0x89, 0xCC, 0x8E, 0x8C, '\n', 0x93, 0xF1, 0x8D, 0x73, 0x96, 0xDA};
  const std::u16string path =
      write(L"song.mp3", test::id3_header(3) + test::uslt_frame(0, "jpn", Bytes{0} + text) +
                             test::filler(256, 0));
  EXPECT_TRUE(read(path));
  EXPECT_TRUE(lyrics.has);
  EXPECT_EQ(lyrics.text, u"歌詞\r\n二行目");
  // The same frame in a song of a host that asks the player instead.
  EXPECT_TRUE(read(path, 7));
  EXPECT_EQ(lyrics.text, u"the player has some");
}

TEST_F(ReadSongFileLyricsWin32, FilesWrittenByTaggers) {
  player.lyrics = u"yes";
  EXPECT_TRUE(read(tagged_song("id3v2_uslt_latin1.mp3")));
  EXPECT_EQ(lyrics.text, u"First line\r\nSecond line");
  EXPECT_TRUE(read(tagged_song("mutagen_uslt_utf16_v23.mp3"), 5));
  EXPECT_EQ(lyrics.text, u"歌詞の一行目\r\n二行目");
  EXPECT_TRUE(read(tagged_song("mutagen_uslt_described.mp3")));
  EXPECT_EQ(lyrics.text, u"Hello\r\nWorld");
  EXPECT_TRUE(read(tagged_song("atomicparsley_lyrics.m4a")));
  EXPECT_EQ(lyrics.text, u"歌詞\r\ntwo");
}

TEST_F(ReadSongFileLyricsWin32, MissingFilesAndFarLyricsGiveNone) {
  player.lyrics = u"yes";
  EXPECT_FALSE(read(u16(folder / L"missing.mp3")));
  EXPECT_FALSE(lyrics.has);
  // Lyrics behind the first 2000000 bytes are not looked for.
  const std::u16string distant = write(L"far.mp3", test::id3_header(3) + test::filler(2100000) +
                                                       test::uslt_frame(0, "eng", Bytes{0, 'x'}));
  EXPECT_FALSE(read(distant));
  EXPECT_EQ(lyrics.text, u"");
}

TEST(FileByteSource, ReadsRangesOfTheFile) {
  test::TempFolder folder;
  ASSERT_TRUE(test::write_bytes(folder / L"bytes.bin", test::bytes("0123456789")));
  const auto source = open_file_byte_source(u16(folder / L"bytes.bin"));
  ASSERT_TRUE(source);
  EXPECT_EQ(source->size(), 10u);
  EXPECT_EQ(read_range(*source, 3, 4), test::bytes("3456"));
  EXPECT_EQ(read_range(*source, 8, 100), test::bytes("89"));
  EXPECT_EQ(read_range(*source, 10, 1), Bytes{});
  EXPECT_EQ(read_range(*source, 0, 2), test::bytes("01"));  // reads do not depend on each other
  EXPECT_EQ(open_file_byte_source(u16(folder / L"none.bin")), nullptr);
  EXPECT_EQ(open_file_byte_source(u16(folder.path())), nullptr);
}

}  // namespace
}  // namespace sabla
