#include <gtest/gtest.h>

#include <vector>

#include "display/level_indicator.h"

namespace sabla {
namespace {

std::vector<int32_t> frames(int32_t from, int32_t to, int count) {
  std::vector<int32_t> shown;
  int32_t previous = from;
  for (int i = 0; i < count; ++i) shown.push_back(previous = indicator_step(to, previous));
  return shown;
}

TEST(LevelIndicator, RisesByAtMost32AndFallsByAtMost16PerFrame) {
  EXPECT_EQ(frames(0, 200, 8), (std::vector<int32_t>{32, 64, 96, 128, 160, 192, 200, 200}));
  EXPECT_EQ(frames(200, 0, 3), (std::vector<int32_t>{184, 168, 152}));
  EXPECT_EQ(indicator_step(90, 100), 90);
  EXPECT_EQ(indicator_step(132, 100), 132);

  EXPECT_EQ(indicator_value(100, true), 200);
  EXPECT_EQ(indicator_value(127, false), 0);

  int32_t peak = 0;
  raise_level_peak(peak, 0);
  EXPECT_EQ(peak, 1);
  raise_level_peak(peak, 100);
  EXPECT_EQ(peak, 200);
  raise_level_peak(peak, 30);
  EXPECT_EQ(peak, 200);
}

TEST(LevelIndicator, BarGrowsFromTheSideItsDirectionNames) {
  const Rect item{10, 20, 14, 275};  // 4 wide, 255 high
  EXPECT_EQ(indicator_bar(item, 0, 100), (Rect{10, 175, 14, 275}));
  EXPECT_EQ(indicator_bar(item, 2, 100), (Rect{10, 20, 14, 120}));
  EXPECT_EQ(indicator_bar(item, 0, 255), item);
  EXPECT_EQ(indicator_bar(item, 0, 0), (Rect{10, 275, 14, 275}));

  const Rect wide{0, 0, 100, 8};
  // 100 x 128 / 255 = 50.2, cut to 50.
  EXPECT_EQ(indicator_bar(wide, 1, 128), (Rect{0, 0, 50, 8}));
  EXPECT_EQ(indicator_bar(wide, 3, 128), (Rect{50, 0, 100, 8}));
  EXPECT_EQ(indicator_bar(item, 9, 100), indicator_bar(item, 0, 100));
}

}  // namespace
}  // namespace sabla
