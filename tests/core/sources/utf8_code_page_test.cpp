#include "sources/utf8_code_page.h"

#include <gtest/gtest.h>

namespace sabla {
namespace {

std::u16string utf8(std::string_view bytes) { return Utf8CodePage{}.decode(bytes); }

TEST(Utf8CodePage, DecodesWellFormedText) {
  EXPECT_EQ(utf8("abc"), u"abc");
  EXPECT_EQ(utf8("\xE6\xAD\x8C\xE8\xA9\x9E"), u"歌詞");
  EXPECT_EQ(utf8("\xC3\xA9"), u"\u00E9");
  EXPECT_EQ(utf8("\xF0\x9F\x8E\xA4"), u"\U0001F3A4");  // beyond the basic plane: a pair
  EXPECT_EQ(utf8("\xEF\xBB\xBFx"), u"\uFEFFx");        // the mark is a character like others
  EXPECT_EQ(utf8("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
  EXPECT_EQ(utf8(""), u"");
}

TEST(Utf8CodePage, EachIllFormedSequenceBecomesOneReplacement) {
  EXPECT_EQ(utf8("a\x80"
                 "b"),
            u"a\uFFFDb");                        // stray continuation byte
  EXPECT_EQ(utf8("\xC0\xAF"), u"\uFFFD\uFFFD");  // C0 and C1 start nothing
  EXPECT_EQ(utf8("\xF5\x80"), u"\uFFFD\uFFFD");  // nor does anything above F4
  // The first continuation byte is part of a bad overlong form, surrogate or too large code.
  EXPECT_EQ(utf8("\xE0\x80\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8("\xE0\x9F\xBF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8("\xED\xA0\x80"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8("\xF0\x8F\xBF\xBF"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(utf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(utf8("\xED\x9F\xBF"), u"\uD7FF");
  // A byte that breaks a sequence starts anew.
  EXPECT_EQ(utf8("\xE6\xAD"
                 "a"),
            u"\uFFFDa");
  EXPECT_EQ(utf8("\xE6\xE8\xA9\x9E"), u"\uFFFD詞");
  // A sequence cut off by the end of the input takes the rest with it.
  EXPECT_EQ(utf8("\xE6\xAD"), u"\uFFFD");
  EXPECT_EQ(utf8("a\xF0\x9F\x8E"), u"a\uFFFD");
  EXPECT_EQ(utf8("\xF0"
                 "ab"),
            u"\uFFFD");
}

}  // namespace
}  // namespace sabla
