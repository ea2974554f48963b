#include "settings/settings_format.h"

#include <gtest/gtest.h>

#include "settings_test_util.h"

namespace sabla {
namespace {

using test::default_settings;
using test::loaded;
using test::narrow;
using test::written_value;

TEST(SettingsFormat, DefaultsAreWrittenInFileOrder) {
  const Settings s = default_settings();
  const std::u16string text = format_settings_text(s);
  EXPECT_EQ(text.substr(0, 18), u"[version]\r\n680\r\n[t");
  EXPECT_EQ(narrow(written_value(s, u"[title]")),
            "20,20,50,20,20,255,0,255,1,0,0,0,200,0,0,Tahoma,");
  EXPECT_EQ(narrow(written_value(s, u"[genre]")),
            "20,20,120,190,20,200,200,200,0,0,0,0,-1,3,3,Tahoma,GENRE : ");
  EXPECT_EQ(narrow(written_value(s, u"[volume_L]")), "10,4,30,14,128,128,255,1,0,120,1,0,0");
  EXPECT_EQ(narrow(written_value(s, u"[cover_art]")), "20,120,14,120,1,1,100,1,1,1");
  EXPECT_EQ(narrow(written_value(s, u"[path]")), "C:\\Users\\me\\Documents;");
  EXPECT_EQ(narrow(written_value(s, u"[to_iPod_text_path]")), "I:\\Notes");
  EXPECT_EQ(narrow(written_value(s, u"[URL8]")), "http://&a=[artist]&t=[title]");
  EXPECT_EQ(narrow(written_value(s, u"[URL_name]")),
            "name1,name2,name3,name4,name5,name6,name7,name8");
  EXPECT_EQ(narrow(written_value(s, u"[URL_key]")), "114,0,0,0,0,0,0,0");
  EXPECT_EQ(narrow(written_value(s, u"[visualizer]")), "1,60,2,40,6,5");
  EXPECT_EQ(narrow(written_value(s, u"[default_artwork]")),
            "C:\\Users\\me\\Documents\\default.jpg");
  EXPECT_EQ(narrow(written_value(s, u"[song_bf_size]")), "512,256");
  EXPECT_EQ(written_value(s, u"[delay]"), u"<missing>");
}

}  // namespace
}  // namespace sabla
