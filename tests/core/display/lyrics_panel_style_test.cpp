#include "display/lyrics_panel_style.h"

#include <gtest/gtest.h>

#include <limits>

#include "display/text_item.h"
#include "lyrics/fixed_width_measurer.h"
#include "settings/display_items.h"

namespace sabla {
namespace {

TEST(LyricsPanelStyle, EditColumnsUseTheChosenTagFormAndNeverWrap) {
  FixedWidthMeasurer measurer(10, 20);
  LyricLine line;
  line.set_text(u"[01:02:03]abc", 512);
  line.measure(&measurer);
  EXPECT_EQ(shown_tag(line, 0).text, u"[01:02:03]");
  EXPECT_EQ(shown_tag(line, 1).text, u"[01:02]");
  const EditColumns columns =
      edit_columns(Rect{200, 40, 400, 60}, Rect{0, 0, 30, 20}, shown_tag(line, 1).extent);
  EXPECT_EQ(columns.marker, (Rect{170, 40, 400, 60}));
  EXPECT_EQ(columns.tag, (Rect{100, 40, 400, 60}));

  // A very long right-aligned line starts far left of the panel.
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const Rect wide{0, 0, std::numeric_limits<int32_t>::max(), 20};
  EXPECT_EQ(edit_columns(Rect{kMin + 5, 0, 200, 20}, Rect{0, 0, 30, 20}, wide).tag.left, kMin);
}

TEST(TextItem, WrappingItemsKeepTheirFlagsAndTextsEndAtANul) {
  DisplayItem item;
  item.draw_flags = kDtNoPrefix | kDtRight;
  item.align_v = 1;
  EXPECT_EQ(text_item_flags(item), kDtNoPrefix | kDtRight | kDtSingleLine | kDtBottom);
  item.size_mode_v = 1;  // the height follows the area: the text may wrap
  EXPECT_EQ(text_item_flags(item), kDtNoPrefix | kDtRight);
  item.label = u"GENRE : ";
  EXPECT_EQ(text_item_text(item, std::u16string_view(u"Ro\0ck", 5)), u"GENRE : Ro");
}

}  // namespace
}  // namespace sabla
