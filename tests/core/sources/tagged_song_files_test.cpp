// Song files whose lyrics were written by real taggers (tests/data/make_tagged_songs.sh).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/sources/tag_bytes.h"
#include "sources/song_tag_scan.h"

namespace sabla {
namespace {

std::string data_path(const std::string& name) {
  std::string here = __FILE__;
  here.resize(here.rfind("core/sources"));
#ifdef _WIN32
  // Wine shows the Unix file system as drive Z.
  if (!here.empty() && here[0] == '/') here = "Z:" + here;
#endif
  return here + "data/" + name;
}

std::optional<std::u16string> scan_file(const std::string& name) {
  std::ifstream in(data_path(name), std::ios::binary);
  EXPECT_TRUE(in.good()) << data_path(name);
  const test::Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  MemoryByteSource source(file);
  // Every 8-bit text here is ASCII, the same in every code page.
  const test::ByteCodePage code_page;
  return scan_song_file(source, song_file_kind(std::u16string(name.begin(), name.end())),
                        code_page);
}

TEST(TaggedSongFiles, LyricsWrittenByTaggersAreFound) {
  EXPECT_EQ(scan_file("id3v2_uslt_latin1.mp3"), u"First line\r\nSecond line");
  EXPECT_EQ(scan_file("mutagen_uslt_utf16_v23.mp3"), u"歌詞の一行目\r\n二行目");
  EXPECT_EQ(scan_file("mutagen_uslt_utf16_v24.mp3"), u"四の歌詞\r\nです");
  EXPECT_EQ(scan_file("mutagen_uslt_described.mp3"), u"Hello\r\nWorld");
  EXPECT_EQ(scan_file("atomicparsley_lyrics.m4a"), u"歌詞\r\ntwo");
}

std::optional<std::u16string> scan_synced(const std::string& name) {
  std::ifstream in(data_path(name), std::ios::binary);
  EXPECT_TRUE(in.good()) << data_path(name);
  const test::Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  MemoryByteSource source(file);
  return scan_id3_synced_lyrics(source);
}

TEST(TaggedSongFiles, SynchronisedLyricsWrittenByMutagenAreTimedLines) {
  const std::u16string japanese = u"[00:01:50]灯りの歌\r\n[01:02:34]second line\r\n[02:05:00]三行目";
  EXPECT_EQ(scan_synced("mutagen_sylt_enc0_v23.mp3"),
            u"[00:01:50]Latin-1 é\r\n[01:02:34]second line\r\n[02:05:00]third");
  EXPECT_EQ(scan_synced("mutagen_sylt_enc1_v23.mp3"), japanese);
  EXPECT_EQ(scan_synced("mutagen_sylt_enc2_v24.mp3"), japanese);
  EXPECT_EQ(scan_synced("mutagen_sylt_enc3_v24.mp3"), japanese);
  EXPECT_EQ(scan_synced("mutagen_sylt_syllables.mp3"), u"[00:01:00]Hello\r\n[00:03:00]World");
  // MPEG-frame stamps cannot be turned into times without decoding the audio.
  EXPECT_EQ(scan_synced("mutagen_sylt_mpeg_frames.mp3"), std::nullopt);
  // A file with unsynchronised lyrics only.
  EXPECT_EQ(scan_synced("mutagen_uslt_utf16_v24.mp3"), std::nullopt);
}

}  // namespace
}  // namespace sabla
