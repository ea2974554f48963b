#include "sources/text_buffer.h"

#include <gtest/gtest.h>

#include <string>

#include "core/sources/tag_bytes.h"

namespace sabla {
namespace {

using test::ByteCodePage;
using test::Bytes;
using test::operator+;

std::u16string normalized(std::u16string text) {
  normalize_line_ends(text);
  return text;
}

TEST(NormalizeLineEnds, EveryLineEndBecomesCrLf) {
  EXPECT_EQ(normalized(u"a\nb\rc\r\nd"), u"a\r\nb\r\nc\r\nd");
  EXPECT_EQ(normalized(u"a\r\r\nb"), u"a\r\n\r\nb");  // CR CR LF: two line ends
  EXPECT_EQ(normalized(u"a\n\r"), u"a\r\n\r\n");      // LF CR: two line ends, not one
  EXPECT_EQ(normalized(u"\r\n\r\n"), u"\r\n\r\n");
  EXPECT_EQ(normalized(u"no line end"), u"no line end");
  EXPECT_EQ(normalized(u""), u"");
  // The text ends at its terminator.
  EXPECT_EQ(normalized(std::u16string(u"a\nb\0c\n", 6)), u"a\r\nb");
}

TEST(NormalizeLineEnds, GrowingTextIsCutAtTheBufferEnd) {
  // 32766 letters and a LF: the CR still fits, its LF does not.
  std::u16string text(kMaxTextUnits - 1, u'x');
  EXPECT_EQ(normalized(text + u"\n"), text + u"\r");
  // Only line ends: the start of the expansion survives.
  const std::u16string ends = normalized(std::u16string(20000, u'\n'));
  ASSERT_EQ(ends.size(), kMaxTextUnits);
  EXPECT_EQ(ends.substr(0, 4), u"\r\n\r\n");
  EXPECT_EQ(ends.back(), u'\r');
  // A text longer than the buffer is cut even without line ends.
  EXPECT_EQ(normalized(std::u16string(kMaxTextUnits + 5, u'y')).size(), kMaxTextUnits);
  // An already normalised full buffer stays as it is.
  std::u16string full;
  while (full.size() + 3 <= kMaxTextUnits) full += u"z\r\n";
  EXPECT_EQ(normalized(full), full);
}

TEST(SwapByteOrder, SwapsUnitsUpToTheTerminator) {
  std::u16string text(u"\u4100\u0042\u3042\0\u4100", 5);
  swap_byte_order(text);
  EXPECT_EQ(text, std::u16string(u"A\u4200\u4230\0\u4100", 5));
  std::u16string empty;
  swap_byte_order(empty);
  EXPECT_EQ(empty, u"");
}

TEST(TextFromUtf16Bytes, ReadsLittleEndianUnitsToTheFirstZeroUnit) {
  EXPECT_EQ(text_from_utf16_bytes(test::utf16le(u"aあ"), false), u"aあ");
  EXPECT_EQ(text_from_utf16_bytes(test::utf16be(u"aあ"), true), u"aあ");
  EXPECT_EQ(text_from_utf16_bytes(test::utf16le(u"ab") + Bytes{'c'}, false), u"ab");  // odd byte
  EXPECT_EQ(text_from_utf16_bytes(Bytes{'a', 0, 0, 0, 'b', 0}, false), u"a");
  EXPECT_EQ(text_from_utf16_bytes(Bytes{}, true), u"");
  const std::u16string many(kMaxTextUnits + 10, u'q');
  EXPECT_EQ(text_from_utf16_bytes(test::utf16le(many), false), many.substr(0, kMaxTextUnits));
}

TEST(TextFromCodePage, DecodesUpToTheFirstZeroByteAndCutsAtTheBuffer) {
  const ByteCodePage code_page;
  EXPECT_EQ(text_from_code_page(Bytes{'a', 0xE9, 0, 'b'}, code_page), u"a\u00E9");
  EXPECT_EQ(text_from_code_page(Bytes{0, 'b'}, code_page), u"");
  EXPECT_EQ(text_from_code_page(Bytes(40000, 'w'), code_page), std::u16string(kMaxTextUnits, u'w'));
}

}  // namespace
}  // namespace sabla
