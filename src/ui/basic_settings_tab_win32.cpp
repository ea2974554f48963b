#include "ui/basic_settings_tab_win32.h"

#include <windows.h>
// Keep after windows.h, which they build on.
#include <commctrl.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "sources/lyric_folder_paths.h"
#include "sources/song_change.h"
#include "ui/basic_settings_values.h"
#include "ui/options_window_win32.h"
#include "ui/resources/basic_settings_tab_ids.h"
#include "ui/resources/resource.h"
#include "ui/themed_pages_win32.h"

namespace sabla {
namespace {

constexpr int kWheelSpinLow = 1;
constexpr int kWheelSpinHigh = 10;
constexpr size_t kKeyNameChars = 15;
constexpr int kEncodingButtons[] = {IDC_BASIC_SJIS, IDC_BASIC_EUC, IDC_BASIC_UTF8};

struct ItemListRelease {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, ItemListRelease>;

// COM for the folder browser, released only when this call was the one that started it.
class ComApartment {
 public:
  ComApartment()
      : started_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  }
  ~ComApartment() {
    if (started_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool started_;
};

std::u16string decimal(int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string list_text(HWND list, int index) {
  const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length < 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const LRESULT copied =
      SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR || copied < 0 ? 0 : static_cast<size_t>(copied));
  return text;
}

void insert_item(HWND list, int index, const std::u16string& text) {
  SendMessageW(list, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide(text)));
}

void check(HWND page, int id, bool on) {
  CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// Shows the text a field's setting now holds, when cutting or cleaning changed what was typed.
void show_if_changed(HWND field, const std::u16string& stored) {
  if (window_text(field) != stored) set_window_text(field, stored);
}

// Starts the folder browser at the folder already chosen.
int CALLBACK browse_started(HWND browser, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

bool BasicSettingsTab::on_init() {
  Settings& settings = frame_.state().settings;
  const HWND page = window();
  enable_themed_page(page);
  SendMessageW(item(IDC_BASIC_SLOTS), CB_LIMITTEXT, kSlotNameChars, 0);
  SendMessageW(item(IDC_BASIC_TEMPLATE), EM_SETLIMITTEXT, kSlotTemplateChars, 0);
  SendMessageW(item(IDC_BASIC_FOLDERS), EM_SETLIMITTEXT, kFolderListChars, 0);
  SendMessageW(item(IDC_BASIC_IPOD_FOLDER), EM_SETLIMITTEXT, kIpodFolderChars, 0);

  check(page, IDC_BASIC_VERSION_CHECK, settings.ver_check == 1);
  check(page, IDC_BASIC_IPOD_AUTO_SAVE, settings.auto_save[1] == 1);
  check(page, IDC_BASIC_UNICODE, settings.save_unicode == 1);
  check(page, IDC_BASIC_STANDARD_LRC, settings.standard_lrc != 0);
  check(page, IDC_BASIC_SUBFOLDERS, settings.find_sdir != 0);
  check(page, IDC_BASIC_LRC_AND_TXT, settings.auto_save[0] == 1);

  SendMessageW(item(IDC_BASIC_WHEEL_SPIN), UDM_SETRANGE32, kWheelSpinLow, kWheelSpinHigh);
  set_window_text(item(IDC_BASIC_WHEEL), decimal(settings.wheel_scroll));

  fill_keys();
  set_window_text(item(IDC_BASIC_FOLDERS), folder_list_text(settings.path));
  set_window_text(item(IDC_BASIC_IPOD_FOLDER), settings.to_iPod_text_path);

  const HWND slots = item(IDC_BASIC_SLOTS);
  for (int slot = 0; slot < kSearchSlotCount; ++slot) {
    insert_item(slots, slot, settings.URL_name[static_cast<size_t>(slot)]);
  }
  SendMessageW(slots, CB_SETCURSEL, 0, 0);
  show_slot(0);

  fill_list(IDC_BASIC_NEW_FOLDER, {40005, 40006, 40007, 40053}, settings.new_file[0]);
  apply_folder_choice(settings.new_file[0]);
  fill_list(IDC_BASIC_NEW_NAME, {40008, 40009, 40010}, settings.new_file[1]);
  fill_list(IDC_BASIC_IPOD_SUBFOLDER, {40011, 40012, 40013, 40014}, settings.make_ipod_subfolder);
  return false;  // the frame gives the focus to its tabs
}

void BasicSettingsTab::fill_list(int id, std::initializer_list<int32_t> string_ids,
                                 int32_t selected) {
  const HWND list = item(id);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  int index = 0;
  for (int32_t string_id : string_ids) insert_item(list, index++, frame_.text(string_id));
  // A value from a damaged file selects nothing rather than a wrong entry.
  SendMessageW(list, CB_SETCURSEL, selected >= 0 && selected < index ? selected : -1, 0);
}

void BasicSettingsTab::fill_keys() {
  const KeyNames& names = frame_.state().key_names;
  const HWND list = item(IDC_BASIC_KEY);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  int index = 0;
  for (int code = 0; code < KeyNames::kKeyCount; ++code) {
    const std::u16string_view name = names.key_name(code);
    if (!name.empty()) insert_item(list, index++, std::u16string(name));
  }
}

// The first entry that carries the key's name exactly: the list's own search ignores case.
void BasicSettingsTab::select_key(uint8_t code) {
  const std::u16string_view name = frame_.state().key_names.key_name(code);
  const HWND list = item(IDC_BASIC_KEY);
  int found = -1;
  if (!name.empty()) {
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count && found < 0; ++index) {
      if (list_text(list, index) == name) found = index;
    }
  }
  SendMessageW(list, CB_SETCURSEL, found, 0);
}

void BasicSettingsTab::show_slot(int slot) {
  const Settings& settings = frame_.state().settings;
  const auto index = static_cast<size_t>(slot);
  // First, so that the template's change notification stores into the slot it belongs to.
  url_slot_in_tab_ = slot;
  set_window_text(item(IDC_BASIC_TEMPLATE), settings.URL[index]);
  select_key(settings.URL_key[index]);
  check_encoding(settings.sjis_euc[index]);
}

int BasicSettingsTab::checked_encoding() const {
  return encoding_value(check_box(IDC_BASIC_SJIS), check_box(IDC_BASIC_EUC),
                        check_box(IDC_BASIC_UTF8));
}

// Button by button: the three ids are not a range of their own, and CheckRadioButton would
// clear every check box whose id lies between them.
void BasicSettingsTab::check_encoding(int32_t sjis_euc) {
  const int shown = kEncodingButtons[encoding_button(sjis_euc)];
  for (int id : kEncodingButtons) check(window(), id, id == shown);
}

bool BasicSettingsTab::check_box(int id) const {
  return IsDlgButtonChecked(window(), id) == BST_CHECKED;
}

int BasicSettingsTab::selection(int id) const {
  return static_cast<int>(SendMessageW(item(id), CB_GETCURSEL, 0, 0));
}

// The fields' change notifications while the window is built are not the user's typing.
bool BasicSettingsTab::user_edit() const { return frame_.state().options.initialised; }

bool BasicSettingsTab::on_command(int id, int code, HWND) {
  Settings& settings = frame_.state().settings;
  const auto slot = static_cast<size_t>(url_slot_in_tab_);
  switch (id) {
    case IDC_BASIC_SLOTS:
      if (code == CBN_SELCHANGE) {
        slot_chosen();
      } else if (code == CBN_EDITCHANGE) {
        // Kept at once: a slot chosen from the list or OK pressed with Enter must not lose it.
        settings.URL_name[slot] = slot_name_value(window_text(item(IDC_BASIC_SLOTS)));
      } else if (code == CBN_KILLFOCUS || code == CBN_DROPDOWN) {
        commit_slot_name();
      }
      return true;
    case IDC_BASIC_TEMPLATE:
      if ((code == EN_CHANGE && user_edit()) || code == EN_KILLFOCUS) {
        store_template(code == EN_KILLFOCUS);
      }
      return true;
    case IDC_BASIC_SJIS:
    case IDC_BASIC_EUC:
    case IDC_BASIC_UTF8:
      if (code == BN_CLICKED) settings.sjis_euc[slot] = checked_encoding();
      return true;
    case IDC_BASIC_KEY:
      if (code == CBN_SELCHANGE) key_chosen();
      return true;
    case IDC_BASIC_FOLDERS:
      if ((code == EN_CHANGE && user_edit()) || code == EN_KILLFOCUS) {
        store_folders(code == EN_KILLFOCUS);
      }
      return true;
    case IDC_BASIC_SUBFOLDERS:
      if (code == BN_CLICKED) {
        settings.find_sdir = check_box(IDC_BASIC_SUBFOLDERS) ? 1 : 0;
        // The external text page looks for the lyrics again with the new search.
        LyricEditorPage& external = frame_.external();
        SendMessageW(external.window(), WM_COMMAND, MAKEWPARAM(IDC_EXTERNAL_RELOAD, BN_CLICKED),
                     reinterpret_cast<LPARAM>(external.item(IDC_EXTERNAL_RELOAD)));
      }
      return true;
    case IDC_BASIC_NEW_FOLDER:
    case IDC_BASIC_NEW_NAME:
      if (code == CBN_SELCHANGE) new_file_chosen();
      return true;
    case IDC_BASIC_IPOD_SUBFOLDER:
      if (code == CBN_SELCHANGE) {
        const int chosen = selection(IDC_BASIC_IPOD_SUBFOLDER);
        if (chosen >= 0) settings.make_ipod_subfolder = chosen;
      }
      return true;
    case IDC_BASIC_LRC_AND_TXT:
      if (code == BN_CLICKED) settings.auto_save[0] = check_box(id) ? 1 : 0;
      return true;
    case IDC_BASIC_UNICODE:
      if (code == BN_CLICKED) settings.save_unicode = check_box(id) ? 1 : 0;
      return true;
    case IDC_BASIC_VERSION_CHECK:
      if (code == BN_CLICKED) settings.ver_check = check_box(id) ? 1 : 0;
      return true;
    case IDC_BASIC_STANDARD_LRC:
      // Takes effect when the settings are reloaded on closing the window, which also reloads
      // the lyrics.
      if (code == BN_CLICKED) settings.standard_lrc = check_box(id) ? 1 : 0;
      return true;
    case IDC_BASIC_IPOD_AUTO_SAVE:
      if (code == BN_CLICKED) settings.auto_save[1] = check_box(id) ? 1 : 0;
      return true;
    case IDC_BASIC_IPOD_FOLDER:
      if ((code == EN_CHANGE && user_edit()) || code == EN_KILLFOCUS) {
        store_ipod_folder(code == EN_KILLFOCUS);
      }
      return true;
    case IDC_BASIC_IPOD_BROWSE:
      if (code == BN_CLICKED) browse_ipod_folder();
      return true;
    case IDC_BASIC_WHEEL:
      if (code == EN_CHANGE && user_edit()) {
        settings.wheel_scroll = wheel_lines_value(window_text(item(IDC_BASIC_WHEEL)));
      }
      return true;
    default:
      return false;
  }
}

// The edit field may already show the chosen slot's name when this arrives, so the previous
// slot's name is not read from it: typing stored it as it was typed.
void BasicSettingsTab::slot_chosen() {
  const int chosen = selection(IDC_BASIC_SLOTS);
  if (chosen < 0 || chosen >= kSearchSlotCount) return;
  const int previous = url_slot_in_tab_;
  frame_.state().settings.sjis_euc[static_cast<size_t>(previous)] = checked_encoding();
  replace_slot_item(previous);
  SendMessageW(item(IDC_BASIC_SLOTS), CB_SETCURSEL, chosen, 0);
  show_slot(chosen);
}

void BasicSettingsTab::commit_slot_name() {
  const int slot = url_slot_in_tab_;
  frame_.state().settings.URL_name[static_cast<size_t>(slot)] =
      slot_name_value(window_text(item(IDC_BASIC_SLOTS)));
  replace_slot_item(slot);
  SendMessageW(item(IDC_BASIC_SLOTS), CB_SETCURSEL, slot, 0);
  sync_editor_slot_lists();
}

void BasicSettingsTab::replace_slot_item(int slot) {
  const HWND slots = item(IDC_BASIC_SLOTS);
  const std::u16string& name = frame_.state().settings.URL_name[static_cast<size_t>(slot)];
  if (list_text(slots, slot) == name) return;
  SendMessageW(slots, CB_DELETESTRING, slot, 0);
  insert_item(slots, slot, name);
}

// The editors' slot choosers show the same names; they are refilled whether or not a song is
// loaded, so that they never show a name the file no longer has.
void BasicSettingsTab::sync_editor_slot_lists() {
  for (LyricEditorPage* page : {&frame_.in_song(), &frame_.external()}) {
    if (IsWindow(page->window())) page->fill_search_slots();
  }
}

void BasicSettingsTab::key_chosen() {
  const int chosen = selection(IDC_BASIC_KEY);
  if (chosen < 0) return;
  const std::u16string name = list_text(item(IDC_BASIC_KEY), chosen).substr(0, kKeyNameChars);
  PluginState& state = frame_.state();
  state.settings.URL_key[static_cast<size_t>(url_slot_in_tab_)] =
      key_setting_value(state.key_names.key_code(name));
}

void BasicSettingsTab::new_file_chosen() {
  PluginState& state = frame_.state();
  const int folder = selection(IDC_BASIC_NEW_FOLDER);
  const int name = selection(IDC_BASIC_NEW_NAME);
  if (folder >= 0) state.settings.new_file[0] = folder;
  if (name >= 0) state.settings.new_file[1] = name;
  apply_folder_choice(state.settings.new_file[0]);
  SongInfo& edited = state.options.edited_song;
  const bool song_loaded = frame_.song_loaded();
  new_lyrics_path(
      song_names(edited),
      NewLyricsFacts{state.options.edited_external_file, song_loaded, edited.has_song_lyrics},
      state.settings, edited.lyrics_path, unknown_names(state.strings));
  if (song_loaded) frame_.show_paths(edited.lyrics_path, edited.file_path);
}

// Files made in artist folders are found again only by searching the subfolders.
void BasicSettingsTab::apply_folder_choice(int32_t choice) {
  const HWND box = item(IDC_BASIC_SUBFOLDERS);
  if (folder_choice_needs_subfolders(choice)) {
    frame_.state().settings.find_sdir = 1;
    check(window(), IDC_BASIC_SUBFOLDERS, true);
    EnableWindow(box, FALSE);
  } else {
    EnableWindow(box, TRUE);
  }
}

void BasicSettingsTab::store_template(bool show_stored) {
  const HWND field = item(IDC_BASIC_TEMPLATE);
  std::u16string& stored = frame_.state().settings.URL[static_cast<size_t>(url_slot_in_tab_)];
  stored = slot_template_value(window_text(field));
  if (show_stored) show_if_changed(field, stored);
}

void BasicSettingsTab::store_folders(bool show_stored) {
  Settings& settings = frame_.state().settings;
  const HWND field = item(IDC_BASIC_FOLDERS);
  settings.path = folder_list_value(window_text(field));
  settings.path_count = 0;
  for (const std::u16string& folder : settings.path) {
    if (!folder.empty()) ++settings.path_count;
  }
  if (show_stored) show_if_changed(field, folder_list_text(settings.path));
}

void BasicSettingsTab::store_ipod_folder(bool show_stored) {
  const HWND field = item(IDC_BASIC_IPOD_FOLDER);
  std::u16string& stored = frame_.state().settings.to_iPod_text_path;
  stored = ipod_folder_value(window_text(field));
  if (show_stored) show_if_changed(field, stored);
}

void BasicSettingsTab::browse_ipod_folder() {
  const ComApartment com;
  // From what the field shows now, cleaned as it would be stored.
  const std::u16string start = ipod_folder_value(window_text(item(IDC_BASIC_IPOD_FOLDER)));
  const std::u16string title = window_text(item(IDC_BASIC_IPOD_LABEL));
  BROWSEINFOW browse{};
  browse.hwndOwner = window();
  browse.lpszTitle = wide(title);
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  browse.lpfn = browse_started;
  browse.lParam = reinterpret_cast<LPARAM>(wide(start));
  const UniqueItemList chosen(SHBrowseForFolderW(&browse));
  if (!chosen) return;
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.get(), folder)) return;
  const std::wstring_view picked(folder);
  set_window_text(item(IDC_BASIC_IPOD_FOLDER), std::u16string(picked.begin(), picked.end()));
  store_ipod_folder(true);
}

}  // namespace sabla
