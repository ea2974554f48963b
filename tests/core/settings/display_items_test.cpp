#include "settings/display_items.h"

#include <gtest/gtest.h>

#include <limits>

namespace sabla {
namespace {

DisplayItems default_items() {
  DisplayItems items;
  reset_display_items(items, u"Tahoma");
  return items;
}

Rect placed(int32_t align, int32_t mode, int32_t offset, int32_t size, int32_t w, int32_t h) {
  DisplayItem item;
  item.align_h = item.align_v = align;
  item.size_mode_h = item.size_mode_v = mode;
  item.offset_x = item.offset_y = offset;
  item.size_x = item.size_y = size;
  item.place(w, h);
  return item.rect;
}

TEST(DisplayItems, TableNamesLabelsAndKinds) {
  const DisplayItems items = default_items();
  EXPECT_EQ(items[0]->name, u"[title]");
  EXPECT_EQ(items[4]->name, u"[song]");
  EXPECT_EQ(items[13]->name, u"[discnum]");
  EXPECT_EQ(items[16]->name, u"[cover_art]");
  EXPECT_EQ(items[7]->label, u"EQUALIZER : ");
  EXPECT_EQ(items[3]->label, u"");
  EXPECT_EQ(items[12]->face_name, u"Tahoma");
  EXPECT_EQ(items[14]->face_name, u"");
  EXPECT_EQ(items[0]->font_weight, kFontWeightBold);
  EXPECT_EQ(items[0]->draw_flags, kDtNoPrefix);
  EXPECT_EQ(item_name(17), u"");
  EXPECT_EQ(make_display_item(-1, u""), nullptr);
}

TEST(DisplayItems, RectangleRule) {
  // Width 400 / height 300; each row of the rule, on both axes.
  EXPECT_EQ(placed(0, 0, 10, 30, 400, 300), (Rect{10, 10, 370, 270}));
  EXPECT_EQ(placed(1, 1, 10, 30, 400, 300), (Rect{360, 260, 390, 290}));
  EXPECT_EQ(placed(2, 1, 10, 30, 400, 300), (Rect{210, 160, 240, 190}));
  EXPECT_EQ(placed(0, 1, 10, 30, 400, 300), (Rect{10, 10, 40, 40}));
  EXPECT_EQ(placed(1, 2, 10, 30, 400, 300), (Rect{10, 10, 40, 40}));
  EXPECT_EQ(placed(0, 3, 10, 30, 400, 300), (Rect{360, 260, 390, 290}));
  EXPECT_EQ(placed(2, 7, 10, 30, 400, 300), (Rect{360, 260, 390, 290}));
  // Centre with an odd extent and a negative offset: integer division.
  EXPECT_EQ(placed(2, 1, -20, 5, 401, 301), (Rect{180, 130, 185, 135}));

  // Values from a damaged file saturate instead of overflowing.
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(placed(0, 1, kMax, kMax, 10, 10), (Rect{kMax, kMax, kMax, kMax}));
  EXPECT_EQ(placed(1, 1, kMax, kMax, 10, 10), (Rect{kMin, kMin, 10 - kMax, 10 - kMax}));
}

TEST(DisplayItems, DefaultPlacement) {
  DisplayItems items = default_items();
  for (auto& item : items) item->place(640, 480);
  // Information items: 120 x 20 boxes, 20 pixels from the right, bottom y above the bottom.
  EXPECT_EQ(items[5]->rect, (Rect{500, 270, 620, 290}));   // genre, y = 190
  EXPECT_EQ(items[13]->rect, (Rect{500, 320, 620, 340}));  // disc, y = 140
  // Level indicators: 4 pixels wide at the right edge, 30 from the top to 14 from the bottom.
  EXPECT_EQ(items[14]->rect, (Rect{626, 30, 630, 466}));
  EXPECT_EQ(items[15]->rect, (Rect{631, 30, 635, 466}));
  // Lyrics: margins of 100 at the left and top, 0 at the right, 14 at the bottom.
  EXPECT_EQ(items[4]->rect, (Rect{100, 100, 640, 466}));
  // Artwork: 120 x 120, 20 from the right and 14 from the bottom.
  EXPECT_EQ(items[16]->rect, (Rect{500, 346, 620, 466}));
}

TEST(DisplayItems, AlignmentFlags) {
  DisplayItems items = default_items();
  items[0]->align_h = 1;
  items[1]->align_h = 2;
  items[2]->align_h = 5;
  items[2]->alignment_code = 9;
  items[4]->align_h = 2;
  items[4]->align_v = 1;
  items[5]->align_v = 1;   // only the lyrics item takes a vertical flag
  items[14]->align_h = 1;  // not a text item
  apply_alignment_flags(items);
  EXPECT_EQ(items[0]->draw_flags, kDtNoPrefix | kDtRight);
  EXPECT_EQ(items[0]->alignment_code, 1);
  EXPECT_EQ(items[1]->draw_flags, kDtNoPrefix | kDtCenter);
  EXPECT_EQ(items[1]->alignment_code, 2);
  EXPECT_EQ(items[2]->draw_flags, kDtNoPrefix);
  EXPECT_EQ(items[2]->alignment_code, 0);
  EXPECT_EQ(items[4]->draw_flags, kDtNoPrefix | kDtCenter | kDtBottom);
  EXPECT_EQ(items[5]->draw_flags, kDtNoPrefix);
  EXPECT_EQ(items[14]->alignment_code, 0);

  // Applying again after a change replaces the old flags instead of adding to them.
  items[4]->align_h = 1;
  items[4]->align_v = 2;
  apply_alignment_flags(items);
  EXPECT_EQ(items[4]->draw_flags, kDtNoPrefix | kDtRight | kDtVCenter);
  EXPECT_EQ(items[4]->alignment_code, 1);
}

TEST(DisplayItems, RenumberingAndDrawingOrder) {
  DisplayItems items = default_items();
  // Defaults: title 200 ... lyrics 240, indicators 120/110, artwork 100, info items hidden.
  items[3]->draw_order = 220;  // same as album (2)
  items[9]->draw_order = 220;  // a shown information item, same again
  renumber_draw_order(items);
  EXPECT_EQ(items[2]->draw_order, 220);
  EXPECT_EQ(items[3]->draw_order, 241);
  EXPECT_EQ(items[9]->draw_order, 242);
  EXPECT_EQ(items[5]->draw_order, -1);  // hidden items keep their value
  EXPECT_EQ(items[6]->draw_order, -1);

  const DrawingOrder order = build_drawing_order(items);
  // Hidden items first (index order among equals), then ascending values.
  const DrawingOrder expected = {5, 6, 7, 8, 10, 11, 12, 13, 16, 15, 14, 0, 1, 2, 4, 3, 9};
  EXPECT_EQ(order, expected);

  // No visible item: nothing changes.
  for (auto& item : items) item->draw_order = -5;
  renumber_draw_order(items);
  EXPECT_EQ(items[16]->draw_order, -5);

  // At the top of the range the values stay distinct without overflowing.
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  for (auto& item : items) item->draw_order = kMax;
  renumber_draw_order(items);
  for (size_t i = 0; i < items.size(); ++i) {
    for (size_t j = i + 1; j < items.size(); ++j) {
      EXPECT_NE(items[i]->draw_order, items[j]->draw_order);
    }
  }
  EXPECT_EQ(items[0]->draw_order, kMax);
}

}  // namespace
}  // namespace sabla
