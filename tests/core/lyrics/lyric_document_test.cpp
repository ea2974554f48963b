#include "lyrics/lyric_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/lyrics/lyrics_test_util.h"
#include "lyrics/fixed_width_measurer.h"
#include "settings/display_items.h"

namespace sabla {
namespace {

using test::make_document;
using test::numbered_lines;

TEST(LyricDocument, LoadSplitsAtLineFeeds) {
  auto doc = make_document();
  EXPECT_EQ(doc->display_mode(), kModeNoLines);
  doc->load_text(0, u"a\r\nb\r\n");
  ASSERT_EQ(doc->line_count(), 3);
  EXPECT_EQ(doc->line(0)->text(), u"a");
  EXPECT_EQ(doc->line(1)->text(), u"b");
  EXPECT_EQ(doc->line(2)->text(), u"");

  // A new load replaces everything, including lines the shorter text does not reach.
  doc->load_text(0, u"[00:01]x");
  EXPECT_EQ(doc->line_count(), 1);
  EXPECT_EQ(doc->line(1)->text(), u"");
  EXPECT_EQ(doc->line(1)->time(), -1);
  doc->load_text(0, u"");
  EXPECT_EQ(doc->line_count(), 0);
  EXPECT_EQ(doc->line(0)->time(), -1);

  doc->load_text(0, numbered_lines(300, false));
  EXPECT_EQ(doc->line_count(), 256);
  EXPECT_EQ(doc->line(255)->text(), u"line255");
  EXPECT_EQ(doc->line(256), nullptr);
}

TEST(LyricDocument, UntimedLyricsAdvanceEvenly) {
  auto doc = make_document();
  doc->load_text(200000, u"a\r\nb\r\nc\r\nd");
  EXPECT_EQ(doc->line(1)->even_time(), 50000u);
  EXPECT_EQ(doc->line(3)->even_time(), 150000u);
  doc->layout(120000);
  EXPECT_TRUE(doc->untimed());
  EXPECT_EQ(doc->display_mode(), kModeUntimed);
  EXPECT_EQ(doc->current_line(), 2);
  doc->layout(160000);
  EXPECT_EQ(doc->current_line(), 3);
  doc->layout(50000);
  EXPECT_EQ(doc->current_line(), 1);
  // A clock before the song's start (negative delay) is before the first line, not past all.
  doc->layout(-500);
  EXPECT_EQ(doc->current_line(), -1);
  EXPECT_EQ(doc->current_slot(), -1);

  // The division is unsigned, so the longest song does not overflow.
  doc->load_text(UINT32_MAX, u"a\r\nb\r\nc");
  EXPECT_EQ(doc->line(2)->even_time(), 2 * (UINT32_MAX / 3));
}

TEST(LyricDocument, TimedLyricsStepOverLinesWithoutTime) {
  auto doc = make_document();
  doc->load_text(0, u"[00:10:00]a\r\nb\r\n[00:20:00]c");
  doc->layout(5000);
  EXPECT_FALSE(doc->untimed());
  EXPECT_EQ(doc->display_mode(), kModeTimed);
  EXPECT_EQ(doc->current_line(), -1);
  EXPECT_EQ(doc->current_slot(), -1);
  doc->layout(15000);
  EXPECT_EQ(doc->current_line(), 0);
  doc->layout(25000);
  EXPECT_EQ(doc->current_line(), 2);
  // Reached once the clock equals the time.
  doc->layout(10000);
  EXPECT_EQ(doc->current_line(), 0);
  doc->layout(20000);
  EXPECT_EQ(doc->current_line(), 2);
}

TEST(LyricDocument, WindowKeepsTheCurrentLineAboveTheMiddle) {
  auto doc = make_document();
  ASSERT_EQ(doc->visible_slots(), 10);
  doc->load_text(0, numbered_lines(40, true));
  doc->layout(20000);
  EXPECT_EQ(doc->current_line(), 20);
  EXPECT_EQ(doc->first_visible(), 16);
  EXPECT_EQ(doc->slots()[4].line, 20);
  EXPECT_EQ(doc->current_slot(), 4);

  // At the end the last line stands in the second-to-last slot and the last slot is empty.
  doc->layout(39000);
  EXPECT_EQ(doc->first_visible(), 31);
  EXPECT_EQ(doc->slots()[8].line, 39);
  EXPECT_EQ(doc->slots()[9].line, 40);
  EXPECT_EQ(doc->slot_text(9), u"");
  EXPECT_EQ(doc->slots()[10].line, -1);

  // At the start the window does not go above line 0.
  doc->layout(1000);
  EXPECT_EQ(doc->first_visible(), 0);

  // With a store of exactly 40 lines the slot after the end shows no line at all.
  auto full = make_document(40);
  full->load_text(0, numbered_lines(40, true));
  full->layout(39000);
  EXPECT_EQ(full->slots()[9].line, -1);
  EXPECT_EQ(full->slot_line(9), nullptr);
}

TEST(LyricDocument, EditModeKeepsTheCursorInView) {
  auto doc = make_document();
  doc->load_text(0, numbered_lines(40, true));
  doc->layout(0);
  doc->toggle_edit_mode();
  EXPECT_EQ(doc->display_mode(), kModeEdit);
  EXPECT_EQ(doc->cursor_line(), 0);
  for (int i = 0; i < 8; ++i) doc->scroll(1);
  doc->layout(0);
  EXPECT_EQ(doc->cursor_line(), 8);
  EXPECT_EQ(doc->first_visible(), 0);
  EXPECT_EQ(doc->cursor_slot(), 8);
  doc->scroll(1);
  doc->layout(0);
  EXPECT_EQ(doc->first_visible(), 1);
  EXPECT_EQ(doc->cursor_slot(), 8);

  // Up past the window's top pulls the window along; the cursor stops at the first line.
  for (int i = 0; i < 12; ++i) {
    doc->scroll(-1);
    doc->layout(0);
  }
  EXPECT_EQ(doc->cursor_line(), 0);
  EXPECT_EQ(doc->first_visible(), 0);
  // ... and at the last one; scroll(0) goes to the current line.
  for (int i = 0; i < 50; ++i) doc->scroll(1);
  doc->layout(25000);
  EXPECT_EQ(doc->cursor_line(), 39);
  doc->scroll(0);
  EXPECT_EQ(doc->cursor_line(), 25);

  // Leaving edit mode, and entering it again from the window.
  doc->toggle_edit_mode();
  EXPECT_FALSE(doc->edit_mode());
  doc->layout(25000);
  doc->toggle_edit_mode();
  EXPECT_EQ(doc->cursor_line(), doc->first_visible());
  doc->return_to_automatic();
  EXPECT_EQ(doc->display_mode(), kModeTimed);

  // A document without lines (nothing loaded, or a file that could not be read) has nothing to
  // stamp: edit mode stays off.
  auto empty = make_document();
  empty->load_text(0, u"");
  empty->layout(0);
  empty->toggle_edit_mode();
  EXPECT_FALSE(empty->edit_mode());
}

TEST(LyricDocument, FirstScrollOnlyStopsTheAutomaticWindow) {
  auto doc = make_document();
  doc->load_text(0, numbered_lines(40, true));
  doc->layout(20000);
  doc->scroll(-3);
  EXPECT_TRUE(doc->manual_scroll());
  EXPECT_EQ(doc->display_mode(), kModeManualScroll);
  EXPECT_EQ(doc->first_visible(), 16);
  doc->scroll(-3);
  EXPECT_EQ(doc->first_visible(), 13);
  // The window no longer follows the song, and the next layout clamps it.
  doc->layout(30000);
  EXPECT_EQ(doc->first_visible(), 13);
  doc->scroll(INT32_MIN);
  doc->scroll(INT32_MIN);
  doc->layout(30000);
  EXPECT_EQ(doc->first_visible(), 0);
  doc->scroll(INT32_MAX);
  doc->scroll(INT32_MAX);
  doc->layout(30000);
  EXPECT_EQ(doc->first_visible(), 31);
  // Entering edit mode ends manual scrolling.
  doc->toggle_edit_mode();
  EXPECT_FALSE(doc->manual_scroll());
  EXPECT_EQ(doc->cursor_line(), 31);
}

TEST(LyricDocument, StampingTheCursorLine) {
  auto doc = make_document();
  doc->load_text(0, u"[00:01:00]a\r\nb\r\n[00:03:00]c");
  doc->layout(0);
  doc->toggle_edit_mode();
  doc->scroll(1);
  doc->set_cursor_line_time(2500);
  EXPECT_EQ(doc->line_time(1), 2500);
  EXPECT_EQ(doc->line(1)->long_tag_extent().right, 100);
  EXPECT_EQ(doc->join_lines(TagForm::kLong, kLyricTextUnits),
            u"[00:01:00]a\r\n[00:02:50]b\r\n[00:03:00]c");
  doc->scroll(1);
  doc->set_cursor_line_time(-1);
  EXPECT_EQ(doc->join_lines(TagForm::kShort, kLyricTextUnits), u"[00:01]a\r\n[00:02]b\r\nc");
  EXPECT_EQ(doc->line_time(7), -1);
  EXPECT_EQ(doc->line_time(-1), -1);
  EXPECT_EQ(doc->line_time(5000), -1);

  // Before a layout brings it back, the cursor may stand outside the store: nothing happens.
  doc->scroll(-1);
  doc->scroll(-1);
  doc->scroll(-1);
  doc->set_cursor_line_time(7000);
  doc->layout(0);
  EXPECT_EQ(doc->cursor_line(), 0);
  EXPECT_EQ(doc->line_time(0), 1000);
  auto small = make_document(4);
  small->load_text(0, u"a\r\nb\r\nc\r\nd");
  small->layout(0);
  small->toggle_edit_mode();
  for (int i = 0; i < 6; ++i) small->scroll(1);
  small->set_cursor_line_time(1000);
  for (int n = 0; n < 4; ++n) EXPECT_EQ(small->line_time(n), -1);
}

// Every field a line shows, so that two documents' stores can be compared line by line.
std::string line_state(const LyricLine& l) {
  std::string out;
  for (const std::u16string_view text : {std::u16string_view(l.text()),
                                         std::u16string_view(l.display_text()), l.long_tag(),
                                         l.short_tag()}) {
    out.append(text.begin(), text.end());
    out += '|';
  }
  return out + std::to_string(l.time()) + '|' + std::to_string(l.even_time()) + '|' +
         std::to_string(l.text_chars()) + '|' + std::to_string(l.display_chars()) + '|' +
         std::to_string(l.is_meta()) + std::to_string(l.had_tags());
}

TEST(LyricDocument, EveryLoadLeavesTheWholeStoreAsAFreshDocumentWould) {
  // Whatever happened to the store before (longer texts, lines stamped past the loaded ones,
  // a release), a load leaves every line of it as in a document that only had this load.
  struct Step {
    const char* what;
    std::u16string_view text;
    int stamp_past_end;  // lines past the last loaded one to stamp after the load (0: none)
    bool release;        // release the lines after the load and the stamp
  };
  const std::u16string many = numbered_lines(40, true);
  const Step steps[] = {
      {"long text", many, 0, false},
      {"short text after a long one", u"[00:01:00]a\r\nb", 0, false},
      {"after a stamp past the loaded lines", u"c\r\n@meta", 5, false},
      {"empty text after a stamp", u"", 0, false},
      {"after a stamp and a release", u"[00:02]d", 3, true},
      {"after a release", many, 0, false},
  };
  auto doc = make_document(64);
  for (const Step& step : steps) {
    doc->load_text(90000, step.text);
    auto fresh = make_document(64);
    fresh->load_text(90000, step.text);
    for (int32_t n = 0; n < 64; ++n) {
      ASSERT_EQ(line_state(*doc->line(n)), line_state(*fresh->line(n))) << step.what << ", line " << n;
    }
    if (step.stamp_past_end > 0) {
      doc->layout(0);
      doc->toggle_edit_mode();  // the cursor on the first line
      for (int i = 0; i < doc->line_count() + step.stamp_past_end; ++i) doc->scroll(1);
      doc->set_cursor_line_time(4000);
      doc->toggle_edit_mode();
    }
    if (step.release) doc->release_lines();
  }
  // A store never loaded still holds lines never given text.
  EXPECT_EQ(make_document(64)->line(10)->long_tag(), u"");
  EXPECT_EQ(make_document(64)->line(10)->even_time(), UINT32_MAX);
}

TEST(LyricDocument, LinesPastTheTextReadAsEmptiedLinesAcrossTheWholeStore) {
  // A store of the largest size holding two lines: every other line is still there, as a line
  // a load emptied, a stamp far past the text writes only its own line, and a release leaves
  // lines never given text.
  auto doc = make_document(kMaxLineCapacity);
  const auto emptied = [](const LyricLine* l) {
    return l && l->text().empty() && l->time() == -1 && l->even_time() == 0 &&
           l->long_tag() == u"[--:--:--]" && l->short_tag() == u"[--:--]";
  };
  const auto never_given_text = [](const LyricLine* l) {
    return l && l->text().empty() && l->even_time() == UINT32_MAX && l->long_tag().empty();
  };
  EXPECT_TRUE(never_given_text(doc->line(kMaxLineCapacity - 1)));
  doc->load_text(60000, u"[00:01:00]a\r\nb");
  ASSERT_EQ(doc->line_count(), 2);
  EXPECT_EQ(doc->line(1)->text(), u"b");
  for (const int32_t n : {2, 3, 700, kMaxLineCapacity - 1}) EXPECT_TRUE(emptied(doc->line(n))) << n;
  EXPECT_EQ(doc->line(kMaxLineCapacity), nullptr);
  EXPECT_EQ(doc->line(-1), nullptr);

  doc->layout(0);
  doc->toggle_edit_mode();
  for (int i = 0; i < 700; ++i) doc->scroll(1);
  doc->set_cursor_line_time(4000);
  EXPECT_EQ(doc->line_time(700), 4000);
  EXPECT_TRUE(emptied(doc->line(699)));
  EXPECT_TRUE(emptied(doc->line(701)));
  doc->toggle_edit_mode();

  doc->load_text(60000, u"c");
  EXPECT_TRUE(emptied(doc->line(700)));  // the stamp went with the load
  doc->release_lines();
  for (const int32_t n : {0, 1, 700, kMaxLineCapacity - 1}) {
    EXPECT_TRUE(never_given_text(doc->line(n))) << n;
  }
}

TEST(LyricDocument, RowsGivenUpShowNoLine) {
  auto doc = make_document(256, 512, 10);
  doc->load_text(0, numbered_lines(40, true));
  const auto shown = [&] {
    std::vector<int32_t> lines;
    for (const LineSlot& slot : doc->slots()) lines.push_back(slot.line);
    return lines;
  };
  std::vector<int32_t> expected(256, -1);
  for (const int rows : {10, 3, 0, 12, 1}) {
    doc->rect = Rect{0, 0, 300, rows * 20};
    doc->count_rows();
    doc->layout(20000);
    // The current line (20) sits just above the middle of the rows there are.
    const int32_t first = rows == 0 ? 0 : std::max(0, 20 - rows / 2 + 1);
    std::fill(expected.begin(), expected.end(), -1);
    for (int k = 0; k < rows; ++k) expected[static_cast<size_t>(k)] = first + k;
    EXPECT_EQ(shown(), expected) << rows << " rows";
  }
}

TEST(LyricDocument, JoinedTextIsCutAtTheCapacity) {
  auto doc = make_document();
  doc->load_text(0, u"[00:01:00]a\r\nb");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, kLyricTextUnits), u"[00:01:00]a\r\nb");
  EXPECT_EQ(doc->join_lines(TagForm::kShort, kLyricTextUnits), u"[00:01]a\r\nb");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, 15), u"[00:01:00]a\r\nb");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, 14), u"[00:01:00]a\r\n");
  // The line end itself does not fit: the text stops behind the line.
  EXPECT_EQ(doc->join_lines(TagForm::kLong, 13), u"[00:01:00]a");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, 12), u"[00:01:00]a");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, 5), u"[00:");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, 1), u"");
  EXPECT_EQ(doc->join_lines(TagForm::kLong, -7), u"");

  doc->load_text(0, u"[00:01:00]one\r\n@title=x\r\nthr[00:02]ee\r\n");
  EXPECT_EQ(doc->join_display_texts(kLyricTextUnits), u"one\r\n\r\nthree\r\n");
  EXPECT_EQ(doc->join_display_texts(5), u"one");

  // Over many lines the full buffer is used and never exceeded.
  doc->load_text(0, numbered_lines(256, true));
  for (int32_t capacity : {100, 101, 102, 103, 2000}) {
    const std::u16string joined = doc->join_lines(TagForm::kLong, capacity);
    EXPECT_LE(joined.size(), static_cast<size_t>(capacity - 1));
    EXPECT_GE(joined.size(), static_cast<size_t>(capacity - 2));
  }
}

