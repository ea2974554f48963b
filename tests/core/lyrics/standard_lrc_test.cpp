// The standard lyric-file form: stamps, several per line, the offset, header tags, sorting.
#include "lyrics/standard_lrc.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/lyrics/lyrics_test_util.h"

namespace sabla {
namespace {

// (time, display text) of every loaded line.
using Lines = std::vector<std::pair<int32_t, std::u16string>>;

Lines loaded(std::u16string_view text, bool standard = true, int32_t capacity = 256) {
  const auto doc = test::make_document(capacity);
  doc->set_standard_lrc(standard);
  doc->load_text(100000, text);
  Lines lines;
  for (int32_t j = 0; j < doc->line_count(); ++j) {
    lines.emplace_back(doc->line(j)->time(), doc->line(j)->display_text());
  }
  return lines;
}

TEST(StandardLrc, StampForms) {
  struct Case {
    std::u16string_view text;
    int64_t ms;  // -1: no stamp
    bool standard_only;
  };
  const Case cases[] = {
      {u"[01:02.50]", 62500, true},   {u"[01:02.505]", 62505, true},
      {u"[01:02.5]", 62500, true},    {u"[01:02]", 62000, false},
      {u"[1:02.50]", 62500, true},    {u"[1:02]", 62000, true},
      {u"[100:00.00]", 6000000, true}, {u"[01:02:50]", 62500, false},
      {u"[1:02:50]", -1, false},      {u"[01:02.]", -1, false},
      {u"[01:2.50]", -1, false},      {u"[1000:00]", -1, false},
      {u"[01:02.5000]", -1, false},   {u"[ti:x]", -1, false},
      {u"[01:02.50", -1, false},
  };
  for (const Case& c : cases) {
    const auto stamp = read_lrc_stamp(c.text, 0);
    EXPECT_EQ(stamp ? stamp->ms : -1, c.ms) << std::string(c.text.begin(), c.text.end());
    if (stamp) EXPECT_EQ(stamp->standard_only, c.standard_only);
    if (stamp) EXPECT_EQ(stamp->length, c.text.size());
  }
  EXPECT_EQ(format_lrc_stamp(62509), u"[01:02.50]");
  EXPECT_EQ(format_lrc_stamp(6000000), u"[100:00.00]");
  EXPECT_EQ(format_lrc_stamp(5), u"[00:00.00]");
}

TEST(StandardLrc, DocumentsReadInTheStandardForm) {
  struct Case {
    std::u16string_view text;
    Lines lines;
  };
  const Case cases[] = {
      // Several stamps: one line each, sorted with the others; ties keep file order.
      {u"[00:30.00][00:10.00]chorus\r\n[00:20.00]verse\r\n[00:10.00]tie",
       {{10000, u"chorus"}, {10000, u"tie"}, {20000, u"verse"}, {30000, u"chorus"}}},
      // Header tags are not lines; the offset moves every stamp earlier, never below 0; an
      // untimed line stays behind the line it followed.
      {u"[ti:Song]\r\n[ar:Me]\r\n[offset:+1500]\r\n[00:01.00]a\r\n\r\n[00:00.50]b\r\n[00:03.25]c",
       {{0, u"a"}, {-1, u""}, {0, u"b"}, {1750, u"c"}}},
      // A negative offset makes them later; milliseconds keep their hundredths.
      {u"[offset:-250]\r\nintro\r\n[1:02.345]x", {{-1, u"intro"}, {62590, u"x"}}},
      // Native long tags are stamps too in a standard file; three-digit minutes are clamped.
      {u"[00:02.00]a\r\n[00:01:00]b\r\n[00:03.00]c\r\n[999:59.99]d",
       {{1000, u"b"}, {2000, u"a"}, {3000, u"c"}, {kMaxTagTimeMs, u"d"}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(loaded(c.text), c.lines) << std::string(c.text.begin(), c.text.end());
  }
  const auto doc = test::make_document();
  doc->load_text(0, u"[ti:題名]\r\n[ar:歌手]\r\n[al:アルバム]\r\n[00:01.00]x");
  ASSERT_TRUE(doc->lrc_form());
  EXPECT_EQ(doc->lrc_form()->title, u"題名");
  EXPECT_EQ(doc->lrc_form()->artist, u"歌手");
  EXPECT_EQ(doc->lrc_form()->album, u"アルバム");
}

TEST(StandardLrc, NativeTextsAndTheSwitchKeepTheOldReading) {
  // A native file (and one with a single stray header) is loaded exactly as before.
  const std::u16string native = u"[00:05:00]b\r\n[00:01:00]a\r\n[ti:x]\r\n[00:02]c";
  const Lines as_before = {{5000, u"b"}, {1000, u"a"}, {-1, u"[ti:x]"}, {2000, u"c"}};
  EXPECT_EQ(loaded(native, true), as_before);
  EXPECT_EQ(loaded(native, false), as_before);
  // Switched off, a standard file reads as the native form always read it.
  EXPECT_EQ(loaded(u"[ti:x]\r\n[00:02.50]b\r\n[00:01.00][00:03.00]a", false),
            (Lines{{-1, u"[ti:x]"}, {2500, u"[00:02.50]b"}, {1000, u"[00:01.00][00:03.00]a"}}));
}

TEST(StandardLrc, HugeLinesAreBounded) {
  std::u16string text;
  for (int i = 10000; i > 0; --i) text += format_lrc_stamp(i * 10);
  text += u"la";
  const auto read = read_standard_lrc(text, 256, 512);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->lines.size(), 256u);
  EXPECT_EQ(read->lines.front(), u"[00:00:01]la");
  EXPECT_EQ(read->lines.back(), u"[00:02:56]la");
  // Through the document the text is first cut to the lyric buffer: still one line per stamp.
  EXPECT_EQ(loaded(text, true, 1024).size(), 1024u);
}

TEST(StandardLrc, WrittenBackSortedWithHeadersAndOffset) {
  const auto doc = test::make_document();
  doc->load_text(0, u"[ar:Me]\r\n[offset:+7]\r\n[00:02.00][00:01.00]a\r\nb");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, kLyricTextUnits),
            u"[ar:Me]\r\n[offset:+7]\r\n[00:01.00]a\r\n[00:02.00]a\r\nb");
  doc->toggle_edit_mode();
  doc->scroll(1);                   // the cursor comes to the first line
  doc->set_cursor_line_time(5000);  // which, stamped later, moves behind the others
  EXPECT_EQ(doc->join_lines(TagForm::kShort, kLyricTextUnits),
            u"[ar:Me]\r\n[offset:+7]\r\n[00:02.00]a\r\nb\r\n[00:05.01]a");
}

}  // namespace
}  // namespace sabla
