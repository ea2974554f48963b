#include "ui/options_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>

#include "lyrics/lyric_document.h"
#include "sources/text_file_win32.h"
#include "ui/dialog_keys_hook_win32.h"
#include "ui/editor_actions_win32.h"
#include "ui/options_help.h"
#include "ui/resources/resource.h"

namespace sabla {
namespace {

constexpr int32_t kFirstTabLabel = 40000;
constexpr int32_t kSaveFailed = 40039;
constexpr int32_t kDiscardShown = 40031;
constexpr int32_t kReadFailed = 40036;
constexpr std::u16string_view kSavedStatus = u"Saved lrc";
constexpr int32_t kStatusFrames = 50;
constexpr UINT kDroppedNameMax = 1024;
constexpr wchar_t kCaption[] = L"Sabla";

const std::array<int, 4> kFrameButtons{IDOK, IDCANCEL, IDC_APPLY, IDC_HELP_BUTTON};

bool is_lyric_file_name(std::u16string_view name) {
  const size_t dot = name.find_last_of(u'.');
  if (dot == std::u16string_view::npos) return false;
  std::u16string extension(name.substr(dot));
  for (char16_t& c : extension) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return extension == u".txt" || extension == u".lrc" || extension == u".kra";
}

}  // namespace

OptionsWindow::OptionsWindow(PluginState& state, OptionsServices& services)
    : state_(state),
      services_(services),
      module_(static_cast<HINSTANCE>(state.host.module_handle)),
      in_song_(*this, EditorKind::kInSong),
      external_(*this, EditorKind::kExternal),
      basic_(*this),
      design_(*this),
      about_(*this) {}

HWND OptionsWindow::open(PluginState& state, OptionsServices& services, HWND owner) {
  // The window owns itself from here: on_destroyed deletes it.
  auto* window = new OptionsWindow(state, services);
  bool initialised = false;
  window->init_seen_ = &initialised;
  const HWND handle = window->create(window->module_, IDD_OPTIONS, owner);
  // A window that got as far as its initialisation deletes the object when it goes.
  if (!initialised) delete window;
  else if (handle) window->init_seen_ = nullptr;
  return handle;
}

bool OptionsWindow::on_init() {
  if (init_seen_) *init_seen_ = true;
  install_dialog_keys_hook(state_);
  state_.requests.delete_file_request = false;
  if (new_host()) ShowWindow(item(IDC_OLD_HOST_HINT), SW_HIDE);
  state_.options.options_window = window();
  state_.options.initialised = false;
  save_pending_timetags();
  services_.find_lyric_file(state_);
  state_.options.edited_song = song_loaded() ? state_.song : SongInfo{};
  state_.options.options_open = true;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);

  const HWND tabs = item(IDC_OPTIONS_TABS);
  for (int index = 0; index < kOptionsPageCount; ++index) {
    std::u16string label = text(kFirstTabLabel + index);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(wide(label));
    SendMessageW(tabs, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&tab));
  }
  create_pages();
  state_.options.editors = this;
  refresh_editor_state(*this);
  place_pages();
  const int tab = std::clamp(state_.settings.current_tab, 0, kOptionsPageCount - 1);
  SendMessageW(tabs, TCM_SETCURSEL, tab, 0);
  show_page(tab);
  SetFocus(tabs);
  state_.options.initialised = true;
  return false;  // the focus is set
}

// Timetags stamped in the display's edit mode would be lost to the editors, which read the file.
void OptionsWindow::save_pending_timetags() {
  if (!state_.sources.external_lyrics_found || !state_.requests.lyrics_modified) return;
  if (services_.save_document_lyrics(state_)) {
    state_.status.text = kSavedStatus;
    state_.status.frames = kStatusFrames;
    state_.requests.lyrics_modified = false;
  } else {
    // The window itself is not on screen yet: the visualizer owns the message.
    const std::u16string message = text(kSaveFailed);
    MessageBoxW(static_cast<HWND>(state_.window.host_window), wide(message), kCaption,
                MB_OK | MB_ICONWARNING);
  }
}

