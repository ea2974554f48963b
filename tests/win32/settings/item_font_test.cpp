#include <gtest/gtest.h>

#include "settings/item_font_win32.h"

namespace sabla {
namespace {

LOGFONTW font_of(const DisplayItem& item) {
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(static_cast<HGDIOBJ>(item.font.get()), sizeof(lf), &lf),
            static_cast<int>(sizeof(lf)));
  return lf;
}

TEST(ItemFont, FontRule) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  DisplayItem item;
  item.font_size = 24;
  item.font_weight = 900;
  item.font_italic = 1;
  item.face_name = u"Tahoma";
  ASSERT_TRUE(build_font(item, dc));
  const LOGFONTW lf = font_of(item);
  EXPECT_EQ(lf.lfHeight, 24);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfEscapement, 0);
  EXPECT_EQ(lf.lfOrientation, 0);
  EXPECT_EQ(lf.lfWeight, 900);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfUnderline, 0);
  EXPECT_EQ(lf.lfStrikeOut, 0);
  EXPECT_EQ(lf.lfCharSet, static_cast<BYTE>(GetTextCharset(dc)));
  EXPECT_EQ(lf.lfOutPrecision, 0);
  EXPECT_EQ(lf.lfClipPrecision, 0);
  EXPECT_EQ(lf.lfQuality, 0);
  EXPECT_EQ(lf.lfPitchAndFamily, FF_SWISS | DEFAULT_PITCH);
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");

  // A rebuild deletes the old font; a face too long for LOGFONTW is cut to 31 characters.
  HGDIOBJ old = static_cast<HGDIOBJ>(item.font.get());
  item.face_name = std::u16string(40, u'F');
  item.font_weight = 0;
  ASSERT_TRUE(build_font(item, dc));
  EXPECT_EQ(GetObjectType(old), 0u);
  const LOGFONTW cut = font_of(item);
  EXPECT_EQ(std::wstring(cut.lfFaceName), std::wstring(31, L'F'));
  EXPECT_EQ(cut.lfWeight, 0);

  // Without a drawing context the character set is the default one.
  EXPECT_EQ(item_log_font(item, nullptr).lfCharSet, DEFAULT_CHARSET);

  old = static_cast<HGDIOBJ>(item.font.get());
  item.font.reset();
  EXPECT_EQ(GetObjectType(old), 0u);
  DeleteDC(dc);
}

TEST(ItemFont, TextItemsGetFontsWithTheIconTitleFace) {
  const std::u16string face = icon_title_face_name();
  EXPECT_FALSE(face.empty());
  DisplayItems items;
  reset_display_items(items, face);
  build_item_fonts(items, nullptr);
  for (int i = 0; i < kItemCount; ++i) {
    EXPECT_EQ(static_cast<bool>(items[i]->font), i < kTextItemCount) << i;
  }
  const LOGFONTW lf = font_of(*items[0]);
  EXPECT_EQ(std::u16string(lf.lfFaceName, lf.lfFaceName + wcslen(lf.lfFaceName)), face);
  EXPECT_EQ(lf.lfWeight, kFontWeightBold);
}

}  // namespace
}  // namespace sabla
