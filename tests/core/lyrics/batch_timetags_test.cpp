#include "lyrics/batch_timetags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "lyrics/timetag.h"

namespace sabla {
namespace {

std::u16string shifted(std::u16string text, int32_t units) {
  shift_timetags(text, units);
  return text;
}

std::u16string scaled(std::u16string text, float factor) {
  scale_timetags(text, factor);
  return text;
}

std::u16string as_long(std::u16string text) {
  tags_to_long(text);
  return text;
}

std::u16string as_short(std::u16string text) {
  tags_to_short(text);
  return text;
}

std::u16string broken(std::u16string text, int32_t width, bool skip_tags) {
  insert_line_breaks(text, width, skip_tags);
  return text;
}

std::u16string repeated(std::u16string_view piece, size_t times) {
  std::u16string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(BatchTimetags, ShiftMovesEveryTagAndClamps) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const struct {
    std::u16string text;
    int32_t units;
    std::u16string expected;
  } cases[] = {
      // 10,550 ms: a short tag keeps its form and drops the hundredths.
      {u"[00:10]", 55, u"[00:10]"},
      {u"[00:10:00]", 55, u"[00:10:55]"},
      {u"[00:00:50]", -100, u"[00:00:00]"},
      {u"[99:55:00]", 1000, u"[99:59:99]"},
      {u"[99:55]", 1000, u"[99:59]"},
      {u"[00:59:95]", 10, u"[01:00:05]"},
      {u"[01:00:00]", -1, u"[00:59:99]"},
      // Seconds past 59 are read as they stand and written back in range.
      {u"[00:75]", 0, u"[01:15]"},
      {u"[99:99:99]", 0, u"[99:59:99]"},
      {u"[00:01:00]", kMax, u"[99:59:99]"},
      {u"[99:00:00]", kMin, u"[00:00:00]"},
      // Every tag anywhere in the text; everything else stays.
      {u"a[00:01]b[1:02]c[00:02:00]\r\n[00:03.00][00:04]",
       100,
       u"a[00:02]b[1:02]c[00:03:00]\r\n[00:03.00][00:05]"},
      {u"[[00:01]]", 100, u"[[00:02]]"},
      {u"[00:01", 100, u"[00:01"},
      {u"[00:01:0", 100, u"[00:01:0"},
      {u"[\uFF10\uFF10:01]", 100, u"[\uFF10\uFF10:01]"},
      {u"", 100, u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shifted(c.text, c.units), c.expected) << "units " << c.units;
  }
}

TEST(BatchTimetags, ScaleMultipliesTruncatesAndClamps) {
  const struct {
    std::u16string text;
    float factor;
    std::u16string expected;
  } cases[] = {
      {u"[01:00:00]", 0.5f, u"[00:30:00]"},
      {u"[60:00]", 2.0f, u"[99:59]"},
      {u"x[00:10:00]y[00:20]", 1.5f, u"x[00:15:00]y[00:30]"},
      {u"[00:00:03]", 0.5f, u"[00:00:01]"},
      // 0.7f lies just below 0.7: 1000 ms become 699.99... ms, truncated to 69 hundredths.
      {u"[00:01:00]", 0.7f, u"[00:00:69]"},
      {u"[12:34:56]", 1.0f, u"[12:34:56]"},
      {u"[12:34:56]", 0.0f, u"[00:00:00]"},
      {u"[12:34:56]", -1.0f, u"[00:00:00]"},
      {u"[00:00:01]", 1e30f, u"[99:59:99]"},
      {u"[00:00:01]", std::numeric_limits<float>::max(), u"[99:59:99]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(scaled(c.text, c.factor), c.expected) << "factor " << c.factor;
  }
  // A factor that is no number leaves every tag as it was.
  for (const float factor : {std::nanf(""), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity()}) {
    EXPECT_EQ(scaled(u"[12:34:56][01:02]", factor), u"[12:34:56][01:02]");
  }
}

TEST(BatchTimetags, ConvertsBetweenTheForms) {
  const struct {
    std::u16string short_form;
    std::u16string long_form;
  } round_trips[] = {
      {u"[00:12]abc[00:13]", u"[00:12:00]abc[00:13:00]"},
      {u"[00:01][00:02]\r\n[00:03]x", u"[00:01:00][00:02:00]\r\n[00:03:00]x"},
      {u"[0:12] [00:1a] [00:12 [00:12.34] ]", u"[0:12] [00:1a] [00:12 [00:12.34] ]"},
      {u"", u""},
  };
  for (const auto& c : round_trips) {
    EXPECT_EQ(as_long(c.short_form), c.long_form);
    EXPECT_EQ(as_short(c.long_form), c.short_form);
  }
  EXPECT_EQ(as_long(u"[00:12]abc[00:13:45]"), u"[00:12:00]abc[00:13:45]");
  EXPECT_EQ(as_short(u"[00:12:00]abc[00:13:45]"), u"[00:12]abc[00:13]");
  EXPECT_EQ(as_short(u"[00:12:99]"), u"[00:12]");  // dropped, not rounded
  EXPECT_EQ(as_long(u"[00:12"), u"[00:12");
}

TEST(BatchTimetags, ToLongNeverGrowsPastTheLimitNorDropsText) {
  // One tag that just fits: the text ends at the limit.
  const std::u16string fits = repeated(u"a", kLongTagsTextLimit - 10) + u"[00:01]";
  const std::u16string converted = as_long(fits);
  EXPECT_EQ(converted.size(), kLongTagsTextLimit);
  EXPECT_EQ(converted.substr(converted.size() - 10), u"[00:01:00]");

  // One unit more and the tag stays short rather than cutting the text.
  const std::u16string full = u"b" + fits;
  EXPECT_EQ(as_long(full), full);

  // Tags convert until the room runs out; the rest stay short, every character is kept.
  const std::u16string filler = repeated(u"c", kLongTagsTextLimit - 26);
  const std::u16string mixed = u"[00:01]" + filler + u"[00:02]x[00:03]";
  EXPECT_EQ(as_long(mixed), u"[00:01:00]" + filler + u"[00:02]x[00:03]");
}

TEST(BatchTimetags, LineBreaksAtTheWidth) {
  const std::u16string pair = u"\U0001F600";
  const struct {
    std::u16string text;
    int32_t width;
    bool skip_tags;
    std::u16string expected;
  } cases[] = {
      {repeated(u"a", 45), 20, true,
       repeated(u"a", 20) + u"\r\n" + repeated(u"a", 20) + u"\r\n" + repeated(u"a", 5)},
      {u"abc", 1, false, u"a\r\nb\r\nc"},
      {repeated(u"a", 300), 252, false, repeated(u"a", 252) + u"\r\n" + repeated(u"a", 48)},
      // Existing line ends restart the count and are not doubled.
      {u"aaaa\r\nbbbbb", 5, false, u"aaaa\r\nbbbbb"},
      {u"aaaaa\r\nbb", 5, false, u"aaaaa\r\nbb"},
      {u"aaaaaa\r\n\r\nb", 5, false, u"aaaaa\r\na\r\n\r\nb"},
      // Tags do not count in the external text editor, at the start of any line, side by side
      // or inside a line; a break never lands inside one.
      {u"[00:01:00]" + repeated(u"a", 25), 20, true,
       u"[00:01:00]" + repeated(u"a", 20) + u"\r\n" + repeated(u"a", 5)},
      {u"x\r\n[00:01]" + repeated(u"a", 21), 20, true,
       u"x\r\n[00:01]" + repeated(u"a", 20) + u"\r\na"},
      {u"[00:01][00:02:00]" + repeated(u"a", 21), 20, true,
       u"[00:01][00:02:00]" + repeated(u"a", 20) + u"\r\na"},
      {u"a[00:01:00]bc", 2, true, u"a[00:01:00]b\r\nc"},
      {u"abc[00:01]def", 3, true, u"abc\r\n[00:01]def"},
      // The in-song editor counts them like any text.
      {u"[00:01]abc", 5, false, u"[00:0\r\n1]abc"},
      // A surrogate pair is one character and stays whole.
      {repeated(pair, 25), 20, true, repeated(pair, 20) + u"\r\n" + repeated(pair, 5)},
      {u"a" + pair + u"b", 1, false, u"a\r\n" + pair + u"\r\nb"},
      // Lone halves count as one character each; a lone high half does not swallow a line end.
      {u"\xD800\r\nab", 1, false, u"\xD800\r\na\r\nb"},
      {u"\xDC00\xD800", 1, false, u"\xDC00\r\n\xD800"},
      // Widths outside 1..252 do nothing.
      {u"abc", 0, true, u"abc"},
      {u"abc", -1, true, u"abc"},
      {repeated(u"a", 300), 253, true, repeated(u"a", 300)},
      {u"", 1, true, u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(broken(c.text, c.width, c.skip_tags), c.expected) << "width " << c.width;
  }
}

TEST(BatchTimetags, LineBreaksStopAtTheTextLimit) {
  // A text of 32,764 units takes one more break and is then too long for another.
  const std::u16string most = repeated(u"a", kLineBreakScanLimit);
  const std::u16string result = broken(most, 20, true);
  EXPECT_EQ(result, repeated(u"a", 20) + u"\r\n" + repeated(u"a", kLineBreakScanLimit - 20));

  const std::u16string longer = repeated(u"a", kLineBreakScanLimit + 1);
  EXPECT_EQ(broken(longer, 20, true), longer);
}

// The counted length of `line` as the tool counts it.
size_t counted_characters(std::u16string_view line, bool skip_tags) {
  size_t count = 0;
  for (size_t i = 0; i < line.size();) {
    if (const size_t tag = skip_tags ? well_formed_tag_length(line, i) : 0) {
      i += tag;
      continue;
    }
    const bool pair = line[i] >= 0xD800 && line[i] <= 0xDBFF && i + 1 < line.size() &&
                      line[i + 1] >= 0xDC00 && line[i + 1] <= 0xDFFF;
    i += pair ? 2 : 1;
    ++count;
  }
  return count;
}

size_t count_tags(std::u16string_view text) {
  size_t tags = 0;
  for (size_t i = 0; i < text.size(); ++i) tags += well_formed_tag_length(text, i) != 0;
  return tags;
}

TEST(BatchTimetags, LineBreaksOnlyAddLineEndsWhereALineIsFull) {
  const std::u16string pieces[] = {u"a", u"\u3042", u"\U0001F600", u"[00:01]", u"[00:02:03]",
                                   u"\r\n", u"[", u"]", u"0", u":", u"\r", u"\n"};
  std::mt19937 random(20240611);
  for (int round = 0; round < 400; ++round) {
    std::u16string text;
    const int length = std::uniform_int_distribution<int>(0, 60)(random);
    for (int k = 0; k < length; ++k) {
      text += pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(random)];
    }
    const int32_t width = std::uniform_int_distribution<int32_t>(1, 12)(random);
    const bool skip_tags = round % 2 == 0;
    const std::u16string result = broken(text, width, skip_tags);
    SCOPED_TRACE(testing::Message() << "round " << round << " width " << width);

    // The result is the text with CR LF inserted; each inserted break ends a line of exactly
    // `width` characters, and no line is longer.
    size_t t = 0;
    size_t line_start = 0;
    for (size_t r = 0; r < result.size();) {
      const bool own_line_end = result.compare(r, 2, u"\r\n") == 0;
      const bool inserted = own_line_end && text.compare(t, 2, u"\r\n") != 0;
      if (own_line_end) {
        const size_t count =
            counted_characters(std::u16string_view(result).substr(line_start, r - line_start),
                               skip_tags);
        EXPECT_LE(count, static_cast<size_t>(width));
        if (inserted) {
          EXPECT_EQ(count, static_cast<size_t>(width));
        }
        r += 2;
        t += inserted ? 0 : 2;
        line_start = r;
        continue;
      }
      ASSERT_LT(t, text.size());
      ASSERT_EQ(result[r], text[t]);
      ++r;
      ++t;
    }
    EXPECT_EQ(t, text.size());
    EXPECT_LE(counted_characters(std::u16string_view(result).substr(line_start), skip_tags),
              static_cast<size_t>(width));
    if (skip_tags) {
      EXPECT_EQ(count_tags(result), count_tags(text));
    }
  }
}

}  // namespace
}  // namespace sabla