void OptionsWindow::create_pages() {
  in_song_.create(module_, IDD_IN_SONG_LYRICS, window());
  external_.create(module_, IDD_EXTERNAL_TEXT, window());
  basic_.create(module_, IDD_BASIC_SETTINGS, window());
  design_.create(module_, IDD_DESIGN, window());
  about_.create(module_, IDD_ABOUT, window());
}

HWND OptionsWindow::page_window(int index) {
  switch (index) {
    case 0: return in_song_.window();
    case 1: return external_.window();
    case 2: return basic_.window();
    case 3: return design_.window();
    case 4: return about_.window();
    default: return nullptr;
  }
}

void OptionsWindow::place_pages() {
  const HWND tabs = item(IDC_OPTIONS_TABS);
  RECT area{};
  GetClientRect(tabs, &area);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MapWindowPoints(tabs, window(), reinterpret_cast<POINT*>(&area), 2);
  for (int index = 0; index < kOptionsPageCount; ++index) {
    if (const HWND page = page_window(index)) {
      SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left,
                   area.bottom - area.top, SWP_NOREDRAW);
    }
  }
}

void OptionsWindow::show_page(int index) {
  for (int other = 0; other < kOptionsPageCount; ++other) {
    // Before version 5 the player keeps no lyrics: the hint behind the page shows instead.
    const bool shown = other == index && (other != 0 || new_host());
    if (const HWND page = page_window(other)) ShowWindow(page, shown ? SW_SHOW : SW_HIDE);
  }
}

bool OptionsWindow::on_notify(const NMHDR& header) {
  if (header.idFrom != IDC_OPTIONS_TABS || header.code != TCN_SELCHANGE) return false;
  const int index = static_cast<int>(SendMessageW(item(IDC_OPTIONS_TABS), TCM_GETCURSEL, 0, 0));
  if (index < 0 || index >= kOptionsPageCount) return false;
  show_page(index);
  state_.settings.current_tab = index;
  SetFocus(item(IDC_OPTIONS_TABS));
  return true;
}

bool OptionsWindow::on_command(int id, int, HWND) {
  switch (id) {
    case IDOK: {
      if (!apply_edits(*this)) return true;
      // Closing deletes this object.
      PluginState& state = state_;
      OptionsServices& services = services_;
      close(IDOK);
      services.load_song_lyrics(state);
      return true;
    }
    case IDC_APPLY:
      if (apply_edits(*this)) services_.load_song_lyrics(state_);
      return true;
    case IDCANCEL:
      cancel();
      return true;
    case IDC_HELP_BUTTON:
      services_.show_help(window(), help_file_path(module_path()), std::nullopt);
      return true;
    default:
      return false;
  }
}

void OptionsWindow::cancel() {
  // The display goes back to what is on disk and in the song file.
  state_.sources.external_lyrics_found = services_.load_external_lyrics(state_);
  const SongInfo& song = state_.song;
  if (new_host() && !state_.sources.external_lyrics_found && song.has_song_lyrics &&
      !song.file_path.empty()) {
    if (LyricDocument* panel = lyrics_panel(state_)) {
      panel->load_text(song.track_total_ms, song.song_lyrics);
    }
  }
  // Closing deletes this object.
  PluginState& state = state_;
  close(IDCANCEL);
  state.requests.reload_settings_request = true;
}

void OptionsWindow::close(int) {
  state_.options.options_open = false;
  state_.options.editors = nullptr;
  const HWND frame = window();
  if (frame) DestroyWindow(frame);
}

void OptionsWindow::on_destroyed() {
  remove_dialog_keys_hook();
  state_.options.options_open = false;
  state_.options.editors = nullptr;
  state_.options.options_window = nullptr;
  state_.options.initialised = false;
  delete this;
}

bool OptionsWindow::on_message(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  switch (message) {
    case WM_HELP:
      if (lparam) show_context_help(*reinterpret_cast<const HELPINFO*>(lparam));
      // Reported as not handled, like any other help request.
      result = FALSE;
      return false;
    case WM_DROPFILES:
      drop_files(reinterpret_cast<HDROP>(wparam));
      result = 0;
      return true;
    case WM_CLOSE:
      cancel();
      result = 0;
      return true;
    default:
      return false;
  }
}

std::u16string OptionsWindow::module_path() const {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(module_, path.data(), MAX_PATH);
  path.resize(length < MAX_PATH ? length : 0);
  return std::u16string(reinterpret_cast<const char16_t*>(path.data()), path.size());
}

