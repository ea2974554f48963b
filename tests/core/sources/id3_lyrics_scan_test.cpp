#include <gtest/gtest.h>

#include "core/sources/tag_bytes.h"
#include "sources/byte_scan.h"
#include "sources/song_tag_scan.h"

namespace sabla {
namespace {

using test::ByteCodePage;
using test::Bytes;
using test::operator+;
using test::bytes;

const Bytes kShiftJisLyrics = {0x89, 0xCC, 0x8E, 0x8C};               // 歌詞 in Shift_JIS
const std::u16string kShiftJisAsBytes = u"\u0089\u00CC\u008E\u008C";  // as ByteCodePage shows it

std::optional<std::u16string> scan(const Bytes& file) {
  MemoryByteSource source(file);
  const ByteCodePage code_page;
  return scan_id3_lyrics(source, code_page);
}

Bytes mp3(const Bytes& frames) {
  return test::id3_header(3) + test::text_frame("TIT2", "Song") + frames + test::filler(64, 0) +
         Bytes{0xFF, 0xFB, 0x90, 0x64} + test::filler(400);
}

Bytes utf16_descriptor_and(std::u16string_view text) {
  return Bytes{0xFF, 0xFE, 0, 0, 0xFF, 0xFE} + test::utf16le(text);
}

TEST(Id3LyricsScan, EightBitFrameWithAnEmptyDescriptor) {
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "jpn", Bytes{0} + kShiftJisLyrics))), kShiftJisAsBytes);
  // A terminator behind the text is allowed.
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "eng", Bytes{0} + bytes("la") + Bytes{0}))), u"la");
  // The text is read as far as the frame's size says, even when no zero byte follows.
  EXPECT_EQ(scan(test::id3_header(3) + test::uslt_frame(0, "eng", Bytes{0} + bytes("end"))),
            u"end");
  // Empty lyrics are still lyrics found.
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "XXX", Bytes{0}))), u"");
}

TEST(Id3LyricsScan, UnknownLanguageFallsToTheDescriptorReading) {
  // Upper case JPN is no accepted code and the descriptor holds no mark; the text is still
  // found behind the descriptor's terminator.
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "JPN", Bytes{0} + kShiftJisLyrics))), kShiftJisAsBytes);
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "eng", bytes("Lyrics") + Bytes{0} + bytes("hello")))),
            u"hello");
  EXPECT_EQ(scan(mp3(test::uslt_frame(3, "eng", bytes("d") + Bytes{0} + bytes("\xE6\xAD\x8C")))),
            u"\u00E6\u00AD\u008C");  // UTF-8 frames go through the system code page
  // A terminator behind 8-bit text does not make it UTF-16.
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "eng", bytes("d") + Bytes{0} + bytes("hi") + Bytes{0}))),
            u"hi");
  // Zero bytes inside it do: UTF-16 units without marks behind a UTF-16 descriptor.
  EXPECT_EQ(scan(mp3(test::uslt_frame(1, "eng",
                                      test::utf16le(u"d") + Bytes{0, 0} + test::utf16le(u"ab")))),
            u"ab");
}

TEST(Id3LyricsScan, Utf16FrameWithAnEmptyDescriptor) {
  EXPECT_EQ(scan(mp3(test::uslt_frame(1, "eng", utf16_descriptor_and(u"歌詞\nです")))),
            u"歌詞\nです");
  // The mark byte FE means big-endian units.
  EXPECT_EQ(scan(mp3(test::uslt_frame(
                1, "jpn", Bytes{0xFE, 0xFF, 0, 0, 0xFE, 0xFF} + test::utf16be(u"歌詞")))),
            u"歌詞");
  // The language is not looked at for UTF-16 frames.
  EXPECT_EQ(scan(mp3(test::uslt_frame(1, "???", utf16_descriptor_and(u"x")))), u"x");
  // Text running to the end of the file, with half a unit at the end.
  EXPECT_EQ(scan(test::id3_header(3) + test::uslt_frame(1, "eng", utf16_descriptor_and(u"yz")) +
                 Bytes{'!'}),
            u"yz");
}

TEST(Id3LyricsScan, Version22UltFrames) {
  const Bytes header = test::id3_header(2);
  EXPECT_EQ(
      scan(header + test::ult_frame(0, "jpn", Bytes{0} + kShiftJisLyrics) + test::filler(16, 0)),
      kShiftJisAsBytes);
  EXPECT_EQ(
      scan(header + test::ult_frame(1, "eng", utf16_descriptor_and(u"ul")) + test::filler(16, 0)),
      u"ul");
  EXPECT_EQ(
      scan(header +
           test::ult_frame(1, "eng", Bytes{0xFE, 0xFF, 0, 0, 0xFE, 0xFF} + test::utf16be(u"be")) +
           test::filler(16, 0)),
      u"be");
  // 8-bit ULT text has no size: it runs to the next zero byte.
  EXPECT_EQ(scan(header + test::ult_frame(0, "eng", Bytes{0} + bytes("one")) + bytes("TT2")),
            u"oneTT2");
  // A ULT frame of no known form ends that search; a USLT frame is looked for next.
  EXPECT_EQ(scan(header + test::ult_frame(0, "ENG", Bytes{0} + bytes("no")) +
                 test::uslt_frame(0, "eng", Bytes{0} + bytes("yes"))),
            u"yes");
  EXPECT_EQ(scan(header + test::ult_frame(0, "ENG", Bytes{0} + bytes("no"))), std::nullopt);
  // From version 3 on ULT is not looked for, nor behind an MPEG frame header (whose fourth
  // byte would be negative as a signed byte).
  EXPECT_EQ(scan(test::id3_header(3) + test::ult_frame(0, "eng", Bytes{0} + bytes("no"))),
            std::nullopt);
  EXPECT_EQ(scan(Bytes{0xFF, 0xFB, 0xE0, 0xC4} + test::ult_frame(0, "eng", Bytes{0} + bytes("n"))),
            std::nullopt);
}

