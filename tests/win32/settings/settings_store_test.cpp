#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <string_view>

#include "settings/atomic_file_win32.h"
#include "settings/code_page.h"
#include "settings/item_font_win32.h"
#include "settings/settings_format.h"
#include "temp_folder.h"

namespace sabla {
namespace {

using test::TempFolder;

std::u16string u16(const std::wstring& text) { return {text.begin(), text.end()}; }

// Settings under a temporary folder; the application-data folder exists, its Sabla folder not.
struct Place {
  TempFolder temp;
  SettingsLocation where;
  Place() {
    CreateDirectoryW((temp / L"AppData").c_str(), nullptr);
    CreateDirectoryW((temp / L"module").c_str(), nullptr);
    where = {temp / L"AppData\\Sabla\\Sabla.ini", temp / L"module\\Sabla.ini", temp / L"Documents"};
  }
};

std::vector<uint8_t> utf16_file(std::u16string_view text) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

std::u16string text_of(const std::vector<uint8_t>& bytes) {
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  }
  return text;
}

TEST(SettingsStore, FirstRunWritesCompleteDefaults) {
  Place place;
  PluginState state;
  load_settings(state, place.where);

  const std::vector<uint8_t> bytes = test::read_bytes(place.where.file);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  EXPECT_EQ(bytes, format_settings_file(state.settings));
  const std::u16string text = text_of(bytes);
  EXPECT_EQ(text.substr(0, 16), u"[version]\r\n680\r\n");
  EXPECT_NE(text.find(u"[URL8]\r\nhttp://&a=[artist]&t=[title]\r\n"), std::u16string::npos);

  const Settings& s = state.settings;
  EXPECT_EQ(s.version, 0);  // nothing was read
  EXPECT_EQ(s.loop, 10);
  EXPECT_EQ(s.path[0], u16(place.where.documents_folder));
  EXPECT_EQ(s.default_artwork, u16(place.where.documents_folder) + u"\\default.jpg");
  EXPECT_EQ(s.file_path, u16(place.where.file));
  EXPECT_EQ(s.items[0]->face_name, icon_title_face_name());
  EXPECT_TRUE(s.items[0]->font);
  EXPECT_EQ(TempFolder::list(place.temp / L"AppData\\Sabla"),
            std::vector<std::wstring>{L"Sabla.ini"});
}

TEST(SettingsStore, SavedChangesComeBackOnTheNextLoad) {
  Place place;
  PluginState state;
  load_settings(state, place.where);
  state.settings.loop = 33;
  state.settings.URL_name[2] = u"歌詞検索";
  state.settings.items[4]->draw_order = 210;  // same as the artist: renumbered on loading
  ASSERT_TRUE(save_settings(state));

  PluginState again;
  load_settings(again, place.where);
  EXPECT_EQ(again.settings.version, kSettingsVersion);
  EXPECT_EQ(again.settings.loop, 33);
  EXPECT_EQ(again.settings.URL_name[2], u"歌詞検索");
  EXPECT_EQ(again.settings.items[1]->draw_order, 210);
  EXPECT_EQ(again.settings.items[4]->draw_order, 231);
  EXPECT_EQ(again.settings.drawing_order.back(), 4);
}

TEST(SettingsStore, ReloadDropsUnsavedChangesButKeepsTheEditorChoices) {
  Place place;
  PluginState state;
  load_settings(state, place.where);
  Settings& s = state.settings;
  s.wheel_scroll = 9;
  s.current_tab = 3;
  s.input_timetag_digit = 1;
  s.dialog_ins_timetag = {1, 1};
  reload_settings(state, place.where);
  EXPECT_EQ(s.wheel_scroll, 2);
  EXPECT_EQ(s.current_tab, 3);
  EXPECT_EQ(s.input_timetag_digit, 1);
  EXPECT_EQ(s.dialog_ins_timetag, (std::array<int32_t, 2>{1, 1}));

  PluginState again;
  load_settings(again, place.where);
  EXPECT_EQ(again.settings.current_tab, 3);
  EXPECT_EQ(again.settings.wheel_scroll, 2);
}

TEST(SettingsStore, OnlyOlderVersionsAreRewrittenOnLoading) {
  Place place;
  CreateDirectoryW((place.temp / L"AppData\\Sabla").c_str(), nullptr);
  const std::vector<uint8_t> current = utf16_file(u"[version]\r\n680\r\n[loop]\r\n20\r\njunk\r\n");
  ASSERT_TRUE(test::write_bytes(place.where.file, current));
  PluginState state;
  load_settings(state, place.where);
  EXPECT_EQ(state.settings.loop, 20);
  EXPECT_EQ(test::read_bytes(place.where.file), current);

  const std::vector<uint8_t> older = utf16_file(u"[version]\r\n679\r\n[loop]\r\n20\r\njunk\r\n");
  ASSERT_TRUE(test::write_bytes(place.where.file, older));
  load_settings(state, place.where);
  EXPECT_EQ(state.settings.version, 679);
  EXPECT_EQ(test::read_bytes(place.where.file), format_settings_file(state.settings));
  EXPECT_EQ(text_of(test::read_bytes(place.where.file)).find(u"junk"), std::u16string::npos);
}

TEST(SettingsStore, ModuleFolderFileIsReadWhenTheUserFileIsMissing) {
  Place place;
  // The fallback is read without the mark test: any first two bytes are skipped.
  std::vector<uint8_t> fallback = utf16_file(u"[version]\r\n680\r\n[wheel_scroll]\r\n6\r\n");
  fallback[0] = 'x';
  fallback[1] = 'y';
  ASSERT_TRUE(test::write_bytes(place.where.fallback_file, fallback));
  PluginState state;
  load_settings(state, place.where);
  EXPECT_EQ(state.settings.wheel_scroll, 6);
  EXPECT_EQ(state.settings.file_path, u16(place.where.file));
  EXPECT_FALSE(test::exists(place.where.file));  // version 680: nothing to rewrite

  // The next save goes to the application-data path, never to the module folder.
  ASSERT_TRUE(save_settings(state));
  EXPECT_TRUE(test::exists(place.where.file));
  EXPECT_EQ(test::read_bytes(place.where.fallback_file), fallback);
}

TEST(SettingsStore, LegacyFileIsConvertedOnceUnderCodePage932) {
  ASSERT_EQ(GetACP(), 932u) << "run under LC_ALL=ja_JP.UTF-8";
  const auto code_page = make_ansi_code_page();
  EXPECT_EQ(code_page->decode("\x89\xCC\x8E\x8C"), u"歌詞");
  // The same answers as the native decoder for bytes that start no character.
  EXPECT_EQ(code_page->decode("\x81\x20"
                              "b"),
            u"\u30FB"
            "b");
  EXPECT_EQ(code_page->decode("\x80\xA0\xFD\xFF"), u"\u0080\uF8F0\uF8F1\uF8F3");
  EXPECT_EQ(code_page->decode("a\x81"), u"a\u30FB");

  Place place;
  CreateDirectoryW((place.temp / L"AppData\\Sabla").c_str(), nullptr);
  const std::string old_file =
      "[version]\r\n500\r\n"
      "[title]\r\n20,20,50,20,20,255,0,255,1,0,0,0,200,0,0,"
      "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E\r\n"
      "[URL_name]\r\n\x89\xCC\x8E\x8C,b\r\n"
      "[path]\r\nC:\\\x95\x5C;\r\n"
      "[URL]\r\nhttp://x/%s\r\n";
  ASSERT_TRUE(test::write_bytes(place.where.file, {old_file.begin(), old_file.end()}));

  PluginState state;
  load_settings(state, place.where);
  const Settings& s = state.settings;
  EXPECT_EQ(s.items[0]->face_name, u"Microsoft Sans Serif");
  EXPECT_EQ(s.URL_name[0], u"歌詞");
  EXPECT_EQ(s.path[0], u"C:\\表");
  EXPECT_EQ(s.URL[0], u"http://x/%s");
  EXPECT_EQ(s.version, kSettingsVersion);  // read back from the converted file

  const std::vector<uint8_t> converted = test::read_bytes(place.where.file);
  EXPECT_EQ(converted, format_settings_file(s));
  EXPECT_EQ(text_of(converted).substr(0, 16), u"[version]\r\n680\r\n");

  PluginState again;
  load_settings(again, place.where);
  EXPECT_EQ(test::read_bytes(place.where.file), converted);
  EXPECT_EQ(again.settings.URL_name[0], u"歌詞");
}

TEST(SettingsStore, FailedSaveKeepsThePreviousFile) {
  Place place;
  PluginState state;
  load_settings(state, place.where);
  const std::vector<uint8_t> before = test::read_bytes(place.where.file);
  ASSERT_TRUE(SetFileAttributesW(place.where.file.c_str(), FILE_ATTRIBUTE_READONLY));
  state.settings.loop = 99;
  EXPECT_FALSE(save_settings(state));
  EXPECT_EQ(test::read_bytes(place.where.file), before);
  EXPECT_EQ(TempFolder::list(place.temp / L"AppData\\Sabla"),
            std::vector<std::wstring>{L"Sabla.ini"});

  // A load over the read-only file still works, and its failed save changes nothing.
  load_settings(state, place.where);
  EXPECT_EQ(state.settings.loop, 10);
}

}  // namespace
}  // namespace sabla