void OptionsWindow::show_context_help(const HELPINFO& info) {
  const std::optional<HelpTopic> topic = help_topic_for(info.iCtrlId);
  if (!topic) return;
  HWND owner = window();
  switch (topic->page) {
    case OptionsPage::kFrame: owner = window(); break;
    case OptionsPage::kInSong: owner = in_song_.window(); break;
    case OptionsPage::kExternal: owner = external_.window(); break;
    case OptionsPage::kBasic: owner = basic_.window(); break;
    case OptionsPage::kDesign: owner = design_.window(); break;
  }
  RECT rect{};
  if (const HWND control = owner ? GetDlgItem(owner, info.iCtrlId) : nullptr) {
    GetWindowRect(control, &rect);
  }
  const int32_t y = topic->below_top_edge ? rect.top + 20 : rect.bottom;
  std::u16string file = help_file_path(module_path());
  file += kPopupTopicFile;
  services_.show_help(nullptr, file, HelpPopup{topic->topic, rect.left, y});
}

void OptionsWindow::drop_files(HDROP drop) {
  std::wstring name(kDroppedNameMax + 1, L'\0');
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  UINT length = 0;
  if (count == 1) {
    length = DragQueryFileW(drop, 0, name.data(), static_cast<UINT>(name.size()));
  }
  DragFinish(drop);
  if (count != 1 || length == 0 || length > kDroppedNameMax) return;
  if (!song_loaded() || !IsWindowEnabled(external_.edit())) return;
  name.resize(length);
  const std::u16string path(reinterpret_cast<const char16_t*>(name.data()), name.size());
  if (!is_lyric_file_name(path)) return;
  const bool to_in_song = state_.settings.current_tab == 0;
  if (to_in_song && !new_host()) return;
  LyricEditorPage& target = to_in_song ? in_song_ : external_;
  if (!target.text().empty() && !ask(text(kDiscardShown))) return;
  std::u16string lyrics;
  if (!read_text_file(path, lyrics)) {
    warn(text(kReadFailed));
    return;
  }
  target.set_text(lyrics);
  target.set_modified(true);
  refresh_editor_state(*this);
}

bool OptionsWindow::ask(std::u16string_view question) {
  const std::u16string message(question);
  return MessageBoxW(window(), wide(message), kCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void OptionsWindow::warn(std::u16string_view warning) {
  const std::u16string message(warning);
  MessageBoxW(window(), wide(message), kCaption, MB_OK | MB_ICONWARNING);
}

// The song-change pipeline's view of the editors.

void OptionsWindow::enable_for_song() {
  for (LyricEditorPage* page : {&in_song_, &external_}) {
    page->enable_song_controls(true);
    page->fill_search_slots();
  }
}

void OptionsWindow::disable_controls() {
  in_song_.enable_song_controls(false);
  external_.enable_song_controls(false);
}

bool OptionsWindow::has_unsaved_changes() { return in_song_.modified() || external_.modified(); }

bool OptionsWindow::ask_discard(std::u16string_view question) { return ask(question); }

void OptionsWindow::set_insert_button_enabled(bool enabled) {
  EnableWindow(external_.item(IDC_INSERT_TIMETAG), enabled);
}

void OptionsWindow::set_external_text(std::u16string_view lyrics) { external_.set_text(lyrics); }

void OptionsWindow::set_song_file_text(std::u16string_view lyrics) { in_song_.set_text(lyrics); }

std::u16string OptionsWindow::external_text() { return external_.text(); }

std::u16string OptionsWindow::song_file_text() { return in_song_.text(); }

void OptionsWindow::show_paths(std::u16string_view lyrics_path, std::u16string_view file_path) {
  set_window_text(external_.item(IDC_EXTERNAL_PATH), lyrics_path);
  set_window_text(in_song_.item(IDC_IN_SONG_PATH), file_path);
}

void OptionsWindow::set_caption(std::u16string_view caption) { set_window_text(window(), caption); }

void OptionsWindow::clear_modified_and_refresh() {
  in_song_.set_modified(false);
  external_.set_modified(false);
  refresh_editor_state(*this);
}

}  // namespace sabla
