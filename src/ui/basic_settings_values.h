#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace sabla {

// What the basic settings page stores for what the user typed. Each value is already in the
// form the settings file keeps, so that what the page shows, what is saved and what the next
// load reads are the same.

inline constexpr size_t kSlotNameChars = 255;
inline constexpr size_t kSlotTemplateChars = 1023;
inline constexpr size_t kFolderListChars = 1023;  // the whole ";"-separated field
inline constexpr size_t kLyricFolderChars = 259;  // one lyric folder, a Windows path
inline constexpr size_t kIpodFolderChars = 1023;

// The first `max_units` UTF-16 units of `text`, one fewer when the cut would split a surrogate
// pair.
std::u16string_view cut_units(std::u16string_view text, size_t max_units);

// A slot name: one line of at most 255 characters. The file separates the names with ",", so
// a "," becomes "_" here rather than silently when saving.
std::u16string slot_name_value(std::u16string_view text);

// A slot template: one line of at most 1,023 characters. The file reads a template up to its
// first ",": in a web address the "," is kept as its escape "%2C", which the site reads the same;
// a program command, where no escape exists, keeps what the file can hold, the text before it.
// A cleared template is kept as " ": the file has no empty template, it would read the default.
std::u16string slot_template_value(std::u16string_view text);

// The lyric folders of the ";"-separated field: blank and empty pieces skipped, surrounding
// blanks and the trailing "\" removed, each cut to a Windows path, at most eight; the rest empty.
std::array<std::u16string, kLyricFolderCount> folder_list_value(std::u16string_view text);
// The field for `folders`: each folder followed by ";", up to the first empty one.
std::u16string folder_list_text(const std::array<std::u16string, kLyricFolderCount>& folders);

// The iPod notes folder: one line of at most 1,023 characters without the trailing "\".
std::u16string ipod_folder_value(std::u16string_view text);

// Lines per wheel step as typed: the decimal value the settings file would read (text that is
// no number gives 0, huge values saturate); full-width digits count as digits.
int32_t wheel_lines_value(std::u16string_view text);

// The slot encoding for the radio buttons SJIS, EUC and UTF-8: the first one checked, SJIS
// when none is; and the button that shows a stored value (anything unknown shows as SJIS).
int32_t encoding_value(bool sjis, bool euc, bool utf8);
int encoding_button(int32_t sjis_euc);

// A key code as the one-byte setting keeps it: the "no such name" answer 256 becomes 0.
uint8_t key_setting_value(int key_code);

// The folder choices that place new files in artist folders, which only a subfolder search
// finds again.
bool folder_choice_needs_subfolders(int32_t choice);

}  // namespace sabla
