#include <gtest/gtest.h>

#include "core/sources/tag_bytes.h"
#include "sources/byte_scan.h"
#include "sources/song_tag_scan.h"

namespace sabla {
namespace {

using test::Bytes;
using test::operator+;
using test::bytes;

std::optional<std::u16string> scan(const Bytes& file) {
  MemoryByteSource source(file);
  return scan_mp4_lyrics(source);
}

Bytes m4a(const Bytes& atoms) {
  return test::big_endian(24, 4) + bytes("ftypM4A ") + test::filler(12, 0) + atoms +
         test::big_endian(16, 4) + bytes("mdat") + test::filler(8);
}

Bytes ilst(const Bytes& items) {
  return test::big_endian(static_cast<uint32_t>(8 + items.size()), 4) + bytes("ilst") + items;
}

TEST(Mp4LyricsScan, ReadsTheUtf8TextOfTheLyricsAtom) {
  EXPECT_EQ(scan(m4a(ilst(test::lyrics_atom("\xE6\xAD\x8C\xE8\xA9\x9E\n2")))), u"歌詞\n2");
  // The text runs to the next zero byte, here the size of the atom behind it.
  EXPECT_EQ(scan(m4a(ilst(test::lyrics_atom("a") + test::lyrics_atom("b")))), u"a");
  // Or to the end of the file.
  EXPECT_EQ(scan(test::lyrics_atom("end")), u"end");
  // An atom cut off before its text has an empty text.
  EXPECT_EQ(scan(bytes("\xA9lyr")), u"");
  EXPECT_EQ(scan(m4a(ilst(test::big_endian(8, 4) + bytes("\xA9nam")))), std::nullopt);
  EXPECT_EQ(scan(Bytes{}), std::nullopt);
}

TEST(Mp4LyricsScan, ReadsAtMostSixtyFourKibibytesOfText) {
  std::string long_text;
  for (int i = 0; i < 30000; ++i) long_text += "\xE6\xAD\x8C";  // 歌, three bytes each
  const std::optional<std::u16string> text = scan(test::lyrics_atom(long_text));
  ASSERT_TRUE(text.has_value());
  // 65536 bytes: 21845 whole characters and the first byte of the next.
  EXPECT_EQ(*text, std::u16string(21845, u'歌') + u"\uFFFD");
}

TEST(Mp4LyricsScan, SearchStopsAfterTwoMillionBytes) {
  const Bytes atom = test::lyrics_atom("x");
  const size_t type_offset = 4;
  EXPECT_EQ(scan(test::filler(kScanByteLimit - 4 - type_offset) + atom), u"x");
  EXPECT_EQ(scan(test::filler(kScanByteLimit - 3 - type_offset) + atom), std::nullopt);
}

TEST(Mp4LyricsScan, LineEndsAreMadeCrLfForTheSongFile) {
  const Bytes file = m4a(ilst(test::lyrics_atom("a\nb\rc")));
  MemoryByteSource source(file);
  const test::ByteCodePage unused;
  EXPECT_EQ(scan_song_file(source, SongFileKind::kMp4, unused), u"a\r\nb\r\nc");
  EXPECT_EQ(unused.calls, 0);
}

TEST(SongFileKind, ToldByTheExtensionInAnyLetterCase) {
  EXPECT_EQ(song_file_kind(u"C:\\Music\\a.mp3"), SongFileKind::kId3);
  EXPECT_EQ(song_file_kind(u"C:\\Music\\a.AIF"), SongFileKind::kId3);
  EXPECT_EQ(song_file_kind(u"a.b.M4a"), SongFileKind::kMp4);
  EXPECT_EQ(song_file_kind(u"a.m4p"), SongFileKind::kMp4);
  EXPECT_EQ(song_file_kind(u"a.m4B"), SongFileKind::kMp4);
  EXPECT_EQ(song_file_kind(u"a.flac"), SongFileKind::kUnsupported);
  EXPECT_EQ(song_file_kind(u"a.aiff"), SongFileKind::kUnsupported);
  EXPECT_EQ(song_file_kind(u"a.mp3 "), SongFileKind::kUnsupported);
  EXPECT_EQ(song_file_kind(u"C:\\Music\\song"), SongFileKind::kUnsupported);
  // The last '.' of the whole path decides, even inside a folder name.
  EXPECT_EQ(song_file_kind(u"C:\\a.mp3\\song"), SongFileKind::kUnsupported);
  EXPECT_EQ(song_file_kind(u""), SongFileKind::kUnsupported);
  EXPECT_EQ(song_file_kind(u".mp3"), SongFileKind::kId3);
}

}  // namespace
}  // namespace sabla
