#include "ui/basic_settings_values.h"

#include "settings/settings_text.h"

namespace sabla {
namespace {

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool is_blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\x3000'; }

std::u16string_view trim_front(std::u16string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  return text;
}

// Blanks and "\" at the end: Windows drops trailing blanks from a path, and the file keeps
// folders without their final "\".
std::u16string_view trim_folder_end(std::u16string_view text) {
  while (!text.empty() && (is_blank(text.back()) || text.back() == u'\\')) text.remove_suffix(1);
  return text;
}

bool is_web_address(std::u16string_view text) { return text.substr(0, 5) == u"http:"; }

}  // namespace

std::u16string_view cut_units(std::u16string_view text, size_t max_units) {
  if (text.size() <= max_units) return text;
  size_t size = max_units;
  if (size > 0 && is_high_surrogate(text[size - 1])) --size;
  return text.substr(0, size);
}

std::u16string slot_name_value(std::u16string_view text) {
  std::u16string name(cut_units(single_line(text), kSlotNameChars));
  for (char16_t& c : name) {
    if (c == u',') c = u'_';
  }
  return name;
}

std::u16string slot_template_value(std::u16string_view text) {
  const std::u16string_view line = single_line(text);
  const bool web = is_web_address(line);
  std::u16string out;
  for (size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u',') {
      if (!web || out.size() + 3 > kSlotTemplateChars) break;
      out += u"%2C";
      continue;
    }
    const size_t units = is_high_surrogate(c) && i + 1 < line.size() ? 2 : 1;
    if (out.size() + units > kSlotTemplateChars) break;
    out.append(line.substr(i, units));
    i += units - 1;
  }
  // An empty value line reads as the default template; a blank, like the empty template, is
  // neither an address nor a program, so the slot stays unusable after a reload too.
  if (out.empty()) return u" ";
  return out;
}

std::array<std::u16string, kLyricFolderCount> folder_list_value(std::u16string_view text) {
  std::array<std::u16string, kLyricFolderCount> folders;
  TokenReader pieces(cut_units(text, kFolderListChars), u";\r\n");
  size_t count = 0;
  while (count < folders.size()) {
    const auto piece = pieces.next();
    if (!piece) break;
    const std::u16string_view folder =
        trim_folder_end(cut_units(trim_front(trim_folder_end(*piece)), kLyricFolderChars));
    if (!folder.empty()) folders[count++] = std::u16string(folder);
  }
  return folders;
}

std::u16string folder_list_text(const std::array<std::u16string, kLyricFolderCount>& folders) {
  std::u16string text;
  for (const std::u16string& folder : folders) {
    if (folder.empty()) break;
    text += folder;
    text += u';';
  }
  return text;
}

std::u16string ipod_folder_value(std::u16string_view text) {
  std::u16string_view folder = cut_units(single_line(text), kIpodFolderChars);
  while (!folder.empty() && folder.back() == u'\\') folder.remove_suffix(1);
  return std::u16string(folder);
}

int32_t wheel_lines_value(std::u16string_view text) {
  std::u16string ascii(text);
  for (char16_t& c : ascii) {
    if (c >= u'\xFF10' && c <= u'\xFF19')
      c = static_cast<char16_t>(u'0' + (c - u'\xFF10'));
    else if (c == u'\xFF0D' || c == u'\x2212')
      c = u'-';
    else if (c == u'\xFF0B')
      c = u'+';
    else if (c == u'\x3000')
      c = u' ';
  }
  return parse_number(ascii);
}

int32_t encoding_value(bool sjis, bool euc, bool utf8) {
  if (sjis) return 0;
  if (euc) return 1;
  if (utf8) return 2;
  return 0;
}

int encoding_button(int32_t sjis_euc) { return sjis_euc == 1 || sjis_euc == 2 ? sjis_euc : 0; }

uint8_t key_setting_value(int key_code) {
  return static_cast<uint8_t>(static_cast<unsigned>(key_code) & 0xFFu);
}

bool folder_choice_needs_subfolders(int32_t choice) { return choice == 2 || choice == 3; }

}  // namespace sabla