TEST(Id3LyricsScan, AiffFilesAreSearchedInTheirLastPartWithoutTheScanLimit) {
  const Bytes lyrics = test::ult_frame(0, "eng", Bytes{0} + bytes("aiff")) + Bytes{0};
  const Bytes head = bytes("FORM") + test::big_endian(0, 4) + bytes("AIFF");
  // Small files: searched whole.
  EXPECT_EQ(scan(head + lyrics + test::filler(200000)), u"aiff");
  // Large files: only the last 131072 bytes count.
  EXPECT_EQ(scan(head + lyrics + test::filler(300000)), std::nullopt);
  EXPECT_EQ(scan(head + test::filler(300000) + lyrics + test::filler(131072 - lyrics.size())),
            u"aiff");
  EXPECT_EQ(scan(head + test::filler(300000) + lyrics + test::filler(131073 - lyrics.size())),
            std::nullopt);
  // Far beyond the 2000000 bytes any other search stops at.
  EXPECT_EQ(scan(head + test::filler(2500000) + lyrics + test::filler(100)), u"aiff");
}

TEST(Id3LyricsScan, SearchesStopAfterTwoMillionBytes) {
  const Bytes frame = test::uslt_frame(0, "eng", Bytes{0} + bytes("far"));
  const Bytes head = test::id3_header(3);
  const size_t fits = kScanByteLimit - head.size() - 4;
  EXPECT_EQ(scan(head + test::filler(fits) + frame), u"far");
  EXPECT_EQ(scan(head + test::filler(fits + 1) + frame), std::nullopt);
  const Bytes ult = test::ult_frame(0, "eng", Bytes{0} + bytes("far")) + Bytes{0};
  EXPECT_EQ(scan(test::id3_header(2) + test::filler(kScanByteLimit) + ult), std::nullopt);
}

TEST(Id3LyricsScan, SizesThatContradictTheFrameReadNothingOutside) {
  // Stated sizes below what the fields take: no text, never a read before or past a buffer.
  for (const int64_t size : {0, 1, 4}) {
    EXPECT_EQ(scan(mp3(test::uslt_frame(0, "eng", Bytes{0} + bytes("text"), size))), std::nullopt)
        << size;
  }
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "eng", bytes("descriptor") + Bytes{0} + bytes("t"), 6))),
            std::nullopt);
  // Sizes beyond the file read what is there.
  EXPECT_EQ(scan(test::id3_header(3) +
                 test::uslt_frame(0, "eng", bytes("d") + Bytes{0} + bytes("cut"), 0xFFFF)),
            u"cut");
  EXPECT_EQ(scan(test::id3_header(3) + test::uslt_frame(0, "eng", Bytes{0} + bytes("ab"), 0xFFFF)),
            u"ab");
  // Only the low half of the size field counts.
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "eng", Bytes{0} + bytes("low"), 0x10008))), u"low");
  // A text with a zero inside is UTF-16 to the descriptor reading.
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "eng", Bytes{0} + bytes("ab") + Bytes{0} + bytes("cd")))),
            u"\u6261\u6300");
}

TEST(Id3LyricsScan, CutOffFilesAndMissingDescriptorEnds) {
  EXPECT_EQ(scan(Bytes{}), std::nullopt);
  EXPECT_EQ(scan(bytes("ID3")), std::nullopt);
  EXPECT_EQ(scan(test::id3_header(3) + bytes("USLT")), std::nullopt);
  EXPECT_EQ(scan(test::id3_header(3) + bytes("USLT") + Bytes{0, 0, 0, 9, 0, 0, 0} + bytes("jpn")),
            std::nullopt);
  EXPECT_EQ(scan(test::id3_header(2) + bytes("ULT") + Bytes{0, 0, 9, 0} + bytes("jp")),
            std::nullopt);
  EXPECT_EQ(scan(test::id3_header(2) + bytes("ULT") + Bytes{0, 0, 9, 0} + bytes("jpn")),
            std::nullopt);
  // A descriptor reaching past the 256 bytes looked at.
  EXPECT_EQ(scan(mp3(test::uslt_frame(0, "eng", test::filler(300) + Bytes{0} + bytes("t")))),
            std::nullopt);
  // A zero as the last byte looked at ends nothing.
  EXPECT_EQ(scan(test::id3_header(3) + test::uslt_frame(0, "eng", bytes("d") + Bytes{0}, 6)),
            std::nullopt);
}

TEST(Id3LyricsScan, LineEndsAreMadeCrLfForTheSongFile) {
  const Bytes file = mp3(test::uslt_frame(0, "eng", Bytes{0} + bytes("a\rb\nc\r\nd")));
  MemoryByteSource source(file);
  const ByteCodePage code_page;
  EXPECT_EQ(scan_song_file(source, SongFileKind::kId3, code_page), u"a\r\nb\r\nc\r\nd");
  EXPECT_EQ(scan_song_file(source, SongFileKind::kUnsupported, code_page), std::nullopt);
}

#ifndef _WIN32
// Natively the system code page is 932, as on the systems the lyrics are written on.
TEST(Id3LyricsScan, ShiftJisTextDecodesToJapanese) {
  const Bytes file = mp3(test::uslt_frame(0, "jpn", Bytes{0} + kShiftJisLyrics));
  MemoryByteSource source(file);
  EXPECT_EQ(scan_id3_lyrics(source, *make_ansi_code_page()), u"歌詞");
}
#endif

}  // namespace
}  // namespace sabla
