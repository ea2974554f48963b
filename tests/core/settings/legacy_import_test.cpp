#include "settings/legacy_import.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "settings/settings_format.h"
#include "settings_test_util.h"

namespace sabla {
namespace {

using test::default_settings;

// Shift_JIS bytes of the texts used below.
constexpr std::string_view kMsPGothic =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr std::string_view kOmote = "\x95\x5C";  // its second byte is "\"
constexpr std::string_view kKashi = "\x89\xCC\x8E\x8C";

// Shift_JIS for the characters these tests use, so the import logic is tested the same way on
// every platform; the real decoders are tested on their own.
class SampleShiftJis final : public CodePage {
 public:
  std::u16string decode(std::string_view bytes) const override {
    static const std::pair<std::string_view, char16_t> kPairs[] = {
        {"\x82\x6C", u'Ｍ'}, {"\x82\x72", u'Ｓ'}, {"\x82\x6F", u'Ｐ'}, {"\x83\x53", u'ゴ'},
        {"\x83\x56", u'シ'}, {"\x83\x62", u'ッ'}, {"\x83\x4E", u'ク'}, {"\x95\x5C", u'表'},
        {"\x89\xCC", u'歌'}, {"\x8E\x8C", u'詞'}};
    std::u16string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      if (byte < 0x80) {
        out += static_cast<char16_t>(byte);
        continue;
      }
      char16_t decoded = u'\u30FB';
      for (const auto& [sjis, c] : kPairs) {
        if (bytes.substr(i, 2) == sjis) decoded = c;
      }
      if (decoded != u'\u30FB') ++i;
      out += decoded;
    }
    return out;
  }
};

Settings imported(std::string_view file) {
  Settings s = default_settings();
  import_legacy_settings(s, std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()),
                         SampleShiftJis());
  return s;
}

TEST(LegacyImport, VersionBelow330UpgradesEverything) {
  const Settings s = imported(
      "[version]\r\n300\r\n"
      "[URL]\r\nhttp://x.example/?a=%s&t=%s&n=%d%s\r\n"
      "[URL2]\r\nhttp://y.example/%s\r\n"
      "[song]\r\n30,1,2,3,4,5,6,7,1,1,2,2,9,3,3,Arial\r\n"
      "[title]\r\n25,1,2,3,4,5,6,7,0,0,0,0,999,0,0,Arial\r\n"
      "[volume_L]\r\n1,2,3,4,5,6,7,0,0,77,0,0,3\r\n"
      "[beginner]\r\n0\r\n");
  EXPECT_EQ(s.URL[0], u"http://x.example/?a=[artist]&t=[title]&n=%d%s");
  EXPECT_EQ(s.URL[1], u"http://y.example/[artist]");
  EXPECT_EQ(s.URL[2], u"http://&a=[artist]&t=[title]");
  EXPECT_EQ(s.new_file, (std::array<int32_t, 2>{1, 1}));
  EXPECT_EQ(s.beginner, 1);

  const DisplayItem& lyrics = *s.items[kLyricsItem];
  EXPECT_EQ(lyrics.font_size, 14);
  EXPECT_EQ(lyrics.offset_x, 100);
  EXPECT_EQ(lyrics.size_x, 0);
  EXPECT_EQ(lyrics.offset_y, 100);
  EXPECT_EQ(lyrics.size_y, 14);
  EXPECT_EQ(lyrics.color, make_color(200, 200, 200));
  EXPECT_EQ(lyrics.font_weight, 0);
  EXPECT_EQ(lyrics.font_italic, 0);
  EXPECT_EQ(lyrics.align_h, 0);
  EXPECT_EQ(lyrics.size_mode_v, 0);
  EXPECT_EQ(lyrics.draw_order, 240);
  EXPECT_EQ(lyrics.draw_flags, kDtNoPrefix);
  EXPECT_EQ(lyrics.face_name, u"Microsoft Sans Serif");

  EXPECT_EQ(s.items[0]->draw_order, 200);
  EXPECT_EQ(s.items[0]->font_size, 25);
  EXPECT_EQ(s.items[3]->draw_order, 230);
  const DisplayItem& left = *s.items[kVolumeLeftItem];
  EXPECT_EQ(left.offset_x, 10);
  EXPECT_EQ(left.color, make_color(100, 100, 100));
  EXPECT_EQ(left.align_h, 1);
  EXPECT_EQ(left.draw_order, 120);
  EXPECT_EQ(left.direction, 0);
  EXPECT_EQ(s.items[kVolumeRightItem]->offset_x, 5);
  EXPECT_EQ(s.items[kVolumeRightItem]->draw_order, 110);
  EXPECT_EQ(s.items[kCoverArtItem]->keep_aspect, 1);
  EXPECT_EQ(s.items[kCoverArtItem]->draw_order, 100);
}

