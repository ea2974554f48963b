#include "sources/song_file_lyrics.h"

#include <gtest/gtest.h>

#include <map>

#include "core/sources/fake_player_bridge.h"
#include "core/sources/tag_bytes.h"

namespace sabla {
namespace {

using test::Bytes;
using test::operator+;
using test::bytes;

// Song files held in memory by path; records which paths were opened.
class SongFiles {
 public:
  std::map<std::u16string, Bytes> files;
  std::vector<std::u16string> opened;

  SongFileOpener opener() {
    return [this](std::u16string_view path) -> std::unique_ptr<ByteSource> {
      opened.emplace_back(path);
      const auto found = files.find(std::u16string(path));
      if (found == files.end()) return nullptr;
      return std::make_unique<MemoryByteSource>(found->second);
    };
  }
};

class ReadSongFileLyrics : public ::testing::Test {
 protected:
  void SetUp() override {
    files.files[u"C:\\Music\\tagged.mp3"] =
        test::id3_header(3) + test::uslt_frame(0, "eng", Bytes{0} + bytes("from\nfile"));
    files.files[u"C:\\Music\\tagged.M4A"] =
        test::lyrics_atom("mp4\nlyrics") + test::big_endian(0, 4);
    files.files[u"C:\\Music\\plain.mp3"] = test::id3_header(3) + test::filler(100);
    files.files[u"C:\\Music\\tagged.flac"] = files.files[u"C:\\Music\\tagged.mp3"];
    player.lyrics = u"from\rplayer";
  }

  bool read(std::u16string_view path, int32_t version) {
    const SongLyricsAccess access{version, player, status, code_page, files.opener()};
    return read_song_file_lyrics(path, lyrics, access);
  }

  test::FakePlayerBridge player;
  StatusMessage status;
  test::ByteCodePage code_page;
  SongFiles files;
  SongLyrics lyrics{u"stale", true};
};

TEST_F(ReadSongFileLyrics, OldHostsHaveNoSongLyrics) {
  EXPECT_FALSE(read(u"C:\\Music\\tagged.mp3", 4));
  EXPECT_EQ(lyrics.text, u"");
  EXPECT_FALSE(lyrics.has);
  EXPECT_TRUE(player.calls.empty());
  EXPECT_TRUE(files.opened.empty());
}

TEST_F(ReadSongFileLyrics, VersionsFiveAndSixReadTheFile) {
  for (const int32_t version : {5, 6}) {
    EXPECT_TRUE(read(u"C:\\Music\\tagged.mp3", version));
    EXPECT_EQ(lyrics.text, u"from\r\nfile");
    EXPECT_TRUE(lyrics.has);
    EXPECT_TRUE(read(u"C:\\Music\\tagged.M4A", version));
    EXPECT_EQ(lyrics.text, u"mp4\r\nlyrics");
    EXPECT_TRUE(lyrics.has);
  }
  EXPECT_EQ(player.calls, (std::vector<std::string>{"has_lyrics 5", "has_lyrics 5", "has_lyrics 6",
                                                    "has_lyrics 6"}));
}

TEST_F(ReadSongFileLyrics, NothingFoundLeavesTheLyricsEmpty) {
  EXPECT_FALSE(read(u"C:\\Music\\plain.mp3", 6));
  EXPECT_FALSE(lyrics.has);
  EXPECT_EQ(lyrics.text, u"");
  // Other extensions are not opened at all, whatever they hold.
  EXPECT_FALSE(read(u"C:\\Music\\tagged.flac", 6));
  EXPECT_FALSE(read(u"C:\\Music\\no extension", 6));
  // A file that cannot be opened.
  EXPECT_FALSE(read(u"C:\\Music\\missing.mp3", 6));
  EXPECT_EQ(files.opened,
            (std::vector<std::u16string>{u"C:\\Music\\plain.mp3", u"C:\\Music\\missing.mp3"}));
  EXPECT_FALSE(lyrics.has);
}

TEST_F(ReadSongFileLyrics, WithoutPlayerLyricsOnlySynchronisedOnesAreLookedFor) {
  player.lyrics.clear();
  // The file holds a USLT frame only, which the player would have known about.
  EXPECT_FALSE(read(u"C:\\Music\\tagged.mp3", 6));
  EXPECT_EQ(files.opened, (std::vector<std::u16string>{u"C:\\Music\\tagged.mp3"}));
  EXPECT_FALSE(lyrics.has);
  // MP4 files have no SYLT: not opened.
  EXPECT_FALSE(read(u"C:\\Music\\tagged.M4A", 6));
  EXPECT_EQ(files.opened.size(), 1u);
}

TEST_F(ReadSongFileLyrics, LaterHostsAskThePlayer) {
  EXPECT_TRUE(read(u"C:\\Music\\tagged.mp3", 7));
  EXPECT_EQ(lyrics.text, u"from\r\nplayer");
  EXPECT_TRUE(lyrics.has);
  EXPECT_TRUE(files.opened.empty());
  EXPECT_EQ(player.calls, (std::vector<std::string>{"has_lyrics 7", "read_lyrics 7"}));
  player.lyrics.clear();
  EXPECT_FALSE(read(u"C:\\Music\\tagged.mp3", 12));
  EXPECT_FALSE(lyrics.has);
  // Only to look for synchronised lyrics, which the player does not report.
  EXPECT_EQ(files.opened, (std::vector<std::u16string>{u"C:\\Music\\tagged.mp3"}));
}

}  // namespace
}  // namespace sabla
