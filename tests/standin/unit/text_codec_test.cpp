#include "text_codec.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(TextCodec, Utf8RoundTripsThroughUtf16) {
  const std::string text = "a\xC3\xA9\xE5\xA4\x9C\xF0\x9F\x8E\x90";  // a é 夜 🎐
  const std::u16string wide = utf16_from_utf8(text);
  EXPECT_EQ(wide, u"a\u00E9\u591C\U0001F390");
  EXPECT_EQ(utf8_from_utf16(wide), text);
}

TEST(TextCodec, MalformedUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(utf16_from_utf8("\xC0\xAF"), u"\uFFFD\uFFFD");                      // overlong
  EXPECT_EQ(utf16_from_utf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");            // a surrogate
  EXPECT_EQ(utf16_from_utf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // past U+10FFFF
  EXPECT_EQ(utf16_from_utf8("x\xE5\xA4"), u"x\uFFFD\uFFFD");                    // cut short
  EXPECT_EQ(utf16_from_utf8("\xE5"
                            "a"),
            u"\uFFFDa");
  EXPECT_EQ(utf8_from_utf16(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(TextCodec, TextFilesByTheirByteOrderMark) {
  EXPECT_EQ(decode_text_file(std::string("\xFF\xFE"
                                         "a\0\x1C\x59",
                                         6)),
            u"a\u591C");
  EXPECT_EQ(decode_text_file(std::string("\xFE\xFF\0a\x59\x1C", 6)), u"a\u591C");
  EXPECT_EQ(decode_text_file("\xEF\xBB\xBF"
                             "ab"),
            u"ab");
  EXPECT_EQ(decode_text_file("ab"), u"ab");
  // An odd byte at the end of UTF-16 is dropped, not read past.
  EXPECT_EQ(decode_text_file(std::string("\xFF\xFE"
                                         "a\0b",
                                         5)),
            u"a");
  EXPECT_EQ(decode_text_file(""), u"");
}

}  // namespace
}  // namespace standin