TEST(LegacyImport, Version500KeepsTemplatesAndReplacesTheOldJapaneseFace) {
  const std::string file =
      "[version]\n500\n[URL]\nhttp://x/%s\n[title]\n20,20,50,20,20,255,0,"
      "255,1,0,0,0,205,0,0," +
      std::string(kMsPGothic) + "\n[artist]\n20,30,20,50,20,0,255,255,0,0,0,0,215,0,0," +
      std::string(kKashi) + ",extra\n[beginner]\n0\n";
  const Settings s = imported(file);
  EXPECT_EQ(s.items[0]->face_name, u"Microsoft Sans Serif");
  EXPECT_EQ(s.items[1]->face_name, u"歌詞");
  EXPECT_EQ(s.items[1]->label, u"");  // the old records had no label
  EXPECT_EQ(s.items[0]->draw_order, 205);
  EXPECT_EQ(s.URL[0], u"http://x/%s");
  EXPECT_EQ(s.beginner, 0);
  EXPECT_EQ(s.version, 0);  // the old version only steers the upgrade
}

TEST(LegacyImport, OnlyTheOldKeysAreRead) {
  const std::string file = std::string("[version]\r\n600\r\n") +
                           "[URL_key]\r\n65\r\n"
                           "[delay_pause]\r\n400\r\n"
                           "[delay]\r\n-120\r\n"
                           "[info_font_color]\r\n1,2,3\r\n"
                           "[genre]\r\n1,2,3,4,5,6,7,8,0,0,0,0,5,0,0,Arial\r\n"
                           "[loop]\r\n-3\r\n"
                           "[song_bf_size]\r\n10,9999\r\n"
                           "[URL_name]\r\n" +
                           std::string(kKashi) +
                           ",b\r\n"
                           "[path]\r\nC:\\" +
                           std::string(kOmote) +
                           ";D:\\x;\r\n"
                           "[to_iPod_text_path]\r\nK:\\a,b\r\n"
                           "[current_line_color]\r\n9,8,7\r\n"
                           "[URL3]\r\nfirst\r\n[URL3]\r\nsecond\r\n";
  const Settings s = imported(file);
  EXPECT_EQ(s.URL_key[0], 114);
  EXPECT_EQ(s.delay_pause, -120);
  EXPECT_EQ(s.info_font_color, make_color(200, 200, 200));
  EXPECT_EQ(s.items[5]->font_size, 20);
  EXPECT_EQ(s.loop, 0);
  EXPECT_EQ(s.song_bf_size, (std::array<int32_t, 2>{256, 1024}));
  EXPECT_EQ(s.URL_name[0], u"歌詞");
  EXPECT_EQ(s.URL_name[1], u"b");
  EXPECT_EQ(s.path[0], u"C:\\表");
  EXPECT_EQ(s.path[1], u"D:\\x");
  EXPECT_EQ(s.path_count, 2);
  EXPECT_EQ(s.to_iPod_text_path, u"K:\\a,b");
  EXPECT_EQ(s.current_line_color, make_color(9, 8, 7));
  EXPECT_EQ(s.URL[2], u"first");  // the old file had no last-match rule
}

TEST(LegacyImport, OldLineLimitsAreBytes) {
  // 1023 bytes of a line; the path line only 1018.
  const std::string long_url = std::string(1100, 'u');
  const std::string long_folder = std::string(1100, 'f');
  const Settings s = imported("[URL]\n" + long_url + "\n[path]\n" + long_folder + "\n");
  EXPECT_EQ(s.URL[0].size(), 259u);  // and an old template field held 259 characters
  EXPECT_EQ(s.path[0].size(), 259u);

  const std::string names = std::string(1020, 'n') + ",second";
  EXPECT_EQ(imported("[URL_name]\n" + names + "\n").URL_name[1], u"se");
}

TEST(LegacyImport, ConvertedFileReadsBackAsTheCurrentFormat) {
  Settings s = imported("[version]\n450\n[loop]\n33\n[title]\n24,1,2,3,4,5,6,7,1,0,0,0,300,0,0," +
                        std::string(kKashi) + "\n");
  const std::vector<uint8_t> converted = format_settings_file(s);
  EXPECT_TRUE(has_unicode_mark(converted));
  read_settings_file(s, converted);
  finish_settings_read(s);
  EXPECT_EQ(s.version, kSettingsVersion);
  EXPECT_EQ(s.loop, 33);
  EXPECT_EQ(s.items[0]->face_name, u"歌詞");
  EXPECT_EQ(s.items[0]->draw_order, 300);
  EXPECT_EQ(format_settings_file(s), converted);
}

TEST(LegacyImport, EmptyOrGarbageFileOnlyUpgrades) {
  const Settings s = imported("");
  EXPECT_EQ(s.new_file, (std::array<int32_t, 2>{1, 1}));
  EXPECT_EQ(s.items[kLyricsItem]->face_name, u"Microsoft Sans Serif");
  const Settings t = imported(std::string("\0\xFF\xFE[version]\n\x81", 15));
  EXPECT_EQ(t.loop, 10);
}

}  // namespace
}  // namespace sabla
