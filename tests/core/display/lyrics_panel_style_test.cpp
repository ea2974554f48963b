#include "display/lyrics_panel_style.h"

#include <gtest/gtest.h>

#include <limits>

#include "display/text_item.h"
#include "lyrics/fixed_width_measurer.h"
#include "settings/display_items.h"

namespace sabla {
namespace {

constexpr uint32_t kPanel = make_color(255, 255, 255);
constexpr uint32_t kBar = make_color(0, 0, 255);
constexpr uint32_t kCurrentText = make_color(255, 128, 0);
constexpr uint32_t kMouse = make_color(0, 255, 0);

Settings colours(uint32_t bar, uint32_t current_text) {
  Settings s;
  s.current_line_color = bar;
  s.current_font_color = current_text;
  s.mouse_on_font_color = kMouse;
  return s;
}

TEST(LyricsPanelStyle, OnlyTheCurrentLineStandsOnABarAndOnlyInADifferentColour) {
  const Settings s = colours(kBar, kCurrentText);
  EXPECT_EQ(slot_style(false, false, kPanel, s).text_color, kPanel);
  EXPECT_FALSE(slot_style(false, false, kPanel, s).opaque);
  EXPECT_EQ(slot_style(true, false, kPanel, s).text_color, kCurrentText);
  EXPECT_TRUE(slot_style(true, false, kPanel, s).opaque);

  // The default colours are equal: the current line changes colour but gets no bar.
  const Settings same = colours(kCurrentText, kCurrentText);
  EXPECT_EQ(slot_style(true, false, kPanel, same).text_color, kCurrentText);
  EXPECT_FALSE(slot_style(true, false, kPanel, same).opaque);

  // The mouse colour wins over both text colours; the bar stays.
  EXPECT_EQ(slot_style(false, true, kPanel, s).text_color, kMouse);
  EXPECT_FALSE(slot_style(false, true, kPanel, s).opaque);
  EXPECT_EQ(slot_style(true, true, kPanel, s).text_color, kMouse);
  EXPECT_TRUE(slot_style(true, true, kPanel, s).opaque);
}

TEST(LyricsPanelStyle, EditColumnsStandLeftOfTheTextInTheChosenTagForm) {
  FixedWidthMeasurer measurer(10, 20);
  LyricLine line;
  line.set_text(u"[01:02:03]abc", 512);
  line.measure(&measurer);
  const ShownTag long_form = shown_tag(line, 0);
  const ShownTag short_form = shown_tag(line, 1);
  EXPECT_EQ(long_form.text, line.long_tag());
  EXPECT_EQ(short_form.text, line.short_tag());
  ASSERT_GT(long_form.extent.right, short_form.extent.right);

  const Rect text{200, 40, 400, 60};
  const Rect marker{0, 0, 30, 20};  // " > " at 10 pixels a character
  const EditColumns columns = edit_columns(text, marker, long_form.extent);
  EXPECT_EQ(columns.marker, (Rect{170, 40, 400, 60}));
  EXPECT_EQ(columns.tag, (Rect{170 - long_form.extent.right, 40, 400, 60}));
  // Rows of every line use the same marker width, so tags line up whether or not the row shows
  // the cursor.
  EXPECT_EQ(edit_columns(Rect{200, 60, 300, 80}, marker, long_form.extent).tag.left,
            columns.tag.left);

  // A very long right-aligned line starts far left; the columns saturate instead of wrapping.
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const Rect wide{0, 0, std::numeric_limits<int32_t>::max(), 20};
  const EditColumns far = edit_columns(Rect{kMin + 5, 0, 200, 20}, marker, wide);
  EXPECT_EQ(far.marker.left, kMin);
  EXPECT_EQ(far.tag.left, kMin);
}

TEST(TextItem, FixedHeightItemsAreOneLineSetByTheirVerticalAlignment) {
  DisplayItem item;
  item.draw_flags = kDtNoPrefix | kDtRight;
  item.size_mode_v = 0;
  item.align_v = 0;
  EXPECT_EQ(text_item_flags(item), kDtNoPrefix | kDtRight | kDtSingleLine);
  item.align_v = 1;
  EXPECT_EQ(text_item_flags(item), kDtNoPrefix | kDtRight | kDtSingleLine | kDtBottom);
  item.align_v = 2;
  EXPECT_EQ(text_item_flags(item), kDtNoPrefix | kDtRight | kDtSingleLine | kDtVCenter);
  // An item whose height follows the area wraps its text and keeps its record's flags.
  item.size_mode_v = 1;
  EXPECT_EQ(text_item_flags(item), kDtNoPrefix | kDtRight);

  EXPECT_EQ(text_item_text(item, u"Rock"), u"Rock");
  item.label = u"GENRE : ";
  EXPECT_EQ(text_item_text(item, u"Rock"), u"GENRE : Rock");
  EXPECT_EQ(text_item_text(item, u""), u"GENRE : ");
  // Both are C strings to the drawing: nothing behind a NUL shows.
  EXPECT_EQ(text_item_text(item, std::u16string_view(u"Ro\0ck", 5)), u"GENRE : Ro");
}

}  // namespace
}  // namespace sabla
