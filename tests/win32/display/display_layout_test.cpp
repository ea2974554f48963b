#include <gtest/gtest.h>

#include <algorithm>

#include "display/display_layout_win32.h"
#include "lyrics/lyric_document.h"
#include "settings/display_items.h"
#include "settings/item_font_win32.h"

namespace sabla {
namespace {

TEST(DisplayLayout, PlacesEveryItemCutsThePanelIntoRowsAndMeasuresItsLines) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  Settings settings;
  reset_display_items(settings.items, u"Tahoma");
  build_item_fonts(settings.items, dc);
  settings.song_return_size = 30;
  auto* lyrics = as_lyric_document(settings.items[kLyricsItem].get());
  ASSERT_NE(lyrics, nullptr);
  // Loaded before the window had a context: nothing could be measured yet.
  lyrics->init(64, 512, nullptr);
  lyrics->load_text(1000, u"first line\r\nsecond");
  ASSERT_EQ(lyrics->line(0)->display_extent().right, 0);

  const DrawingArea area{0, 0, 640, 480};
  place_display_items(settings, area, dc);
  DisplayItems expected;
  reset_display_items(expected, u"Tahoma");
  for (int i = 0; i < kItemCount; ++i) {
    expected[static_cast<size_t>(i)]->place(640, 480);
    EXPECT_EQ(settings.items[static_cast<size_t>(i)]->rect, expected[static_cast<size_t>(i)]->rect)
        << i;
  }
  const int32_t height = lyrics->rect.bottom - lyrics->rect.top;
  ASSERT_GT(height, 0);
  EXPECT_EQ(lyrics->line_spacing(), 30);
  EXPECT_EQ(lyrics->visible_slots(), std::min((height + 29) / 30, lyrics->line_capacity()));
  const int32_t small = lyrics->line(0)->display_extent().right;
  EXPECT_GT(small, lyrics->line(1)->display_extent().right);
  EXPECT_GT(lyrics->line(1)->display_extent().right, 0);
  EXPECT_GT(lyrics->marker_extent().right, 0);

  // A larger panel font, laid out again: the lines are measured in it.
  lyrics->font_size *= 2;
  ASSERT_TRUE(build_font(*lyrics, dc));
  place_display_items(settings, area, dc);
  EXPECT_GT(lyrics->line(0)->display_extent().right, small);

  // Without a context the panel keeps measuring with the one it has.
  place_display_items(settings, area, nullptr);
  EXPECT_GT(lyrics->line(0)->display_extent().right, small);

  lyrics->release_lines();
  for (auto& item : settings.items) item->font.reset();
  DeleteDC(dc);
}

}  // namespace
}  // namespace sabla
