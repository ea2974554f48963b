#include "sources/txt_cleanup_8bit.h"

#include <gtest/gtest.h>

#include "player/txt_cleanup.h"
#include "sources/lyric_save_codec.h"

namespace sabla {
namespace {

const LeadBytes kSingleByte{};

std::string stripped(std::string text, const LeadBytes& lead = kSingleByte) {
  strip_tags_for_txt(text, lead);
  return text;
}

std::string emptied(std::string text, size_t limit = std::string::npos) {
  empty_meta_lines(text, limit);
  return text;
}

TEST(TxtCleanup8bit, StripsTagsUpToTheFirstBracketThatIsNoTag) {
  EXPECT_EQ(stripped("[00:01:00]a[note][00:02:00]b"), "a[note][00:02:00]b");
  EXPECT_EQ(stripped("[00:01:00]a\r\n[00:02]b\r\n[0:03]c[00:04]"), "a\r\nb\r\n[0:03]c[00:04]");
  EXPECT_EQ(stripped("[00:01.00]a"), "[00:01.00]a");
  EXPECT_EQ(stripped("[00:01:00"), "[00:01:00");
  EXPECT_EQ(stripped("[00:0"), "[00:0");

  std::string text = "plain";
  EXPECT_FALSE(strip_tags_for_txt(text, kSingleByte));
  text = "[00:00]";
  EXPECT_TRUE(strip_tags_for_txt(text, kSingleByte));
  EXPECT_EQ(text, "");
}

TEST(TxtCleanup8bit, TrailBytesAreNeverTakenForBrackets) {
  const LeadBytes sjis = shift_jis_lead_bytes();
  // "ゼ" is 83 5B in Shift_JIS: its second byte is '['.
  const std::string ze = "\x83\x5B";
  EXPECT_EQ(stripped("[00:01:00]" + ze + "\r\n[00:02:00]b", sjis), ze + "\r\nb");
  // A trail byte '[' followed by what looks like a tag stays whole.
  EXPECT_EQ(stripped("\x83[00:01]x", sjis), "\x83[00:01]x");
  // A lead byte at the very end stands alone.
  EXPECT_EQ(stripped("[00:01]\x83", sjis), "\x83");
  EXPECT_TRUE(sjis[0x81] && sjis[0x9F] && sjis[0xE0] && sjis[0xFC]);
  EXPECT_FALSE(sjis[0x80] || sjis[0xA0] || sjis[0xDF] || sjis[0xFD] || sjis['[']);
}

TEST(TxtCleanup8bit, EmptiesMetaLinesAndKeepsThem) {
  EXPECT_EQ(emptied("@title=x\r\na\r\n@by y\r\nb\r\n@end"), "\r\na\r\n\r\nb\r\n");
  EXPECT_EQ(emptied("a@b\r\n @c"), "a@b\r\n @c");
  EXPECT_EQ(emptied("@abcdef\r\nx", 3), "cdef\r\nx");  // only the scan limit is removed

  std::string text = "a\r\nb";
  EXPECT_FALSE(empty_meta_lines(text));
  text = "@";
  EXPECT_TRUE(empty_meta_lines(text));
  EXPECT_EQ(text, "");
  text = "\r\n";
  EXPECT_FALSE(empty_meta_lines(text));
}

TEST(TxtCleanup8bit, AgreesWithTheUtf16Forms) {
  const auto codec = make_ansi_codec();
  const std::u16string samples[] = {
      u"[00:01:00]ゼロ\r\n[00:02:00]ソ\\表\r\n@作詞 ゼ\r\n[00:03]終",
      u"[00:01:00]a[note][00:02:00]b",
      u"@\r\n@@\r\n[99:99:99]ポ[00:00]",
  };
  for (const std::u16string& sample : samples) {
    std::u16string wide = sample;
    std::string narrow = codec->encode(sample).value();
    EXPECT_EQ(strip_tags_for_txt(wide), strip_tags_for_txt(narrow, codec->lead_bytes()));
    EXPECT_EQ(empty_meta_lines(wide, 100), empty_meta_lines(narrow, 100));
    EXPECT_EQ(codec->decode(narrow), wide);
  }
}

}  // namespace
}  // namespace sabla
