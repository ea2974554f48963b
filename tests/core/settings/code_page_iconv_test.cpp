// The native decoder only: on Windows the ANSI code page is MultiByteToWideChar's, tested with
// the Win32 code.
#ifndef _WIN32
#include <gtest/gtest.h>

#include "settings/code_page.h"

namespace sabla {
namespace {

TEST(CodePageIconv, DecodesCodePage932) {
  const auto code_page = make_ansi_code_page();
  EXPECT_EQ(code_page->decode("\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E"),
            u"ＭＳ Ｐゴシック");
  EXPECT_EQ(code_page->decode("\x95\x5C"
                              "x"),
            u"表x");
  EXPECT_EQ(code_page->decode("\xB1\xB2"), u"ｱｲ");  // half-width katakana: single bytes
  EXPECT_EQ(code_page->decode(""), u"");
  // Bytes that start no character decode as MultiByteToWideChar does for code page 932.
  EXPECT_EQ(code_page->decode("a\x81"), u"a\u30FB");
  EXPECT_EQ(code_page->decode("\x81\x20"
                              "b"),
            u"\u30FB"
            "b");
  EXPECT_EQ(code_page->decode("\x85\x40"), u"\u30FB");
  EXPECT_EQ(code_page->decode("\x80\xA0\xFD\xFF"), u"\u0080\uF8F0\uF8F1\uF8F3");
  // Long input goes through more than one conversion round.
  const std::string many(5000, 'z');
  EXPECT_EQ(code_page->decode(many), std::u16string(5000, u'z'));
}

}  // namespace
}  // namespace sabla
#endif
