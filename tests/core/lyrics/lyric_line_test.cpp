#include "lyrics/lyric_line.h"

#include <gtest/gtest.h>

#include "lyrics/fixed_width_measurer.h"

namespace sabla {
namespace {

LyricLine line_of(std::u16string_view text, int32_t max_chars = 512) {
  LyricLine line;
  line.set_text(text, max_chars);
  return line;
}

TEST(LyricLine, NewLineHasNothing) {
  const LyricLine line;
  EXPECT_EQ(line.time(), -1);
  EXPECT_EQ(line.even_time(), UINT32_MAX);
  EXPECT_EQ(line.text(), u"");
  EXPECT_EQ(line.display_text(), u"");
  EXPECT_EQ(line.long_tag(), u"");
  EXPECT_EQ(line.short_tag(), u"");
  EXPECT_EQ(line.text_chars(), 0);
  EXPECT_EQ(line.text_extent(), Rect{});
  EXPECT_FALSE(line.is_meta());
}

TEST(LyricLine, TimesDisplayTextsAndTags) {
  LyricLine line = line_of(u"[01:02:03]abc");
  EXPECT_EQ(line.time(), 62030);
  EXPECT_EQ(line.display_text(), u"abc");
  EXPECT_EQ(line.long_tag(), u"[01:02:03]");
  EXPECT_EQ(line.short_tag(), u"[01:02]");
  EXPECT_TRUE(line.had_tags());
  EXPECT_EQ(line.text_chars(), 13);
  EXPECT_EQ(line.display_chars(), 3);

  line = line_of(u"[01:02]abc");
  EXPECT_EQ(line.time(), 62000);
  EXPECT_EQ(line.long_tag(), u"[01:02:00]");

  line = line_of(u"abc[00:10:00]def[00:12]ghi");
  EXPECT_EQ(line.time(), -1);
  EXPECT_EQ(line.long_tag(), u"[--:--:--]");
  EXPECT_EQ(line.short_tag(), u"[--:--]");
  EXPECT_EQ(line.display_text(), u"abcdefghi");
  EXPECT_TRUE(line.had_tags());

  line = line_of(u"[00:05:00]@title=x");
  EXPECT_EQ(line.time(), 5000);
  EXPECT_TRUE(line.is_meta());
  EXPECT_EQ(line.display_text(), u"");
  EXPECT_EQ(line.display_chars(), 0);
  // A line given new text loses the meta flag and the tag flag of the old one.
  line.set_text(u"plain", 512);
  EXPECT_FALSE(line.is_meta());
  EXPECT_FALSE(line.had_tags());
  EXPECT_EQ(line.display_text(), u"plain");
}

TEST(LyricLine, TextEndsAtTheFirstLineEndAndAtTheCapacity) {
  EXPECT_EQ(line_of(u"a\r\nb").text(), u"a");
  EXPECT_EQ(line_of(u"a\rb").text(), u"a");
  EXPECT_EQ(line_of(u"a\nb").text(), u"a");
  EXPECT_EQ(line_of(std::u16string(u"a\0b", 3)).text(), u"a");

  EXPECT_EQ(line_of(std::u16string(600, u'x')).text_chars(), 511);
  EXPECT_EQ(line_of(std::u16string(512, u'x')).text_chars(), 511);
  EXPECT_EQ(line_of(std::u16string(511, u'x')).text_chars(), 511);
  EXPECT_EQ(line_of(std::u16string(300, u'x'), 256).text_chars(), 255);
  EXPECT_EQ(line_of(u"abc", 1).text(), u"");
  EXPECT_EQ(line_of(u"abc", 0).text(), u"");
  EXPECT_EQ(line_of(u"abc", -5).text(), u"");

  // A tag cut by the capacity is no tag; one that just fits is read and removed.
  const std::u16string padding(500, u'a');
  LyricLine cut = line_of(padding + u"[00:01:00]", 510);
  EXPECT_EQ(cut.display_text(), padding + u"[00:01:00");
  LyricLine fits = line_of(padding + u"[00:01:00]", 511);
  EXPECT_EQ(fits.display_text(), padding);
  EXPECT_EQ(line_of(u"[00:01:00]abc", 9).time(), -1);
}

TEST(LyricLine, ComposeWritesTheTimeInTheChosenForm) {
  EXPECT_EQ(line_of(u"[01:02:03]abc").compose(TagForm::kShort, 512), u"[01:02]abc");
  EXPECT_EQ(line_of(u"[01:02]abc").compose(TagForm::kLong, 512), u"[01:02:00]abc");
  // The lenient tag stays in the text, behind the freshly written one.
  const LyricLine lenient = line_of(u"[01:02.50]abc");
  EXPECT_EQ(lenient.time(), 62500);
  EXPECT_EQ(lenient.display_text(), u"[01:02.50]abc");
  EXPECT_FALSE(lenient.had_tags());
  EXPECT_EQ(lenient.compose(TagForm::kLong, 512), u"[01:02:50][01:02.50]abc");
  for (const char16_t* text : {u"[1:02]abc", u"[ab:cd]x", u"abc"}) {
    EXPECT_EQ(line_of(text).compose(TagForm::kLong, 512), text);
    EXPECT_EQ(line_of(text).compose(TagForm::kShort, 512), text);
  }

  EXPECT_EQ(line_of(u"[01:02]abcdef").compose(TagForm::kShort, 10), u"[01:02]ab");
  EXPECT_EQ(line_of(u"[01:02]abcdef").compose(TagForm::kLong, 5), u"[01:");
  EXPECT_EQ(line_of(u"[01:02]abcdef").compose(TagForm::kLong, 1), u"");
  EXPECT_EQ(line_of(u"[01:02]abcdef").compose(TagForm::kLong, 0), u"");
  // A line without a time is held to the capacity as well.
  EXPECT_EQ(line_of(u"abcdef").compose(TagForm::kLong, 4), u"abc");
}

TEST(LyricLine, SetTimeChangesOnlyTheTime) {
  LyricLine line = line_of(u"[01:02]abc");
  line.set_time(-1);
  EXPECT_EQ(line.time(), -1);
  EXPECT_EQ(line.long_tag(), u"[--:--:--]");
  EXPECT_EQ(line.text(), u"[01:02]abc");
  EXPECT_EQ(line.display_text(), u"abc");
  // A deleted time takes the leading tag with it when the line is saved.
  EXPECT_EQ(line.compose(TagForm::kLong, 512), u"abc");

  line = line_of(u"abc");
  line.set_time(1000);
  EXPECT_EQ(line.long_tag(), u"[00:01:00]");
  EXPECT_EQ(line.short_tag(), u"[00:01]");
  EXPECT_EQ(line.text(), u"abc");
  EXPECT_EQ(line.compose(TagForm::kLong, 512), u"[00:01:00]abc");
}

TEST(LyricLine, MeasureAddsTheTrailingOverhang) {
  FixedWidthMeasurer measurer(10, 20);
  measurer.set_overhang(u'c', -3);
  measurer.set_overhang(u']', 2);
  LyricLine line = line_of(u"[01:02:03]abc");
  line.measure(&measurer);
  EXPECT_EQ(line.text_extent(), (Rect{0, 0, 133, 20}));
  EXPECT_EQ(line.display_extent(), (Rect{0, 0, 33, 20}));
  EXPECT_EQ(line.long_tag_extent(), (Rect{0, 0, 102, 20}));
  EXPECT_EQ(line.short_tag_extent(), (Rect{0, 0, 72, 20}));

  // New text keeps the old extents until the next measuring.
  line.set_text(u"x", 512);
  EXPECT_EQ(line.text_extent(), (Rect{0, 0, 133, 20}));

  // An empty display text gets no overhang; without a measurer everything is zero.
  line.set_text(u"@meta", 512);
  line.measure(&measurer);
  EXPECT_EQ(line.display_extent().right, 0);
  line.measure(nullptr);
  EXPECT_EQ(line.text_extent(), Rect{});
  EXPECT_EQ(line.long_tag_extent(), Rect{});

  // A lone surrogate left at the end by the capacity is measured like any unit.
  line.set_text(std::u16string(4, u'a') + u"\U0001F600", 6);
  EXPECT_EQ(line.text_chars(), 5);
  measurer.set_overhang(u'\xD83D', 4);
  line.measure(&measurer);
  EXPECT_EQ(line.text_extent().right, 54);
}

}  // namespace
}  // namespace sabla