TEST(LyricDocument, SlotTextsAndHitTest) {
  auto doc = make_document();
  doc->rect = Rect{0, 0, 300, 200};
  doc->align_h = 1;
  doc->count_rows();
  doc->load_text(0, u"[00:01:00]abc\r\nuntimed");
  doc->layout(1000);
  EXPECT_EQ(doc->slot_text(0), u"abc");
  EXPECT_EQ(doc->slot_text_chars(0), 3);
  // Right-aligned in its row: 30 pixels wide at the right edge.
  const Rect r = doc->slots()[0].text_rect;
  EXPECT_EQ(r, (Rect{270, 0, 300, 20}));
  EXPECT_TRUE(doc->hit_test(0, 300, 20));
  EXPECT_TRUE(doc->hit_test(0, 271, 1));
  EXPECT_FALSE(doc->hit_test(0, 270, 10));
  EXPECT_FALSE(doc->hit_test(0, 280, 0));
  EXPECT_FALSE(doc->hit_test(1, 295, 30));  // no time
  EXPECT_FALSE(doc->hit_test(-1, 280, 10));
  EXPECT_FALSE(doc->hit_test(100000, 280, 10));
  EXPECT_EQ(doc->slot_text(-1), u"");
  EXPECT_EQ(doc->slot_text_chars(100000), 0);

  doc->toggle_edit_mode();
  doc->layout(1000);
  EXPECT_EQ(doc->slot_text(0), u"[00:01:00]abc");
  EXPECT_EQ(doc->slot_text_chars(0), 13);
  EXPECT_EQ(doc->slots()[0].text_rect, (Rect{170, 0, 300, 20}));
}

