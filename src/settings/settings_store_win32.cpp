#include <shlobj.h>

#include <memory>
#include <optional>
#include <vector>

#include "display/gdi_text_measurer_win32.h"
#include "lyrics/lyric_document.h"
#include "settings/atomic_file_win32.h"
#include "settings/code_page.h"
#include "settings/item_font_win32.h"
#include "settings/legacy_import.h"
#include "settings/settings_format.h"
#include "settings/settings_store.h"

namespace sabla {
namespace {

constexpr DWORD kMaxSettingsFileBytes = 16u << 20;  // far beyond any real settings file

std::u16string to_u16(const std::wstring& text) { return {text.begin(), text.end()}; }
std::wstring to_wide(const std::u16string& text) { return {text.begin(), text.end()}; }

std::wstring special_folder(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, TRUE)) return {};
  return buffer;
}

std::wstring module_settings_path() {
  HMODULE module = GetModuleHandleW(L"Sabla.dll");
  if (!module) {
    // Not loaded as Sabla.dll (tests link the code statically): use the module holding this code.
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&module_settings_path), &module);
  }
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(buffer, length);
  const size_t slash = path.find_last_of(L"\\/");
  path.erase(slash == std::wstring::npos ? 0 : slash + 1);
  return path + L"Sabla.ini";
}

std::wstring folder_of(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<uint8_t>> read_file_bytes(const std::wstring& path) {
  if (path.empty()) return std::nullopt;
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
  const DWORD wanted = static_cast<DWORD>(std::min<LONGLONG>(size.QuadPart, kMaxSettingsFileBytes));
  std::vector<uint8_t> bytes(wanted);
  DWORD read = 0;
  if (wanted > 0 && !ReadFile(file.get(), bytes.data(), wanted, &read, nullptr)) {
    return std::nullopt;
  }
  bytes.resize(read);
  return bytes;
}

}  // namespace

SettingsLocation system_settings_location() {
  SettingsLocation location;
  const std::wstring app_data = special_folder(CSIDL_APPDATA);
  if (!app_data.empty()) location.file = app_data + L"\\Sabla\\Sabla.ini";
  location.fallback_file = module_settings_path();
  location.documents_folder = special_folder(CSIDL_PERSONAL);
  return location;
}

void load_settings(PluginState& state, HDC dc) {
  load_settings(state, system_settings_location(), dc);
}

void load_settings(PluginState& state, const SettingsLocation& location, HDC dc) {
  Settings& s = state.settings;
  reset_settings(s, SettingsDefaults{to_u16(location.documents_folder), icon_title_face_name()});
  s.file_path = to_u16(location.file);

  std::optional<std::vector<uint8_t>> file = read_file_bytes(location.file);
  if (file && !has_unicode_mark(*file)) {
    const auto code_page = make_ansi_code_page();
    import_legacy_settings(s, *file, *code_page);
    save_settings(state);
    // Read on from what was written, so a failed save still gives the converted values.
    file = format_settings_file(s);
  } else if (!file) {
    file = read_file_bytes(location.fallback_file);
  }
  if (file) read_settings_file(s, *file);

  finish_settings_read(s);
  build_item_fonts(s.items, dc);
  // After the fonts, so the cursor marker is measured in the panel's own font.
  if (LyricDocument* lyrics = as_lyric_document(s.items[kLyricsItem].get())) {
    lyrics->set_line_spacing(s.song_return_size);
    lyrics->set_standard_lrc(s.standard_lrc != 0);
    lyrics->init(s.song_bf_size[1], s.song_bf_size[0],
                 dc ? std::make_unique<GdiTextMeasurer>(dc, lyrics->font) : nullptr);
  }
  if (s.version < kSettingsVersion) {
    s.file_path = to_u16(location.file);
    save_settings(state);
  }
  s.file_path = to_u16(location.file);
}

void reload_settings(PluginState& state, HDC dc) {
  reload_settings(state, system_settings_location(), dc);
}

void reload_settings(PluginState& state, const SettingsLocation& location, HDC dc) {
  const Settings& s = state.settings;
  const int32_t current_tab = s.current_tab;
  const uint8_t input_timetag_digit = s.input_timetag_digit;
  const std::array<int32_t, 2> dialog_ins_timetag = s.dialog_ins_timetag;
  load_settings(state, location, dc);
  state.settings.current_tab = current_tab;
  state.settings.input_timetag_digit = input_timetag_digit;
  state.settings.dialog_ins_timetag = dialog_ins_timetag;
  save_settings(state);
}

bool save_settings(PluginState& state) {
  Settings& s = state.settings;
  std::wstring path = to_wide(s.file_path);
  if (path.empty()) path = system_settings_location().file;
  if (path.empty()) return false;
  const std::wstring folder = folder_of(path);
  if (!folder.empty()) CreateDirectoryW(folder.c_str(), nullptr);
  return write_file_atomically(path, format_settings_file(s));
}

}  // namespace sabla
