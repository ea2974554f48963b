#include "ui/options_services_win32.h"

#include <windows.h>
// Keep after windows.h, which they build on.
#include <commdlg.h>
#include <shellapi.h>
#include <htmlhelp.h>

#include <array>

#include "lyrics/lyric_document.h"
#include "settings/settings_store.h"
#include "sources/lyric_search.h"
#include "sources/song_change.h"
#include "sources/song_change_win32.h"
#include "state/plugin_state.h"
#include "ui/dialog_win32.h"
#include "web/search_launcher_win32.h"

namespace sabla {
namespace {

constexpr int32_t kFirstFilterName = 40056;
constexpr std::array<std::u16string_view, 5> kFilterPatterns{u"*.txt;*.lrc;*.kra", u"*.txt",
                                                             u"*.lrc", u"*.kra", u"*.*"};
constexpr DWORD kChosenNameUnits = 520;

// Name and pattern pairs, each ended by a NUL, the list by a second one.
std::u16string open_file_filter(const StringTable& strings) {
  std::u16string filter;
  for (size_t index = 0; index < kFilterPatterns.size(); ++index) {
    filter += strings.text(kFirstFilterName + static_cast<int32_t>(index));
    filter += u'\0';
    filter += kFilterPatterns[index];
    filter += u'\0';
  }
  return filter;
}

bool file_exists(const std::u16string& path) {
  return GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool Win32OptionsServices::load_song_lyrics(PluginState& state) {
  return run_song_change(state, player_);
}

bool Win32OptionsServices::save_document_lyrics(PluginState& state) {
  return save_panel_lyrics(state);
}

void Win32OptionsServices::find_lyric_file(PluginState& state) {
  sabla::find_lyric_file(song_names(state.song), state.settings, lyric_search_files(),
                         state.song.lyrics_path,
                         unknown_names(state.strings));
}

bool Win32OptionsServices::load_external_lyrics(PluginState& state) {
  LyricDocument* panel = lyrics_panel(state);
  if (!panel) return false;
  SystemSongChangeSources sources(state, player_);
  return sources.load_external_lyrics(state.song, *panel, state.song.lyrics_path);
}

bool Win32OptionsServices::launch_search(PluginState& state, std::u16string_view artist,
                                         std::u16string_view title, std::u16string_view album,
                                         int slot) {
  return sabla::launch_search(state, artist, title, album, slot);
}

bool Win32OptionsServices::save_settings(PluginState& state) { return sabla::save_settings(state); }

void Win32OptionsServices::show_help(void* owner, std::u16string_view help_file,
                                     std::optional<HelpPopup> popup) {
  const std::u16string path(help_file);
  // HTML Help behaves differently from system to system over a file that is not there; with
  // no file there is nothing to show anyway.
  const size_t topics = path.find(u"::");
  if (!file_exists(topics == std::u16string::npos ? path : path.substr(0, topics))) return;
  if (!popup) {
    HtmlHelpW(static_cast<HWND>(owner), wide(path), HH_DISPLAY_TOPIC, 0);
    return;
  }
  HH_POPUP text{};
  text.cbStruct = sizeof text;
  text.idString = static_cast<UINT>(popup->topic);
  text.pt = POINT{popup->x, popup->y};
  text.clrForeground = static_cast<COLORREF>(-1);
  text.clrBackground = static_cast<COLORREF>(-1);
  text.rcMargins = RECT{16, 8, 16, 8};
  HtmlHelpW(static_cast<HWND>(owner), wide(path), HH_DISPLAY_TEXT_POPUP,
            reinterpret_cast<DWORD_PTR>(&text));
}

std::optional<std::u16string> Win32OptionsServices::choose_lyric_file(PluginState& state,
                                                                       void* owner) {
  const std::u16string filter = open_file_filter(state.strings);
  const std::u16string folder = state.settings.load_btn_path;
  std::wstring name(kChosenNameUnits, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(owner);
  dialog.lpstrFilter = wide(filter);
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = kChosenNameUnits;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : wide(folder);
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  name.resize(wcsnlen(name.c_str(), name.size()));
  return std::u16string(reinterpret_cast<const char16_t*>(name.data()), name.size());
}

void Win32OptionsServices::open_file(std::u16string_view path) {
  const std::u16string file(path);
  ShellExecuteW(nullptr, L"open", wide(file), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace sabla
