// Lyric text from files and song files is outside input: the document must hold its limits
// whatever it is given.
#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "core/lyrics/lyrics_test_util.h"
#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

using test::make_document;

TEST(LyricTextInput, TextBeyondTheBufferIsCut) {
  auto doc = make_document(kMaxLineCapacity, 1024);
  // 400 lines of 100 characters and CR LF: 40800 units, of which a buffer holds 32767.
  std::u16string text;
  for (int i = 0; i < 400; ++i) text += std::u16string(100, u'x') + u"\r\n";
  doc->load_text(0, text);
  EXPECT_EQ(doc->line_count(), 322);
  EXPECT_EQ(doc->line(321)->text_chars(), 32767 - 321 * 102);

  // A tag cut by the buffer's end is no tag.
  text = std::u16string(32767 - 5, u'y') + u"\n[00:01:00]z";
  doc->load_text(0, text);
  ASSERT_EQ(doc->line_count(), 2);
  EXPECT_EQ(doc->line(1)->text(), u"[00:");
  EXPECT_EQ(doc->line(1)->time(), -1);
  // One that ends exactly at the buffer's end is read.
  text = std::u16string(32767 - 8, u'y') + u"\n[00:01]";
  doc->load_text(0, text);
  EXPECT_EQ(doc->line(1)->time(), 1000);
  EXPECT_EQ(doc->line(1)->display_text(), u"");
}

TEST(LyricTextInput, LongLinesAndOddLineEnds) {
  auto doc = make_document(256, 512);
  doc->load_text(0, std::u16string(2000, u'a') + u"\r\nb");
  ASSERT_EQ(doc->line_count(), 2);
  EXPECT_EQ(doc->line(0)->text_chars(), 511);
  EXPECT_EQ(doc->line(1)->text(), u"b");

  // No final line end; a lone CR ends the line's text, and what follows up to the next LF is
  // not shown; a NUL ends the whole text.
  doc->load_text(0, u"abc");
  EXPECT_EQ(doc->line_count(), 1);
  doc->load_text(0, u"a\rb\r\nc");
  ASSERT_EQ(doc->line_count(), 2);
  EXPECT_EQ(doc->line(0)->text(), u"a");
  EXPECT_EQ(doc->line(1)->text(), u"c");
  doc->load_text(0, std::u16string(u"a\r\n\0b\r\nc", 8));
  EXPECT_EQ(doc->line_count(), 2);
  EXPECT_EQ(doc->line(1)->text(), u"");
  doc->load_text(0, std::u16string(1, u'\0'));
  EXPECT_EQ(doc->line_count(), 0);
  doc->load_text(0, u"\n\n\n");
  EXPECT_EQ(doc->line_count(), 4);
  doc->load_text(0, u"\r\r\r");
  EXPECT_EQ(doc->line_count(), 1);

  // Only the first line feeds of a long text fill the store.
  doc->load_text(1, std::u16string(100000, u'\n'));
  EXPECT_EQ(doc->line_count(), 256);
  EXPECT_EQ(doc->line(255)->even_time(), 0u);
}

TEST(LyricTextInput, SurrogatePairsAreCutAsUnits) {
  auto doc = make_document(256, 4);
  // Three units fit: the second pair is split and its high half stays at the end.
  doc->load_text(0, u"\U0001F600\U0001F601\r\n\U0001F602");
  ASSERT_EQ(doc->line_count(), 2);
  EXPECT_EQ(doc->line(0)->text(), std::u16string(u"\U0001F600") + u'\xD83D');
  EXPECT_EQ(doc->line(0)->text_extent().right, 30);
  EXPECT_EQ(doc->line(1)->text(), u"\U0001F602");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, kLyricTextUnits),
            std::u16string(u"\U0001F600") + u'\xD83D' + u"\r\n\U0001F602");
}

TEST(LyricTextInput, ExtremePanelsAndClocks) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  auto doc = make_document(256, 512);
  doc->rect = Rect{kMin, kMin, kMax, kMax};
  doc->set_line_spacing(1);
  doc->font_size = kMax;
  doc->align_v = 2;
  doc->count_rows();
  EXPECT_EQ(doc->visible_slots(), 256);
  doc->load_text(0, test::numbered_lines(300, true));
  // The clock is compared in 64 bits: far before the start, and far beyond the end.
  const std::pair<int64_t, int32_t> expected[] = {{std::numeric_limits<int64_t>::min(), -1},
                                                  {-1, -1},
                                                  {0, 0},
                                                  {kMax, 255},
                                                  {std::numeric_limits<int64_t>::max(), 255}};
  for (const auto& [clock, current] : expected) {
    doc->layout(clock);
    EXPECT_EQ(doc->current_line(), current) << clock;
    EXPECT_EQ(doc->slots()[0].line, doc->first_visible());
  }

  doc->rect = Rect{0, 0, 100, 10};
  doc->count_rows();
  EXPECT_EQ(doc->visible_slots(), 10);
  doc->set_line_spacing(-5);
  doc->count_rows();
  EXPECT_EQ(doc->visible_slots(), 10);
  doc->rect = Rect{0, 10, 100, 0};
  doc->count_rows();
  EXPECT_EQ(doc->visible_slots(), 0);
  doc->layout(5000);
  EXPECT_EQ(doc->slot_line(0), nullptr);
  doc->toggle_edit_mode();
  EXPECT_EQ(doc->cursor_line(), -1);
  doc->set_cursor_line_time(1);
  doc->layout(5000);
  EXPECT_EQ(doc->cursor_line(), 0);
}

}  // namespace
}  // namespace sabla
