#include "ui/key_help_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_format.h"
#include "state/key_names.h"

namespace sabla {
namespace {

std::string narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      char code[12];
      std::snprintf(code, sizeof code, "<U+%04X>", static_cast<unsigned>(c));
      out += code;
    }
  }
  return out;
}

// The column line by line, without the CR LF of each.
std::vector<std::string> lines_of(const std::u16string& column) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = column.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
    lines.push_back(narrow(std::u16string_view(column).substr(start, end - start)));
  }
  EXPECT_EQ(start, column.size()) << "the column ends in a line break";
  return lines;
}

struct KeyCase {
  const char* name;
  int32_t without_shift;  // second value of dialog_ins_timetag
  uint8_t ins_tag, edit_mode, save_key, save_ipod, scroll_up, scroll_down;
  std::vector<std::string> lines;  // one per label, headings empty
};

const std::vector<KeyCase> kCases = {
    {"defaults: Shift needed",
     0,
     0x0D,
     'E',
     'S',
     'I',
     0x21,
     0x22,
     {"", "[Shift]+[Enter]", "[Shift]+[Bs]", "[Shift]+[Del]", "[PgUp][PgDn]", "", "[F5]", "[E]",
      "[S]", "[I]", "[PgUp][PgDn][Wheel]", "[OPTION]", "[SHIFT]+[?]", "[ESC][WheelClick]", "",
      "[PgUp][PgDn][Wheel]", "[Enter]", "[BS]", "[DEL]"}},
    {"Shift not needed",
     1,
     0x0D,
     'E',
     'S',
     'I',
     0x21,
     0x22,
     {"", "[Enter]", "[Bs]", "[Del]", "[PgUp][PgDn]", "", "[F5]", "[E]", "[S]", "[I]",
      "[PgUp][PgDn][Wheel]", "[OPTION]", "[SHIFT]+[?]", "[ESC][WheelClick]", "",
      "[PgUp][PgDn][Wheel]", "[Enter]", "[BS]", "[DEL]"}},
    // Any value but 1 counts as Shift needed, as the edit box itself reads it.
    {"rebound keys, Shift needed",
     2,
     0x20,
     0x71,
     '0',
     0x6B,
     0x26,
     0x28,
     {"", "[Shift]+[SPACE]", "[Shift]+[Bs]", "[Shift]+[Del]", "[PgUp][PgDn]", "", "[F5]", "[F2]",
      "[0]", "[Num+]", "[<U+2191>][<U+2193>][Wheel]", "[OPTION]", "[SHIFT]+[?]",
      "[ESC][WheelClick]", "", "[<U+2191>][<U+2193>][Wheel]", "[SPACE]", "[BS]", "[DEL]"}},
};

TEST(KeyHelpText, EachLineShowsTheKeysConfiguredForItsLabel) {
  KeyNames names;
  names.build_key_names();
  for (const KeyCase& c : kCases) {
    SCOPED_TRACE(c.name);
    Settings settings;
    reset_settings(settings, SettingsDefaults{u"C:\\Documents", u"MS UI Gothic"});
    settings.dialog_ins_timetag[1] = c.without_shift;
    settings.ins_tag = c.ins_tag;
    settings.edit_mode = c.edit_mode;
    settings.save_key = c.save_key;
    settings.save_ipod = c.save_ipod;
    settings.scroll_up = c.scroll_up;
    settings.scroll_down = c.scroll_down;
    const std::u16string column = key_help_text(settings, names);
    EXPECT_LE(column.size(), kKeyHelpMaxUnits);
    EXPECT_EQ(lines_of(column), c.lines);
  }
}

TEST(KeyHelpText, TheDefaultKeysOfTheSettingsFileAreThoseShown) {
  KeyNames names;
  names.build_key_names();
  Settings settings;
  reset_settings(settings, SettingsDefaults{u"C:\\Documents", u"MS UI Gothic"});
  EXPECT_EQ(lines_of(key_help_text(settings, names)), kCases[0].lines);
}

}  // namespace
}  // namespace sabla
