#include "sources/text_file.h"

#include <gtest/gtest.h>

#include <string>

#include "core/sources/tag_bytes.h"
#include "sources/text_buffer.h"

namespace sabla {
namespace {

using test::ByteCodePage;
using test::Bytes;
using test::operator+;

std::u16string decoded(const Bytes& file) {
  const ByteCodePage code_page;
  return decode_text_file(file, code_page);
}

TEST(DecodeTextFile, PicksTheEncodingByTheMark) {
  // UTF-16 with either mark gives the same text, line ends made CR LF.
  EXPECT_EQ(decoded(Bytes{0xFF, 0xFE} + test::utf16le(u"a\nb")), u"a\r\nb");
  EXPECT_EQ(decoded(Bytes{0xFE, 0xFF} + test::utf16be(u"a\nb")), u"a\r\nb");
  EXPECT_EQ(decoded(Bytes{0xFF, 0xFE} + test::utf16le(u"歌詞\r\n")), u"歌詞\r\n");
  // 8-bit: text mode turns CR LF into LF, the lone CR stays; both end as CR LF.
  EXPECT_EQ(decoded(test::bytes("a\rb\r\nc")), u"a\r\nb\r\nc");
  // UTF-16 without a mark is 8-bit text that ends at its first zero byte.
  EXPECT_EQ(decoded(test::utf16le(u"ab")), u"a");
  // The UTF-8 mark is a mark too (the encodings by content: text_encoding_test.cpp).
  EXPECT_EQ(decoded(Bytes{0xEF, 0xBB, 0xBF, 'x'}), u"x");
  // Files shorter than a mark.
  EXPECT_EQ(decoded(Bytes{}), u"");
  EXPECT_EQ(decoded(Bytes{'z'}), u"z");
  EXPECT_EQ(decoded(Bytes{0xFF}), u"\u00FF");
  // A mark alone is an empty text; a unit cut in half is dropped.
  EXPECT_EQ(decoded(Bytes{0xFE, 0xFF}), u"");
  EXPECT_EQ(decoded(Bytes{0xFF, 0xFE, 'a'}), u"");
  // A zero unit ends UTF-16 text.
  EXPECT_EQ(decoded(Bytes{0xFF, 0xFE} + test::utf16le(std::u16string(u"a\0b", 3))), u"a");
}

TEST(DecodeTextFile, EndOfFileByteEndsEightBitTextOnly) {
  EXPECT_EQ(decoded(test::bytes("ab\x1A"
                                "cd")),
            u"ab");
  EXPECT_EQ(decoded(test::bytes("\x1A"
                                "cd")),
            u"");
  EXPECT_EQ(decoded(Bytes{0xFF, 0xFE} + test::utf16le(u"a\x1A"
                                                      u"b")),
            u"a\x1A"
            u"b");
}

TEST(DecodeTextFile, EightBitTextGoesThroughTheCodePage) {
  const ByteCodePage code_page;
  decode_text_file(test::bytes("abc"), code_page);
  EXPECT_EQ(code_page.calls, 1);
  decode_text_file(Bytes{0xFF, 0xFE, 'a', 0}, code_page);
  EXPECT_EQ(code_page.calls, 1);
}

TEST(DecodeTextFile, LongFilesAreCutAtTheBuffers) {
  // 8-bit: at most 65535 bytes after text mode, then at most 32767 units.
  EXPECT_EQ(decoded(Bytes(100000, 'k')), std::u16string(kMaxTextUnits, u'k'));
  // UTF-16: at most 32767 units behind the mark.
  const std::u16string many(40000, u'm');
  EXPECT_EQ(decoded(Bytes{0xFF, 0xFE} + test::utf16le(many)), many.substr(0, kMaxTextUnits));
  // Never half a character: a surrogate pair the cut falls into goes whole, in either order.
  std::u16string pairs = std::u16string(kMaxTextUnits - 1, u'm') + u"\U0001F3EE\U0001F3EE";
  const std::u16string whole(kMaxTextUnits - 1, u'm');
  EXPECT_EQ(decoded(Bytes{0xFF, 0xFE} + test::utf16le(pairs)), whole);
  swap_byte_order(pairs);
  EXPECT_EQ(decoded(Bytes{0xFE, 0xFF} + test::utf16le(pairs)), whole);
  // Line ends that grow the text are cut the same way.
  std::u16string grown = u"\n" + std::u16string(kMaxTextUnits - 3, u'm') + u"\U0001F3EE";
  normalize_line_ends(grown);
  EXPECT_EQ(grown, u"\r\n" + std::u16string(kMaxTextUnits - 3, u'm'));
}

TEST(TextModeBytes, DeliversWhatTheCLibraryTextModeDelivers) {
  EXPECT_EQ(text_mode_bytes(test::bytes("a\r\nb\rc\n\r")), "a\nb\rc\n\r");
  EXPECT_EQ(text_mode_bytes(test::bytes("a\r\r\n")), "a\r\n");
  EXPECT_EQ(text_mode_bytes(test::bytes("x\r\x1A\ny")), "x\r");
  // The limit counts delivered bytes: CR LF pairs arrive as one byte each.
  std::string pairs;
  for (int i = 0; i < 40000; ++i) pairs += "\r\n";
  EXPECT_EQ(text_mode_bytes(test::bytes(pairs)), std::string(40000, '\n'));
  EXPECT_EQ(text_mode_bytes(test::bytes(pairs + pairs)), std::string(kMaxTextModeBytes, '\n'));
  EXPECT_EQ(text_mode_bytes(Bytes(70000, 'q')).size(), kMaxTextModeBytes);
}

TEST(DecodeTextFile, NeverLooksBeyondTheReadLimit) {
  // Whatever follows the first kTextFileReadLimit bytes cannot change the result, so the file
  // reader stops there. Worst cases: 8-bit text of CR LF pairs only, and UTF-16.
  Bytes pairs;
  while (pairs.size() < kTextFileReadLimit + 10) {
    pairs.push_back('\r');
    pairs.push_back('\n');
  }
  const Bytes wide = Bytes{0xFF, 0xFE} + test::utf16le(std::u16string(70000, u'w'));
  const ByteCodePage code_page;
  const auto head = [](const Bytes& file) {
    return Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(kTextFileReadLimit));
  };
  EXPECT_EQ(text_mode_bytes(head(pairs)), text_mode_bytes(pairs));
  EXPECT_EQ(decode_text_file(head(wide), code_page), decode_text_file(wide, code_page));
}

}  // namespace
}  // namespace sabla
