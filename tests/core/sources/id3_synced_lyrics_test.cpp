// SYLT frames as hand-built bytes: the sizes and counts in them are never trusted.
#include <gtest/gtest.h>

#include "core/sources/tag_bytes.h"
#include "sources/song_tag_scan.h"

namespace sabla {
namespace {

using test::Bytes;
using test::operator+;

// A tag of `version` holding one SYLT frame whose header claims `claimed` bytes.
Bytes sylt_file(int version, const Bytes& body, uint32_t claimed) {
  return test::bytes("ID3") + Bytes{static_cast<uint8_t>(version), 0, 0, 0, 0, 0x10, 0} +
         test::bytes("SYLT") + test::big_endian(claimed, 4) + Bytes{0, 0} + body;
}

std::optional<std::u16string> scan(const Bytes& file) {
  MemoryByteSource source(file);
  return scan_id3_synced_lyrics(source);
}

TEST(Id3SyncedLyrics, BadFramesAreBounded) {
  const Bytes head = Bytes{3} + test::bytes("eng") + Bytes{2, 1} + Bytes{0};  // UTF-8, no desc
  const Bytes entry = test::bytes("la") + Bytes{0} + test::big_endian(1000, 4);
  const Bytes two = head + entry + test::bytes("li") + Bytes{0} + test::big_endian(2000, 4);
  struct Case {
    const char* what;
    Bytes file;
    std::optional<std::u16string> lyrics;
  };
  const Case cases[] = {
      {"exact size", sylt_file(3, two, static_cast<uint32_t>(two.size())),
       u"[00:01:00]la\r\n[00:02:00]li"},
      // Claims far more than the file holds: only what is there is read.
      {"size past the end", sylt_file(3, two, 0x7FFFFFFF), u"[00:01:00]la\r\n[00:02:00]li"},
      // Claims fewer bytes than its entries take: the entries beyond the size are not read.
      {"size cuts the entries", sylt_file(3, two, static_cast<uint32_t>(head.size() + 7)),
       u"[00:01:00]la"},
      {"timestamp cut off", sylt_file(3, head + test::bytes("la") + Bytes{0, 0, 0}, 100),
       std::nullopt},
      {"no terminator", sylt_file(3, head + test::bytes("lalala"), 100), std::nullopt},
      {"unknown encoding", sylt_file(3, Bytes{7} + Bytes(two.begin() + 1, two.end()), 100),
       std::nullopt},
      {"MPEG frames", sylt_file(3, Bytes{3, 'e', 'n', 'g', 1, 1, 0} + entry, 100), std::nullopt},
      {"truncated header", test::bytes("ID3\x03") + test::bytes("SYLT\x00"), std::nullopt},
      {"no ID3 tag", test::bytes("RIFF....SYLT"), std::nullopt},
      // Odd UTF-16 data without a terminator ends with the frame.
      {"UTF-16 unterminated", sylt_file(4, Bytes{1, 'e', 'n', 'g', 2, 1, 0xFF, 0xFE, 0, 0, 'a'}, 11),
       std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(scan(c.file), c.lyrics) << c.what;

  // A frame of 10,000 entries stamped past the largest tag time is clamped, and bounded.
  Bytes many = head;
  for (int i = 0; i < 10000; ++i) many = many + Bytes{'x', 0} + test::big_endian(0xFFFFFFFF, 4);
  const auto lyrics = scan(sylt_file(4, many, 0x0FFFFFFF));
  ASSERT_TRUE(lyrics);
  EXPECT_EQ(lyrics->substr(0, 13), u"[99:99:99]x\r\n");
  EXPECT_LE(lyrics->size(), 32767u);
}

}  // namespace
}  // namespace sabla
