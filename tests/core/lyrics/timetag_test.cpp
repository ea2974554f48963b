#include "lyrics/timetag.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace sabla {
namespace {

TEST(Timetag, LeadingTagIsReadLeniently) {
  EXPECT_EQ(parse_leading_tag(u"[01:02:03]abc"), 62030);
  EXPECT_EQ(parse_leading_tag(u"[01:02]abc"), 62000);
  EXPECT_EQ(parse_leading_tag(u"[01:02]"), 62000);
  // Neither the separator in front of the hundredths nor the hundredths themselves are checked.
  EXPECT_EQ(parse_leading_tag(u"[01:02.50]abc"), 62500);
  EXPECT_EQ(parse_leading_tag(u"[01:02: 5]"), 62050);
  EXPECT_EQ(parse_leading_tag(u"[01:02:+5]"), 62050);
  EXPECT_EQ(parse_leading_tag(u"[01:02:5x]"), 62050);
  EXPECT_EQ(parse_leading_tag(u"[01:02:x5]"), 62000);
  EXPECT_EQ(parse_leading_tag(u"[01:02:-5]"), 61950);
  EXPECT_LT(parse_leading_tag(u"[00:00:-9]"), 0);
  // Seconds are not range checked.
  EXPECT_EQ(parse_leading_tag(u"[00:75]"), 75000);
  EXPECT_EQ(parse_leading_tag(u"[99:99]"), 6039000);

  EXPECT_EQ(parse_leading_tag(u"[1:02]abc"), -1);
  EXPECT_EQ(parse_leading_tag(u"[ab:cd]x"), -1);
  EXPECT_EQ(parse_leading_tag(u"abc"), -1);
  EXPECT_EQ(parse_leading_tag(u"abc[01:02]"), -1);
  EXPECT_EQ(parse_leading_tag(u""), -1);
  // Cut short at the end of the text: nothing is read beyond it.
  EXPECT_EQ(parse_leading_tag(u"[01:02"), -1);
  EXPECT_EQ(parse_leading_tag(u"[01:02:0"), -1);
  EXPECT_EQ(parse_leading_tag(u"[01:02:03"), -1);
  // Only ASCII digits count (full-width digits are not tag digits).
  EXPECT_EQ(parse_leading_tag(u"[\uFF10\uFF11:02]"), -1);
}

TEST(Timetag, WellFormedTags) {
  EXPECT_EQ(well_formed_tag_length(u"[01:02:03]", 0), kLongTagLength);
  EXPECT_EQ(well_formed_tag_length(u"[01:02]", 0), kShortTagLength);
  EXPECT_EQ(well_formed_tag_length(u"ab[01:02]", 2), kShortTagLength);
  EXPECT_EQ(well_formed_tag_length(u"[01:02.50]", 0), 0u);
  EXPECT_EQ(well_formed_tag_length(u"[01:02:5]", 0), 0u);
  EXPECT_EQ(well_formed_tag_length(u"ab[01:02", 2), 0u);
  EXPECT_EQ(well_formed_tag_length(u"[01:02:03", 0), 0u);
  EXPECT_EQ(well_formed_tag_length(u"[01:02]", 7), 0u);
  EXPECT_EQ(well_formed_tag_length(u"[01:02]", 100), 0u);
  EXPECT_EQ(tag_form_for(0), TagForm::kLong);
  EXPECT_EQ(tag_form_for(1), TagForm::kShort);
  EXPECT_EQ(tag_form_for(7), TagForm::kShort);
}

TEST(Timetag, Formatting) {
  EXPECT_EQ(format_tag(600000, TagForm::kLong).view(), u"[10:00:00]");
  EXPECT_EQ(format_tag(600000, TagForm::kShort).view(), u"[10:00]");
  EXPECT_EQ(format_tag(1, TagForm::kLong).view(), u"[00:00:00]");
  EXPECT_EQ(format_tag(62345, TagForm::kLong).view(), u"[01:02:34]");
  EXPECT_EQ(format_tag(62345, TagForm::kShort).view(), u"[01:02]");
  EXPECT_EQ(format_tag(-1, TagForm::kLong).view(), u"[--:--:--]");
  EXPECT_EQ(format_tag(-50, TagForm::kShort).view(), u"[--:--]");

  // From 100 minutes on the minutes stay at 99 and the seconds field takes the rest, so every
  // readable tag is written back unchanged; beyond that the largest tag is written.
  EXPECT_EQ(format_tag(5999990, TagForm::kLong).view(), u"[99:59:99]");
  EXPECT_EQ(format_tag(6000000, TagForm::kLong).view(), u"[99:60:00]");
  EXPECT_EQ(format_tag(6039000, TagForm::kShort).view(), u"[99:99]");
  EXPECT_EQ(format_tag(kMaxTagTimeMs, TagForm::kLong).view(), u"[99:99:99]");
  EXPECT_EQ(format_tag(kMaxTagTimeMs + 10, TagForm::kLong).view(), u"[99:99:99]");
  EXPECT_EQ(format_tag(std::numeric_limits<int32_t>::max(), TagForm::kShort).view(), u"[99:99]");
  for (int32_t ms : {0, 10, 59990, 62030, 5999990, 6000000, 6039000, kMaxTagTimeMs}) {
    EXPECT_EQ(parse_leading_tag(format_tag(ms, TagForm::kLong).view()), ms) << ms;
  }
}

TEST(Timetag, StripTags) {
  EXPECT_EQ(strip_tags(u"[01:02:03]abc"), u"abc");
  EXPECT_EQ(strip_tags(u"abc[00:10:00]def[00:12]ghi"), u"abcdefghi");
  EXPECT_EQ(strip_tags(u"[01:02.50]abc"), u"[01:02.50]abc");
  EXPECT_EQ(strip_tags(u"[1:02]abc"), u"[1:02]abc");
  // A tag pulled in front of the scan position by the removal before it stays.
  EXPECT_EQ(strip_tags(u"[00:01:00][00:02:00]abc"), u"[00:02:00]abc");
  EXPECT_EQ(strip_tags(u"a[00:01:00][00:02:00]"), u"a");
  EXPECT_EQ(strip_tags(u"[[00:01]"), u"[");
  EXPECT_EQ(strip_tags(u"abc[00:01"), u"abc[00:01");
  EXPECT_EQ(strip_tags(u""), u"");
}

// The scan as stated, one step per position, to hold the faster scan to it.
std::u16string strip_tags_step_by_step(std::u16string text) {
  for (size_t k = 0;; ++k) {
    const size_t pos = text.find(u'[', k);
    if (pos == std::u16string::npos) return text;
    if (const size_t length = well_formed_tag_length(text, pos)) text.erase(pos, length);
  }
}

TEST(Timetag, StripTagsMatchesTheStepwiseScan) {
  std::mt19937 random(2024);
  const std::u16string alphabet = u"[[[]]::0123a";
  for (int round = 0; round < 20000; ++round) {
    std::u16string text(random() % 40, u' ');
    for (char16_t& c : text) c = alphabet[random() % alphabet.size()];
    // Seed some whole tags so removals actually happen.
    if (round % 2) text.insert(random() % (text.size() + 1), u"[12:34]");
    if (round % 3) text.insert(random() % (text.size() + 1), u"[12:34:56]");
    ASSERT_EQ(strip_tags(text), strip_tags_step_by_step(text)) << round;
  }
}

}  // namespace
}  // namespace sabla
