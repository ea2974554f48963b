#include <gtest/gtest.h>

#include <utility>

#include "display/info_panel_win32.h"
#include "state/plugin_state.h"
#include "state/window_drawing_win32.h"
#include "settings/display_items.h"
#include "win32/display/panel_canvas.h"
#include "win32/host/test_window.h"

namespace sabla {
namespace {

using test::not_black;
using test::only_green;

LOGFONTW font_of(HGDIOBJ font) {
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  return lf;
}

TEST(InfoFont, FourteenPixelsOfMicrosoftSansSerifInTheWindowsCharacterSet) {
  test::TestWindow window;
  PluginState state;
  state.window.drawing = open_window_drawing(window.visualizer());
  WindowDrawing* drawing = window_drawing(state);
  ASSERT_NE(drawing, nullptr);

  replace_info_font(*drawing);
  const HFONT first = drawing->info_font.get();
  ASSERT_NE(first, nullptr);
  const LOGFONTW lf = font_of(first);
  EXPECT_EQ(lf.lfHeight, 14);
  EXPECT_EQ(lf.lfCharSet, static_cast<BYTE>(GetTextCharset(drawing->window_dc.get())));
  EXPECT_EQ(lf.lfPitchAndFamily, VARIABLE_PITCH | FF_SWISS);
  EXPECT_STREQ(lf.lfFaceName, L"Microsoft Sans Serif");

  // A font change makes the information font and the text items' fonts again; the old
  // information font is deleted, and the indicators and the artwork get no font.
  reset_display_items(state.settings.items, u"Tahoma");
  rebuild_item_fonts(state);
  EXPECT_EQ(GetObjectType(first), 0u);
  EXPECT_NE(drawing->info_font.get(), nullptr);
  for (int i = 0; i < kItemCount; ++i) {
    EXPECT_EQ(static_cast<bool>(state.settings.items[static_cast<size_t>(i)]->font),
              i < kTextItemCount)
        << i;
  }
  state.window.drawing.reset();
}

TEST(TextItemDrawing, OneLineAtTheTopBottomOrMiddleInTheItemsColour) {
  test::PanelCanvas canvas(300, 100);
  ASSERT_TRUE(canvas.ready());
  DisplayItem item;
  item.font = test::crisp_font(16);
  item.color = RGB(0, 255, 0);
  item.rect = Rect{0, 0, 300, 100};
  item.label = u"GENRE : ";
  const HGDIOBJ font_before = GetCurrentObject(canvas.dc(), OBJ_FONT);
  SetBkMode(canvas.dc(), TRANSPARENT);  // as the frame leaves it for the items

  draw_text_item(canvas.dc(), item, u"Rock");
  const int drawn = canvas.count(only_green);
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(canvas.count(Rect{0, 0, 300, 20}, only_green), drawn);
  EXPECT_EQ(canvas.count(not_black), drawn);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), font_before);
  for (const auto& [align_v, band] :
       {std::pair{1, Rect{0, 80, 300, 100}}, {2, Rect{0, 40, 300, 60}}}) {
    canvas.clear();
    item.align_v = align_v;
    draw_text_item(canvas.dc(), item, u"Rock");
    EXPECT_EQ(canvas.count(band, only_green), drawn) << align_v;
  }

  canvas.clear();
  item.draw_order = -1;
  draw_text_item(canvas.dc(), item, u"Rock");
  EXPECT_EQ(canvas.count(not_black), 0);
}

}  // namespace
}  // namespace sabla
