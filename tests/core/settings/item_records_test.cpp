#include "settings/item_records.h"

#include <gtest/gtest.h>

#include "settings/display_items.h"
#include "settings_test_util.h"

namespace sabla {
namespace {

using test::loaded;
using test::narrow;
using test::written_value;

TEST(ItemRecords, ShortTextRecordChangesOnlyWhatItHolds) {
  // Title is read first, so its missing colour is black.
  const Settings s = loaded(u"[title]\r\n31,1,2,3,4\r\n");
  const DisplayItem& title = *s.items[0];
  EXPECT_EQ(title.font_size, 31);
  EXPECT_EQ(title.offset_x, 1);
  EXPECT_EQ(title.size_x, 2);
  EXPECT_EQ(title.offset_y, 3);
  EXPECT_EQ(title.size_y, 4);
  EXPECT_EQ(title.font_weight, 0);  // the default title is bold
  EXPECT_EQ(title.color, make_color(0, 0, 0));
  EXPECT_EQ(title.label, u"");
  EXPECT_EQ(title.face_name, u"Tahoma");
  EXPECT_EQ(title.draw_order, 200);
  EXPECT_EQ(title.font_italic, 0);

  // A later record takes the colour parsed last, part by part.
  const Settings t = loaded(
      u"[title]\r\n20,20,50,20,20,10,20,30\r\n"
      u"[artist]\r\n20,30,20,50,20,77\r\n"
      u"[genre]\r\n1,2,3,4,5\r\n");
  EXPECT_EQ(t.items[1]->color, make_color(77, 20, 30));
  EXPECT_EQ(t.items[5]->color, make_color(77, 20, 30));
  EXPECT_EQ(t.items[5]->label, u"");  // the default "GENRE : " is gone with the missing token
  // Items without a record keep their own defaults.
  EXPECT_EQ(t.items[2]->color, make_color(0, 255, 0));
}

TEST(ItemRecords, ColourCarriesIntoTheLevelIndicators) {
  const Settings s = loaded(
      u"[discnum]\r\n20,20,120,140,20,1,2,3\r\n"
      u"[volume_L]\r\n11,5\r\n"
      u"[volume_R]\r\n6,4,30,14,9,8,7,0,1,99,2,3,1\r\n"
      u"[cover_art]\r\n1,2,3,4,0,2,98,3,2,0\r\n");
  const DisplayItem& left = *s.items[kVolumeLeftItem];
  EXPECT_EQ(left.offset_x, 11);
  EXPECT_EQ(left.size_x, 5);
  EXPECT_EQ(left.offset_y, 30);
  EXPECT_EQ(left.color, make_color(1, 2, 3));
  const DisplayItem& right = *s.items[kVolumeRightItem];
  EXPECT_EQ(right.color, make_color(9, 8, 7));
  EXPECT_EQ(right.align_h, 0);
  EXPECT_EQ(right.align_v, 1);
  EXPECT_EQ(right.draw_order, 99);
  EXPECT_EQ(right.size_mode_h, 2);
  EXPECT_EQ(right.size_mode_v, 3);
  EXPECT_EQ(right.direction, 1);
  const DisplayItem& art = *s.items[kCoverArtItem];
  EXPECT_EQ(art.offset_x, 1);
  EXPECT_EQ(art.size_y, 4);
  EXPECT_EQ(art.align_h, 0);
  EXPECT_EQ(art.align_v, 2);
  EXPECT_EQ(art.draw_order, 98);
  EXPECT_EQ(art.size_mode_h, 3);
  EXPECT_EQ(art.size_mode_v, 2);
  EXPECT_EQ(art.keep_aspect, 0);
}

TEST(ItemRecords, BoldTokenAndTexts) {
  const std::u16string numbers = u"20,20,50,20,20,255,0,255,";
  // The title item after reading a record of `numbers` followed by `rest`.
  struct Title {
    Settings s;
    const DisplayItem* operator->() const { return s.items[0].get(); }
  };
  auto title = [&](std::u16string_view rest) {
    return Title{loaded(u"[title]\r\n" + numbers + std::u16string(rest) + u"\r\n")};
  };
  EXPECT_EQ(title(u"5,0,0,0,200,0,0,Arial,L")->font_weight, kFontWeightBold);
  EXPECT_EQ(title(u"-1,0,0,0,200,0,0,Arial,L")->font_weight, 0);
  EXPECT_EQ(title(u"1,1,2,1,200,0,0,Arial,L")->font_italic, 1);

  const Title full = title(u"1,0,0,0,200,0,0,Meiryo UI,TITLE : ");
  EXPECT_EQ(full->face_name, u"Meiryo UI");
  EXPECT_EQ(full->label, u"TITLE : ");

  // The label is the rest of the line, so it may hold commas.
  EXPECT_EQ(title(u"1,0,0,0,200,0,0,Arial,A, B, C")->label, u"A, B, C");
  // An empty face stays empty and does not take the label's place.
  const Title no_face = title(u"1,0,0,0,200,0,0,,LABEL");
  EXPECT_EQ(no_face->face_name, u"");
  EXPECT_EQ(no_face->label, u"LABEL");
  // A face without a label: the label is empty.
  EXPECT_EQ(title(u"1,0,0,0,200,0,0,Arial")->label, u"");
  EXPECT_EQ(title(u"1,0,0,0,200,0,0,Arial")->face_name, u"Arial");
  // Too long texts read as empty.
  EXPECT_EQ(title(u"1,0,0,0,200,0,0,Arial," + std::u16string(200, u'x'))->label, u"");
  EXPECT_EQ(title(u"1,0,0,0,200,0,0,Arial," + std::u16string(127, u'x'))->label.size(), 127u);
  EXPECT_EQ(title(u"1,0,0,0,200,0,0," + std::u16string(128, u'f') + u",L")->face_name, u"");
  EXPECT_EQ(title(u"1,0,0,0,200,0,0," + std::u16string(128, u'f') + u",L")->label, u"L");
}

TEST(ItemRecords, WrittenRecordForms) {
  Settings s = test::default_settings();
  DisplayItem& lyrics = *s.items[kLyricsItem];
  lyrics.font_weight = 700;
  lyrics.label = u"line\r\nbreak";
  lyrics.face_name = u"ＭＳ ゴシック";
  EXPECT_EQ(written_value(s, u"[song]"),
            u"20,100,0,100,14,220,220,200,1,0,0,0,240,0,0,ＭＳ ゴシック,line");
  s.items[kVolumeRightItem]->direction = 3;
  EXPECT_EQ(narrow(written_value(s, u"[volume_R]")), "5,4,30,14,128,128,255,1,0,110,1,0,3");
  // An item whose name is empty has no record.
  s.items[kCoverArtItem]->name.clear();
  EXPECT_EQ(written_value(s, u"[cover_art]"), u"<missing>");
}

}  // namespace
}  // namespace sabla
