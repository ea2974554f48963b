#include "settings/settings_format.h"

#include <gtest/gtest.h>

#include "settings/settings_keys.h"
#include "settings_test_util.h"

namespace sabla {
namespace {

using test::default_settings;
using test::loaded;
using test::narrow;
using test::widen;
using test::written_value;

// Every setting and item field away from its default.
Settings custom_settings() {
  Settings s = default_settings();
  s.path = {u"D:\\lyrics", u"E:\\more lyrics", u"F:\\x"};
  s.to_iPod_text_path = u"J:\\Notes, old";
  s.bg_color = make_color(1, 2, 3);
  s.song_return_size = 61;
  for (int i = 0; i < kSearchSlotCount; ++i) {
    s.URL[i] = u"http://search/" + widen(std::to_string(i)) + u"?q=[title]";
    s.URL_name[i] = u"サイト" + widen(std::to_string(i));
    s.URL_key[i] = static_cast<uint8_t>(112 + i);
    s.sjis_euc[i] = i % 3;
  }
  s.URL_set = 5;
  s.loop = 25;
  s.scroll_up = 38;
  s.scroll_down = 40;
  s.edit_mode = 70;
  s.save_key = 71;
  s.ins_tag = 32;
  s.save_ipod = 72;
  s.find_sdir = 1;
  s.wheel_scroll = 4;
  s.delay_pause = -300;
  s.delay_playstart = 150;
  s.delay_nextstart = -75;
  s.beginner = 0;
  s.current_line_color = make_color(10, 20, 30);
  s.current_font_color = make_color(40, 50, 60);
  s.info_font_color = make_color(70, 80, 90);
  s.message_font_color = make_color(11, 12, 13);
  s.mouse_on_font_color = make_color(14, 15, 16);
  s.visualizer = {0, 90, 3, 20, 12, 7};
  s.current_tab = 3;
  s.new_file = {2, 1};
  s.auto_save = {1, 1};
  s.make_ipod_subfolder = 1;
  s.default_artwork = u"C:\\pictures\\none.png";
  s.dialog_ins_timetag = {1, 1};
  s.song_bf_size = {1024, 300};
  s.load_btn_path = u"C:\\texts";
  s.show_status = {0, 1, 0};
  s.ver_check = 0;
  s.ver_check_beta = 1;
  s.save_unicode = 1;
  s.input_timetag_digit = 1;
  s.standard_lrc = 0;
  for (int i = 0; i < kItemCount; ++i) {
    DisplayItem& item = *s.items[i];
    item.font_size = 30 + i;
    item.font_weight = i % 2 ? kFontWeightBold : 0;
    item.font_italic = 1;
    item.face_name = u"ＭＳ ゴシック";
    item.label = u"ラベル " + widen(std::to_string(i));
    item.offset_x = i + 1;
    item.size_x = i + 2;
    item.offset_y = i + 3;
    item.size_y = i + 4;
    item.align_h = 2;
    item.align_v = 1;
    item.size_mode_h = 3;
    item.size_mode_v = 2;
    item.color = make_color(i, 2 * i, 3 * i);
    item.draw_order = 500 + i;
    item.direction = 2;
    item.keep_aspect = 0;
  }
  return s;
}

TEST(SettingsFormat, DefaultsAreWrittenInFileOrder) {
  const Settings s = default_settings();
  const std::u16string text = format_settings_text(s);
  EXPECT_EQ(text.substr(0, 18), u"[version]\r\n680\r\n[t");
  EXPECT_EQ(narrow(written_value(s, u"[title]")),
            "20,20,50,20,20,255,0,255,1,0,0,0,200,0,0,Tahoma,");
  EXPECT_EQ(narrow(written_value(s, u"[song]")),
            "20,100,0,100,14,220,220,200,0,0,0,0,240,0,0,Tahoma,");
  EXPECT_EQ(narrow(written_value(s, u"[genre]")),
            "20,20,120,190,20,200,200,200,0,0,0,0,-1,3,3,Tahoma,GENRE : ");
  EXPECT_EQ(narrow(written_value(s, u"[volume_L]")), "10,4,30,14,128,128,255,1,0,120,1,0,0");
  EXPECT_EQ(narrow(written_value(s, u"[volume_R]")), "5,4,30,14,128,128,255,1,0,110,1,0,0");
  EXPECT_EQ(narrow(written_value(s, u"[cover_art]")), "20,120,14,120,1,1,100,1,1,1");
  EXPECT_EQ(narrow(written_value(s, u"[path]")), "C:\\Users\\me\\Documents;");
  EXPECT_EQ(narrow(written_value(s, u"[to_iPod_text_path]")), "I:\\Notes");
  EXPECT_EQ(narrow(written_value(s, u"[bg_color]")), "0,0,0");
  EXPECT_EQ(narrow(written_value(s, u"[song_return_size]")), "20");
  for (const char16_t* key : {u"[URL]", u"[URL2]", u"[URL5]", u"[URL8]"}) {
    EXPECT_EQ(narrow(written_value(s, key)), "http://&a=[artist]&t=[title]");
  }
  EXPECT_EQ(narrow(written_value(s, u"[URL_name]")),
            "name1,name2,name3,name4,name5,name6,name7,name8");
  EXPECT_EQ(narrow(written_value(s, u"[URL_key]")), "114,0,0,0,0,0,0,0");
  EXPECT_EQ(narrow(written_value(s, u"[loop]")), "10");
  EXPECT_EQ(narrow(written_value(s, u"[scroll_up]")), "33");
  EXPECT_EQ(narrow(written_value(s, u"[scroll_down]")), "34");
  EXPECT_EQ(narrow(written_value(s, u"[edit_mode]")), "69");
  EXPECT_EQ(narrow(written_value(s, u"[save_key]")), "83");
  EXPECT_EQ(narrow(written_value(s, u"[ins_tag]")), "13");
  EXPECT_EQ(narrow(written_value(s, u"[save_ipod]")), "73");
  EXPECT_EQ(narrow(written_value(s, u"[wheel_scroll]")), "2");
  EXPECT_EQ(narrow(written_value(s, u"[beginner]")), "1");
  EXPECT_EQ(narrow(written_value(s, u"[current_line_color]")), "255,128,0");
  EXPECT_EQ(narrow(written_value(s, u"[info_font_color]")), "200,200,200");
  EXPECT_EQ(narrow(written_value(s, u"[message_font_color]")), "100,100,100");
  EXPECT_EQ(narrow(written_value(s, u"[mouse_on_font_color]")), "255,0,0");
  EXPECT_EQ(narrow(written_value(s, u"[visualizer]")), "1,60,2,40,6,5");
  EXPECT_EQ(narrow(written_value(s, u"[make_ipod_subfolder]")), "3");
  EXPECT_EQ(narrow(written_value(s, u"[default_artwork]")),
            "C:\\Users\\me\\Documents\\default.jpg");
  EXPECT_EQ(narrow(written_value(s, u"[load_btn_path]")), "C:\\Users\\me\\Documents");
  EXPECT_EQ(narrow(written_value(s, u"[song_bf_size]")), "512,256");
  EXPECT_EQ(narrow(written_value(s, u"[show_status]")), "1,1,1");
  EXPECT_EQ(narrow(written_value(s, u"[ver_check]")), "1");
  EXPECT_EQ(narrow(written_value(s, u"[ver_check_beta]")), "0");
  EXPECT_EQ(written_value(s, u"[delay]"), u"<missing>");

  // The keys after the URL templates follow the key table, not the order they are read in.
  const size_t url_key = text.find(u"[URL_key]");
  const size_t loop = text.find(u"[loop]");
  const size_t scroll_up = text.find(u"[scroll_up]");
  const size_t new_file = text.find(u"[new_file]");
  const size_t current_tab = text.find(u"[current_tab]");
  const size_t native_last = text.find(u"[input_timetag_digit]\r\n0\r\n");
  // The standard-form switch came later: it follows every native key, on by default.
  const size_t last = text.find(u"[standard_lrc]\r\n1\r\n");
  EXPECT_LT(url_key, loop);
  EXPECT_LT(loop, scroll_up);
  EXPECT_LT(current_tab, new_file);
  EXPECT_EQ(native_last + 26, last);
  EXPECT_EQ(last + 19, text.size());
}

TEST(SettingsFormat, EveryKeyReadsBackWhatWasWritten) {
  const Settings custom = custom_settings();
  const Settings reread = loaded(format_settings_text(custom));
  EXPECT_EQ(format_settings_text(reread), format_settings_text(custom));

  // Each row's value line differs from the default, so the equality above means every row
  // was read, not just left at its default.
  const Settings defaults = default_settings();
  for (const KeyRow& row : key_table()) {
    if (!row.write || row.key == u"[version]") continue;
    EXPECT_NE(written_value(custom, row.key), written_value(defaults, row.key)) << narrow(row.key);
  }
  EXPECT_EQ(reread.version, kSettingsVersion);
  EXPECT_EQ(reread.path_count, 3);
  EXPECT_EQ(reread.to_iPod_text_path, u"J:\\Notes, old");
  EXPECT_EQ(reread.URL_name[7], u"サイト7");
  EXPECT_EQ(reread.items[9]->label, u"ラベル 9");
}

TEST(SettingsFormat, FileImageHasMarkAndLittleEndianUnits) {
  Settings s = default_settings();
  s.URL_name[0] = u"あ";
  const std::vector<uint8_t> bytes = format_settings_file(s);
  ASSERT_GE(bytes.size(), 6u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  EXPECT_EQ(bytes[2], '[');
  EXPECT_EQ(bytes[3], 0);
  EXPECT_TRUE(has_unicode_mark(bytes));

  Settings reread = default_settings();
  s.loop = 77;
  read_settings_file(reread, format_settings_file(s));
  EXPECT_EQ(reread.loop, 77);
  EXPECT_EQ(reread.URL_name[0], u"あ");

  // The mark is skipped, not checked; an odd last byte is no character.
  std::vector<uint8_t> odd = {0,   0, '[', 0, 'l',  0, 'o', 0, 'o', 0,
                              'p', 0, ']', 0, '\n', 0, '9', 0, '\n'};
  Settings from_odd = default_settings();
  read_settings_file(from_odd, odd);
  EXPECT_EQ(from_odd.loop, 9);
  Settings from_tiny = default_settings();
  read_settings_file(from_tiny, std::vector<uint8_t>{0xFF});
  EXPECT_EQ(from_tiny.loop, 10);
  EXPECT_EQ(from_tiny.version, 0);
}

TEST(SettingsFormat, KeysMatchByPrefixAndMissingKeysKeepDefaults) {
  const Settings s = loaded(
      u"junk line\r\n"
      u"[loop] trailing words\r\n42\r\n"
      u"[wheel_scroll]\r\n"  // the value of a key is always the next line
      u"\r\n"
      u"[unknown_key]\r\n17\r\n"
      u"[scroll_up]\n65\n"  // LF alone ends a line too
      u"[beginner]");       // a key on the last line has no value
  EXPECT_EQ(s.loop, 42);
  EXPECT_EQ(s.wheel_scroll, 2);  // empty value: no token, default stays
  EXPECT_EQ(s.scroll_up, 65);
  EXPECT_EQ(s.beginner, 1);
  EXPECT_EQ(s.edit_mode, 69);
  EXPECT_EQ(s.version, 0);
  EXPECT_EQ(s.URL[3], u"http://&a=[artist]&t=[title]");

  // "[URL]" does not match "[URL2]", "[delay]" does not match "[delay_pause]".
  const Settings t = loaded(u"[URL2]\r\nsecond\r\n[delay_pause]\r\n5\r\n");
  EXPECT_EQ(t.URL[0], u"http://&a=[artist]&t=[title]");
  EXPECT_EQ(t.URL[1], u"second");
  EXPECT_EQ(t.delay_pause, 5);
}

TEST(SettingsFormat, LongBracketedLinesAreNoKeys) {
  // However long the text up to its first ']', a line is no key unless that text is one; both
  // readers look keys up the same way.
  const std::u16string long_name = u"[" + std::u16string(70, u'x') + u"]";
  const Settings s = loaded(long_name + u"\r\n5\r\n[loop]\r\n7\r\n[" +
                            std::u16string(200, u'l') + u"\r\n9\r\n[wheel_scroll]\r\n3");
  EXPECT_EQ(s.loop, 7);
  EXPECT_EQ(s.wheel_scroll, 3);
  // Rows read several times keep the file's order when other keys come between them.
  const Settings t = loaded(
      u"[URL4]\r\nfour\r\n[URL3]\r\na\r\n[loop]\r\n3\r\n[URL3]\r\nb\r\n[loop]\r\n4\r\n"
      u"[URL3]\r\nc\r\n");
  EXPECT_EQ(t.URL[2], u"c");
  EXPECT_EQ(t.URL[3], u"four");
  EXPECT_EQ(t.loop, 3);
}

TEST(SettingsFormat, FirstMatchWinsExceptForUrl3ToUrl8) {
  const Settings s = loaded(
      u"[loop]\r\n1\r\n[loop]\r\n2\r\n"
      u"[URL]\r\nfirst\r\n[URL]\r\nsecond\r\n"
      u"[URL2]\r\nfirst\r\n[URL2]\r\nsecond\r\n"
      u"[URL3]\r\nfirst\r\n[URL3]\r\nsecond\r\n"
      u"[URL8]\r\nfirst\r\n[URL8]\r\nsecond\r\n[URL8]\r\n\r\n");
  EXPECT_EQ(s.loop, 1);
  EXPECT_EQ(s.URL[0], u"first");
  EXPECT_EQ(s.URL[1], u"first");
  EXPECT_EQ(s.URL[2], u"second");
  EXPECT_EQ(s.URL[7], u"second");  // an empty last value leaves the one before it
}

TEST(SettingsFormat, DelayIsTheOlderNameOfDelayPause) {
  EXPECT_EQ(loaded(u"[delay]\r\n-250\r\n").delay_pause, -250);
  EXPECT_EQ(loaded(u"[delay_pause]\r\n300\r\n[delay]\r\n-250\r\n").delay_pause, 300);
  EXPECT_EQ(written_value(loaded(u"[delay]\r\n-250\r\n"), u"[delay_pause]"), u"-250");
}

TEST(SettingsFormat, NumbersClampsAndBytes) {
  const Settings s = loaded(
      u"[song_bf_size]\r\n100,5000\r\n"
      u"[loop]\r\n-5\r\n"
      u"[scroll_up]\r\n289\r\n"         // 0x121: the byte is 0x21
      u"[URL_key]\r\n370,-1,3\r\n"      // low 8 bits each; the rest keep defaults
      u"[visualizer]\r\n257,-70,x\r\n"  // only the first number is a byte
      u"[show_status]\r\n256,2,513\r\n"
      u"[auto_save]\r\n511\r\n"
      u"[dialog_ins_timetag]\r\n300,258\r\n"
      u"[beginner]\r\n-7\r\n"
      u"[wheel_scroll]\r\n  +12abc\r\n"  // leading blanks and a sign; the rest is ignored
      u"[delay_playstart]\r\n99999999999\r\n"
      u"[delay_nextstart]\r\n-99999999999\r\n"
      u"[make_ipod_subfolder]\r\nthree\r\n"
      u"[bg_color]\r\n300,-1\r\n");  // parts keep their low 8 bits; blue stays
  EXPECT_EQ(s.song_bf_size[0], 256);
  EXPECT_EQ(s.song_bf_size[1], 1024);
  EXPECT_EQ(s.loop, 0);
  EXPECT_EQ(s.scroll_up, 0x21);
  EXPECT_EQ(s.URL_key[0], 370 & 0xFF);
  EXPECT_EQ(s.URL_key[1], 0xFF);
  EXPECT_EQ(s.URL_key[2], 3);
  EXPECT_EQ(s.URL_key[3], 0);
  EXPECT_EQ(s.visualizer[0], 1);
  EXPECT_EQ(s.visualizer[1], -70);
  EXPECT_EQ(s.visualizer[2], 0);
  EXPECT_EQ(s.visualizer[3], 40);
  EXPECT_EQ(s.show_status[0], 0);
  EXPECT_EQ(s.show_status[1], 2);
  EXPECT_EQ(s.show_status[2], 1);
  EXPECT_EQ(s.auto_save[0], 0xFF);
  EXPECT_EQ(s.auto_save[1], 0);
  EXPECT_EQ(s.dialog_ins_timetag[0], 300);
  EXPECT_EQ(s.dialog_ins_timetag[1], 2);
  EXPECT_EQ(s.beginner, 1);
  EXPECT_EQ(s.wheel_scroll, 12);
  EXPECT_EQ(s.delay_playstart, 2147483647);
  EXPECT_EQ(s.delay_nextstart, -2147483647 - 1);
  EXPECT_EQ(s.make_ipod_subfolder, 0);
  EXPECT_EQ(s.bg_color, make_color(44, 255, 0));
  EXPECT_EQ(loaded(u"[beginner]\r\n0\r\n").beginner, 0);
  EXPECT_EQ(loaded(u"[song_bf_size]\r\n700\r\n").song_bf_size[1], 256);
}

TEST(SettingsFormat, IndexSettingsOutOfRangeReadAsFirstEntry) {
  const Settings s = loaded(u"[URL_set]\r\n8\r\n[current_tab]\r\n-1\r\n");
  EXPECT_EQ(s.URL_set, 0);
  EXPECT_EQ(s.current_tab, 0);
  const Settings t = loaded(u"[URL_set]\r\n7\r\n[current_tab]\r\n4\r\n");
  EXPECT_EQ(t.URL_set, 7);
  EXPECT_EQ(t.current_tab, 4);
}

TEST(SettingsFormat, LinePitchIsRaisedToTheLyricsFont) {
  const Settings s = loaded(
      u"[song]\r\n28,100,0,100,14\r\n"
      u"[song_return_size]\r\n12\r\n");
  EXPECT_EQ(s.song_return_size, 28);
  EXPECT_EQ(loaded(u"[song_return_size]\r\n35\r\n").song_return_size, 35);
  // Without the key the default pitch is raised too, so a save and a load agree.
  EXPECT_EQ(loaded(u"[song]\r\n40\r\n").song_return_size, 40);
  EXPECT_EQ(loaded(u"[song]\r\n-3\r\n[song_return_size]\r\n-9\r\n").song_return_size, 1);
}

TEST(SettingsFormat, TextValues) {
  const Settings s = loaded(
      u"[URL]\r\nhttp://a.example/?q=[title],and more\r\n"
      u"[to_iPod_text_path]\r\nK:\\Notes, with comma\r\n"
      u"[default_artwork]\r\nC:\\a.jpg,b\r\n"
      u"[URL_name]\r\n,,one,two\r\n");
  EXPECT_EQ(s.URL[0], u"http://a.example/?q=[title]");
  EXPECT_EQ(s.to_iPod_text_path, u"K:\\Notes, with comma");
  EXPECT_EQ(s.default_artwork, u"C:\\a.jpg");
  EXPECT_EQ(s.URL_name[0], u"one");
  EXPECT_EQ(s.URL_name[1], u"two");
  EXPECT_EQ(s.URL_name[2], u"name3");

  const std::u16string long_text(300, u'p');
  const Settings t =
      loaded(u"[default_artwork]\r\n" + long_text + u"\r\n[URL_name]\r\n" + long_text + u"\r\n");
  EXPECT_EQ(t.default_artwork.size(), 259u);
  EXPECT_EQ(t.URL_name[0].size(), 255u);

  // A value line is a C string: it ends at a NUL.
  const Settings u = loaded(std::u16string(u"[URL]\r\nab\0cd\r\n", 13));
  EXPECT_EQ(u.URL[0], u"ab");
}

TEST(SettingsFormat, SlotNamesAreWrittenSoTheyReadBackInPlace) {
  Settings s = default_settings();
  s.URL_name[0] = u"";
  s.URL_name[1] = u"a,b";
  s.URL_name[2] = u"line\r\nbreak";
  EXPECT_EQ(narrow(written_value(s, u"[URL_name]")), " ,a_b,line,name4,name5,name6,name7,name8");
  const Settings reread = loaded(format_settings_text(s));
  EXPECT_EQ(reread.URL_name[0], u" ");
  EXPECT_EQ(reread.URL_name[1], u"a_b");
  EXPECT_EQ(reread.URL_name[3], u"name4");

  // Eight names of the full 255 characters are longer than an ordinary line.
  for (auto& name : s.URL_name) name = std::u16string(255, u'n');
  const Settings full = loaded(format_settings_text(s));
  for (const auto& name : full.URL_name) EXPECT_EQ(name.size(), 255u);
}

TEST(SettingsFormat, LyricFolders) {
  const Settings s = loaded(u"[path]\r\nA;B\\;;C;D;E;F;G;H;I;J;\r\n");
  EXPECT_EQ(s.path_count, 8);
  EXPECT_EQ(s.path[1], u"B\\");
  EXPECT_EQ(s.path[7], u"H");
  EXPECT_EQ(narrow(written_value(s, u"[path]")), "A;B;C;D;E;F;G;H;");

  const std::u16string long_folder(261, u'f');
  const Settings t =
      loaded(u"[path]\r\n" + long_folder + u";" + std::u16string(260, u'g') + u"\r\n");
  EXPECT_EQ(t.path[0].size(), 228u);
  EXPECT_EQ(t.path[1].size(), 260u);
  EXPECT_EQ(t.path_count, 2);

  // Reading replaces every slot; none left means an empty value.
  const Settings none = loaded(u"[path]\r\n;;\r\n");
  EXPECT_EQ(none.path_count, 0);
  EXPECT_TRUE(none.path[0].empty());
  EXPECT_EQ(written_value(none, u"[path]"), u"");

  Settings gaps = default_settings();
  gaps.path = {u"C:\\\\", u"\\", u"D:", u"", u"E:"};
  EXPECT_EQ(narrow(written_value(gaps, u"[path]")), "C:;D:;");
}

TEST(SettingsFormat, ValuesThatLookLikeKeysStayValues) {
  const Settings s = loaded(
      u"[URL_name]\r\n[loop]\r\n"
      u"[loop]\r\n5\r\n");
  EXPECT_EQ(s.URL_name[0], u"[loop]");
  EXPECT_EQ(s.loop, 5);
}

TEST(SettingsFormat, OverlongLineIsCutAndItsRestIsNoLine) {
  // 1023 characters fill the reader's line; the rest of that line used to come back as a line
  // of its own, where it could match a key and steal the next key line as its value.
  const std::u16string head(1023, u'a');
  const Settings s =
      loaded(u"[URL]\r\n" + head + u"[wheel_scroll]\r\n" + u"[loop]\r\n5\r\n[URL2]\r\nb\r\n");
  EXPECT_EQ(s.URL[0], head);
  EXPECT_EQ(s.wheel_scroll, 2);
  EXPECT_EQ(s.loop, 5);
  EXPECT_EQ(s.URL[1], u"b");

  // A key line may be long too; only its beginning matters.
  const Settings t = loaded(u"[loop]" + std::u16string(5000, u'x') + u"\r\n7\r\n");
  EXPECT_EQ(t.loop, 7);

  const std::u16string folders = std::u16string(2000, u'x') + u";" + u"Z:\\last;";
  EXPECT_EQ(loaded(u"[path]\r\n" + folders + u"\r\n").path[1], u"Z:\\last");
}

TEST(SettingsFormat, SaveAfterLoadIsStable) {
  // Inputs that the writer has to normalise once; the second round must change nothing.
  const std::u16string inputs[] = {
      u"[title]\r\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,,label, with comma\r\n",
      u"[title]\r\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15," + std::u16string(130, u'f') + u",x\r\n",
      u"[path]\r\nC:\\\\\\;\\;D:\r\n[to_iPod_text_path]\r\nI:\\\\\r\n",
      u"[song]\r\n50\r\n[song_return_size]\r\n3\r\n",
      u"[title]\r\n1,2,3,4,5,6,7,8,9,10,11,12,7,14,15\r\n[artist]\r\n1,2,3,4,5,6,7,8,9,10,11,"
      u"12,7\r\n[album]\r\n1,2,3,4,5,6,7,8,9,10,11,12,2147483647\r\n",
  };
  for (const auto& input : inputs) {
    const std::u16string once = format_settings_text(loaded(input));
    EXPECT_EQ(format_settings_text(loaded(once)), once) << narrow(input);
  }
}

}  // namespace
}  // namespace sabla
