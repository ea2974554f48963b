// The own version from the version resource's bytes, and the interface text table.
#include "host/own_version.h"

#include <gtest/gtest.h>

#include <vector>

#include "state/string_table.h"

namespace sabla {
namespace {

// A VS_VERSIONINFO block as the resource compiler lays it out, fixed part only.
std::vector<uint8_t> version_block(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
  std::vector<uint8_t> bytes;
  auto put16 = [&](uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  put16(92);  // block length
  put16(52);  // value length
  put16(0);   // binary value
  for (const char16_t c : std::u16string_view(u"VS_VERSION_INFO", 16)) put16(c);
  put16(0);  // padding to the 4-byte boundary at 40
  put32(0xFEEF04BDu);
  put32(0x00010000u);
  put32(static_cast<uint32_t>(a) << 16 | b);
  put32(static_cast<uint32_t>(c) << 16 | d);
  for (int i = 0; i < 9; ++i) put32(0);
  return bytes;
}

TEST(OwnVersion, FixedFileVersionIsFoundOnlyInAWellFormedBlock) {
  std::vector<uint8_t> block = version_block(0, 68, 1, 0);
  ASSERT_EQ(block.size(), 92u);
  EXPECT_EQ(fixed_file_version(block), (VersionParts{0, 68, 1, 0}));

  EXPECT_FALSE(fixed_file_version(std::span(block).first(91)));
  EXPECT_FALSE(fixed_file_version({}));
  std::vector<uint8_t> wrong_key = block;
  wrong_key[8] = 'X';
  EXPECT_FALSE(fixed_file_version(wrong_key));
  std::vector<uint8_t> wrong_signature = block;
  wrong_signature[40] ^= 1;
  EXPECT_FALSE(fixed_file_version(wrong_signature));
  std::vector<uint8_t> short_value = block;
  short_value[2] = 10;
  EXPECT_FALSE(fixed_file_version(short_value));
}

TEST(OwnVersion, TextNumberAndCaption) {
  const OwnVersion release = make_own_version({0, 68, 1, 0});
  EXPECT_EQ(release.text, u"0.68.1.0");
  EXPECT_EQ(release.number, 6810);
  EXPECT_EQ(release.caption, u"Sabla ver.0.68.1.0 BETA");
  EXPECT_EQ(make_own_version({1, 2, 3, 4}).number, 1234);
  // More digits than the number holds: it saturates instead of wrapping to a small one.
  EXPECT_EQ(make_own_version({65535, 65535, 65535, 65535}).number, 2147483647);
  EXPECT_EQ(make_own_version({65535, 65535, 65535, 65535}).text, u"65535.65535.65535.65535");
}

TEST(StringTable, KeepsCutCopiesAndAnswersEmptyOutsideIt) {
  StringTable table;
  std::u16string long_text(600, u'a');
  table.set(40039, u"lrc 保存に失敗しました。");
  table.set(1, long_text);
  table.set(0, u"never");
  table.set(StringTable::kLastId + 1, u"never");
  EXPECT_EQ(table.text(40039), u"lrc 保存に失敗しました。");
  EXPECT_EQ(table.text(1).size(), StringTable::kMaxLength);
  EXPECT_EQ(table.text(0), u"");
  EXPECT_EQ(table.text(40069), u"");
  EXPECT_EQ(table.text(-5), u"");
  EXPECT_EQ(table.size(), 2u);
  table.clear();
  EXPECT_EQ(table.text(40039), u"");
}

}  // namespace
}  // namespace sabla
