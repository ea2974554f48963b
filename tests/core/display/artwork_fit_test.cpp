#include <gtest/gtest.h>

#include "display/artwork_fit.h"
#include "display/artwork_placement.h"

namespace sabla {
namespace {

TEST(ArtworkFit, KeepAspectFitsTheLongerSideThenShrinks) {
  EXPECT_EQ(artwork_target_size({600, 300}, {200, 100}, true), (Size{200, 100}));
  // 300 x 600 first becomes 100 x 200 over the box's longer side, then shrinks to the height.
  EXPECT_EQ(artwork_target_size({300, 600}, {200, 100}, true), (Size{50, 100}));
  EXPECT_EQ(artwork_target_size({300, 600}, {200, 100}, false), (Size{200, 100}));
  EXPECT_EQ(artwork_target_size({500, 500}, {120, 80}, true), (Size{80, 80}));
}

TEST(ArtworkFit, DrawnRectangleFollowsTheItemsAlignment) {
  const Rect item{20, 10, 220, 110};  // 200 x 100
  const Size tall{300, 600};          // drawn 50 x 100
  EXPECT_EQ(artwork_rect(item, tall, true, 0, 0), (Rect{20, 10, 70, 110}));
  EXPECT_EQ(artwork_rect(item, tall, true, 1, 0), (Rect{170, 10, 220, 110}));
  EXPECT_EQ(artwork_rect(item, tall, true, 2, 0), (Rect{95, 10, 145, 110}));

  const Size wide{400, 100};  // drawn 200 x 50
  EXPECT_EQ(artwork_rect(item, wide, true, 0, 1), (Rect{20, 60, 220, 110}));
  EXPECT_EQ(artwork_rect(item, wide, true, 0, 2), (Rect{20, 35, 220, 85}));
  EXPECT_EQ(artwork_rect(item, wide, true, 0, 7), (Rect{20, 10, 220, 60}));
  EXPECT_EQ(artwork_rect(item, wide, false, 2, 2), item);
}

}  // namespace
}  // namespace sabla
