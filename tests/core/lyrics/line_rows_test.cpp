#include "lyrics/line_rows.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace sabla {
namespace {

TEST(LineRows, RowsOfTheItem) {
  std::vector<LineSlot> slots(8);
  const Rect item{10, 100, 210, 200};
  EXPECT_EQ(count_rows(item, 20, slots), 5);
  EXPECT_EQ(slots[0].box, (Rect{10, 100, 210, 120}));
  EXPECT_EQ(slots[4].box, (Rect{10, 180, 210, 200}));
  EXPECT_EQ(slots[5].box, Rect{});

  // The last row is cut short by the item's bottom edge; rows of the taller item are cleared.
  EXPECT_EQ(count_rows(item, 30, slots), 4);
  EXPECT_EQ(slots[3].box, (Rect{10, 190, 210, 200}));
  EXPECT_EQ(slots[4].box, Rect{});

  // No more rows than slots, and none in an empty item.
  EXPECT_EQ(count_rows(Rect{0, 0, 100, 1000}, 20, slots), 8);
  EXPECT_EQ(count_rows(Rect{0, 50, 100, 50}, 20, slots), 0);
  EXPECT_EQ(slots[0].box, Rect{});
  EXPECT_EQ(count_rows(item, 20, std::span<LineSlot>()), 0);

  // A pitch below one pixel counts as one, so rows never pile up on the first.
  EXPECT_EQ(count_rows(Rect{0, 0, 100, 3}, 0, slots), 3);
  EXPECT_EQ(slots[2].box, (Rect{0, 2, 100, 3}));

  // Extreme rectangles from a damaged settings file do not overflow.
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(count_rows(Rect{kMin, kMax - 25, kMax, kMax}, kMax, slots), 1);
  EXPECT_EQ(slots[0].box, (Rect{kMin, kMax - 25, kMax, kMax}));
  EXPECT_EQ(count_rows(Rect{kMin, kMin, kMax, kMax}, kMax, slots), 3);
}

TEST(LineRows, TextPlacedByTheAlignments) {
  const Rect item{0, 0, 200, 100};
  const Rect box{0, 40, 200, 70};
  // Horizontally: left, right, centre.
  EXPECT_EQ(place_row_text(box, item, 50, 20, 0, 0), (Rect{0, 40, 50, 60}));
  EXPECT_EQ(place_row_text(box, item, 50, 20, 1, 0), (Rect{150, 40, 200, 60}));
  EXPECT_EQ(place_row_text(box, item, 51, 20, 2, 0), (Rect{75, 40, 126, 60}));
  // Vertically on a base line: bottom, centre (odd font height), top.
  EXPECT_EQ(place_row_text(box, item, 50, 20, 0, 1), (Rect{0, 50, 50, 70}));
  EXPECT_EQ(place_row_text(box, item, 50, 20, 0, 2), (Rect{0, 45, 50, 65}));
  EXPECT_EQ(place_row_text(box, item, 50, 15, 0, 2), (Rect{0, 48, 50, 63}));

  // Wider than the row: past the left edge when right-aligned, never past the right edge.
  EXPECT_EQ(place_row_text(Rect{0, 0, 200, 20}, item, 300, 20, 1, 0), (Rect{-100, 0, 200, 20}));
  EXPECT_EQ(place_row_text(Rect{0, 0, 200, 20}, item, 300, 20, 0, 0), (Rect{0, 0, 200, 20}));
  EXPECT_EQ(place_row_text(Rect{0, 0, 200, 20}, item, 300, 20, 2, 0), (Rect{-50, 0, 200, 20}));
  // A row cut short by the bottom edge: the text stops at the edge.
  EXPECT_EQ(place_row_text(Rect{0, 90, 200, 100}, item, 50, 20, 0, 0), (Rect{0, 90, 50, 100}));
  EXPECT_EQ(place_row_text(Rect{0, 90, 200, 100}, item, 50, 30, 0, 2), (Rect{0, 80, 50, 100}));

  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const Rect huge{kMin, kMin, kMax, kMax};
  EXPECT_EQ(place_row_text(huge, huge, kMax, kMax, 1, 2).right, kMax);
  EXPECT_EQ(place_row_text(huge, huge, kMax, kMin, 2, 1).left, -(kMax / 2) - 1);
}

}  // namespace
}  // namespace sabla
