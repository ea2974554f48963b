#include "ui/basic_settings_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_format.h"
#include "settings/settings_keys.h"

namespace sabla {
namespace {

std::string narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::u16string repeat(char16_t c, size_t count) { return std::u16string(count, c); }

using Folders = std::array<std::u16string, kLyricFolderCount>;

// What a save followed by a load gives back.
Settings round_trip(const Settings& saved) {
  Settings loaded;
  reset_settings(loaded, SettingsDefaults{});
  read_settings_text(loaded, format_settings_text(saved));
  return loaded;
}

Settings defaults() {
  Settings s;
  reset_settings(s, SettingsDefaults{});
  return s;
}

TEST(BasicSettingsValues, FolderListSkipsEmptyPiecesAndCleansEachFolder) {
  const std::u16string long_folder = u"C:\\" + repeat(u'a', 300);
  struct Case {
    std::u16string typed;
    std::vector<std::u16string> folders;
  };
  const std::vector<Case> cases = {
      {u"C:\\lyrics;;D:\\more\\;", {u"C:\\lyrics", u"D:\\more"}},
      {u";;;", {}},
      {u"", {}},
      {u" C:\\a ; \\ ;\\\\;E:\\b\\\\", {u"C:\\a", u"E:\\b"}},
      {u"C:\\x\r\nD:\\y", {u"C:\\x", u"D:\\y"}},
      {u"1;2;3;4;5;6;7;8;9;10", {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"}},
      // Cut to a Windows path; the cut must not leave a "\" or a blank at the end.
      {long_folder + u";F:\\", {long_folder.substr(0, 259), u"F:"}},
      {u"C:\\" + repeat(u'b', 255) + u"\\c", {u"C:\\" + repeat(u'b', 255)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(narrow(c.typed.substr(0, 60)));
    const Folders folders = folder_list_value(c.typed);
    for (size_t i = 0; i < folders.size(); ++i) {
      EXPECT_EQ(folders[i], i < c.folders.size() ? c.folders[i] : u"") << i;
    }
  }
}

TEST(BasicSettingsValues, FolderCutKeepsSurrogatePairsWhole) {
  // 258 units, then a pair: the cut at 259 would split it.
  const std::u16string folder = u"C:\\" + repeat(u'x', 255) + u"\xD83C\xDFB5";
  EXPECT_EQ(folder_list_value(folder)[0], folder.substr(0, 258));
}

TEST(BasicSettingsValues, SlotValuesFitOneLineOfTheFile) {
  EXPECT_EQ(slot_name_value(u"a,b,c"), u"a_b_c");
  EXPECT_EQ(slot_name_value(u"first\r\nsecond"), u"first");
  EXPECT_EQ(slot_name_value(repeat(u'n', 400)).size(), 255u);

  EXPECT_EQ(slot_template_value(u"http://x/?q=[title],[artist]"),
            u"http://x/?q=[title]%2C[artist]");
  EXPECT_EQ(slot_template_value(u"C:\\tool.exe a,b [title]"), u"C:\\tool.exe a");
  EXPECT_EQ(slot_template_value(u"http://x\nsecond"), u"http://x");
  EXPECT_EQ(slot_template_value(repeat(u'h', 2000)).size(), 1023u);
  EXPECT_EQ(slot_template_value(u""), u" ");
  EXPECT_EQ(slot_template_value(u",http://x"), u" ");
  // An escape that would not fit whole ends the template before it.
  const std::u16string near_end = u"http:" + repeat(u'/', 1016) + u",x";
  EXPECT_EQ(slot_template_value(near_end), u"http:" + repeat(u'/', 1016));
}

TEST(BasicSettingsValues, WheelLinesAreTheNumberTyped) {
  const std::vector<std::pair<std::u16string, int32_t>> cases = {
      {u"3", 3},
      {u"12abc", 12},
      {u"abc", 0},
      {u"", 0},
      {u"-4", -4},
      {u"  7", 7},
      {u"99999999999", 2147483647},
      {u"-99999999999", -2147483647 - 1},
      {u"\xFF15", 5},
      {u"\xFF11\xFF10", 10},
  };
  for (const auto& [typed, lines] : cases) {
    EXPECT_EQ(wheel_lines_value(typed), lines) << narrow(typed);
  }
}

TEST(BasicSettingsValues, EncodingsKeysAndFolderChoices) {
  EXPECT_EQ(encoding_value(true, false, false), 0);
  EXPECT_EQ(encoding_value(false, true, false), 1);
  EXPECT_EQ(encoding_value(false, false, true), 2);
  EXPECT_EQ(encoding_value(false, true, true), 1);
  EXPECT_EQ(encoding_value(false, false, false), 0);
  for (const auto& [stored, button] :
       std::vector<std::pair<int32_t, int>>{{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}}) {
    EXPECT_EQ(encoding_button(stored), button) << stored;
  }
  EXPECT_EQ(key_setting_value(0x72), 0x72);
  EXPECT_EQ(key_setting_value(256), 0);
  EXPECT_FALSE(folder_choice_needs_subfolders(1));
  EXPECT_TRUE(folder_choice_needs_subfolders(2));
  EXPECT_TRUE(folder_choice_needs_subfolders(3));
  EXPECT_FALSE(folder_choice_needs_subfolders(4));
}

// Whatever was typed, the stored value is what the next load reads.
TEST(BasicSettingsValues, StoredValuesComeBackUnchangedFromTheFile) {
  const std::vector<std::u16string> typed = {
      u"http://a.example/?t=[title],x",
      u"C:\\p.exe \"x,y\" [title]",
      u"C:\\" + repeat(u'L', 600) + u";;D:\\music\\;" + repeat(u'z', 3000),
      u"I:\\Notes\\\\",
      u"name, with, commas",
      u"",
      u"\r\n",
  };
  for (const std::u16string& text : typed) {
    SCOPED_TRACE(narrow(text.substr(0, 40)));
    Settings s = defaults();
    s.URL[2] = slot_template_value(text);
    s.URL_name[4] = slot_name_value(text);
    s.path = folder_list_value(text);
    s.to_iPod_text_path = ipod_folder_value(text);
    s.wheel_scroll = wheel_lines_value(text + u"99999999999");
    const Settings loaded = round_trip(s);
    EXPECT_EQ(loaded.URL[2], s.URL[2]);
    // An empty name is the one the file keeps as " ".
    if (!s.URL_name[4].empty()) {
      EXPECT_EQ(loaded.URL_name[4], s.URL_name[4]);
    }
    EXPECT_EQ(loaded.to_iPod_text_path, s.to_iPod_text_path);
    EXPECT_EQ(loaded.wheel_scroll, s.wheel_scroll);
    EXPECT_EQ(loaded.path, s.path);
  }
}

}  // namespace
}  // namespace sabla