TEST(LyricDocument, StoreAndMeasuring) {
  LyricDocument doc;
  // Without a store nothing is loaded, and nothing breaks.
  doc.load_text(1000, u"a\r\nb");
  EXPECT_EQ(doc.line_count(), 0);
  doc.layout(0);
  doc.toggle_edit_mode();
  doc.set_cursor_line_time(10);
  EXPECT_EQ(doc.cursor_slot(), 0);
  doc.toggle_edit_mode();

  auto measurer = std::make_unique<FixedWidthMeasurer>(10, 20);
  doc.init(5000, 512, std::move(measurer));
  EXPECT_EQ(doc.line_capacity(), kMaxLineCapacity);
  EXPECT_EQ(doc.marker_extent(), (Rect{0, 0, 30, 20}));
  for (int32_t k = 0; k < kMaxLineCapacity; ++k) ASSERT_EQ(doc.slots()[k].number, k);
  // Once the store exists a second init changes nothing.
  doc.init(256, 256, nullptr);
  EXPECT_EQ(doc.line_capacity(), kMaxLineCapacity);
  EXPECT_EQ(doc.max_line_chars(), 512);

  doc.load_text(0, u"abc");
  EXPECT_EQ(doc.line(0)->display_extent().right, 30);
  // A new font: lines and marker are measured again.
  doc.set_measurer(std::make_unique<FixedWidthMeasurer>(7, 14));
  doc.measure_lines();
  EXPECT_EQ(doc.line(0)->display_extent(), (Rect{0, 0, 21, 14}));
  EXPECT_EQ(doc.marker_extent(), (Rect{0, 0, 21, 14}));

  // The window's context goes away with the lines; later loads are not measured.
  doc.release_lines();
  EXPECT_EQ(doc.line_count(), 0);
  EXPECT_EQ(doc.display_mode(), kModeNoLines);
  EXPECT_EQ(doc.line(0)->text(), u"");
  doc.load_text(0, u"abc");
  EXPECT_EQ(doc.line(0)->display_extent(), Rect{});
}

TEST(LyricDocument, IsTheLyricsDisplayItem) {
  DisplayItems items;
  reset_display_items(items, u"Tahoma");
  LyricDocument* doc = as_lyric_document(items[kLyricsItem].get());
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->name, u"[song]");
  EXPECT_EQ(doc->line_spacing(), 20);
  EXPECT_EQ(doc->line_capacity(), 0);
  for (int i = 0; i < kItemCount; ++i) {
    EXPECT_EQ(as_lyric_document(items[i].get()) != nullptr, i == kLyricsItem) << i;
  }
}

}  // namespace
}  // namespace sabla
