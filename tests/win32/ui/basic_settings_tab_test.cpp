// The basic settings page driven through its control ids: what it shows, how each control
// writes its setting, what bad typing becomes, and how it is laid out at the screen's DPI.
#include <gtest/gtest.h>
#include <windows.h>
// Keep after windows.h, which it builds on.
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "settings/settings_format.h"
#include "settings/settings_keys.h"
#include "ui/resources/basic_settings_tab_ids.h"
#include "win32/ui/control_fit.h"
#include "win32/ui/options_test_support.h"
#include "win32/ui/window_capture.h"

namespace sabla::test {
namespace {

constexpr int kBasicTab = 2;

std::wstring wide_text(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

class BasicSettingsTabTest : public OptionsWindowFixture {
 protected:
  void SetUp() override {
    OptionsWindowFixture::SetUp();
    state.key_names.build_key_names();
    Settings& s = state.settings;
    for (int slot = 0; slot < 8; ++slot)
      s.URL[slot] = u"http://site" + std::u16string(1, u'0' + slot) + u"/[title]";
    s.wheel_scroll = 2;
    s.make_ipod_subfolder = 3;
    s.to_iPod_text_path = u"I:\\Notes";
    s.standard_lrc = 0;  // the exact old reading
  }

  HWND basic() const {
    for (HWND child = GetWindow(window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetDlgItem(child, IDC_BASIC_TEMPLATE)) return child;
    }
    return nullptr;
  }
  HWND field(int id) const { return GetDlgItem(basic(), id); }
  std::wstring shown(int id) const { return text_of(field(id)); }
  void notify(int id, int code) {
    SendMessageW(basic(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(field(id)));
  }
  void choose(int id, int index) {
    SendMessageW(field(id), CB_SETCURSEL, index, 0);
    notify(id, CBN_SELCHANGE);
  }
  int chosen(int id) const { return static_cast<int>(SendMessageW(field(id), CB_GETCURSEL, 0, 0)); }
  std::wstring item_text(HWND list, int index) const {
    wchar_t text[512] = {};
    SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
  }
  // Typing into an edit field, then leaving it.
  void type(int id, const std::wstring& text) {
    SetWindowTextW(field(id), text.c_str());
    notify(id, EN_KILLFOCUS);
  }
  // Typing into the slot combo's own edit field.
  void rename(const std::wstring& text) {
    SetWindowTextW(field(IDC_BASIC_SLOTS), text.c_str());
    notify(IDC_BASIC_SLOTS, CBN_EDITCHANGE);
  }
  void click(int id) { SendMessageW(field(id), BM_CLICK, 0, 0); }
  bool checked(int id) const { return SendMessageW(field(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // Every visible control of its kind, whole inside the page, and its text shown whole.
  void check_layout();
  // The settings as the next load would read them back from the file written now.
  Settings reloaded() const {
    Settings loaded;
    reset_settings(loaded, SettingsDefaults{});
    read_settings_text(loaded, format_settings_text(state.settings));
    return loaded;
  }
};

TEST_F(BasicSettingsTabTest, ShowsTheSettingsWithSlotOneChosen) {
  Settings& s = state.settings;
  s.path = {u"C:\\lyrics", u"D:\\more", u"", u"E:\\unreached"};
  s.URL_key = {0x72, 0, 0, 0, 0, 0, 0, 0};
  s.sjis_euc[0] = 2;
  s.new_file = {3, 2};
  s.find_sdir = 0;
  s.make_ipod_subfolder = 1;
  s.ver_check = 1;
  s.save_unicode = 1;
  s.auto_save = {1, 0};
  s.wheel_scroll = 7;
  ASSERT_NE(open(), nullptr);

  EXPECT_EQ(shown(IDC_BASIC_WHEEL), L"7");
  EXPECT_EQ(shown(IDC_BASIC_FOLDERS), L"C:\\lyrics;D:\\more;");
  EXPECT_EQ(shown(IDC_BASIC_IPOD_FOLDER), L"I:\\Notes");
  EXPECT_EQ(shown(IDC_BASIC_SLOTS), L"site 0");
  EXPECT_EQ(shown(IDC_BASIC_TEMPLATE), L"http://site0/[title]");
  EXPECT_EQ(shown(IDC_BASIC_KEY), L"F3");
  EXPECT_TRUE(checked(IDC_BASIC_UTF8));
  EXPECT_FALSE(checked(IDC_BASIC_SJIS));
  EXPECT_EQ(chosen(IDC_BASIC_NEW_FOLDER), 3);
  EXPECT_EQ(chosen(IDC_BASIC_NEW_NAME), 2);
  EXPECT_EQ(chosen(IDC_BASIC_IPOD_SUBFOLDER), 1);
  // Files made in artist\album folders are found only by a subfolder search.
  EXPECT_TRUE(checked(IDC_BASIC_SUBFOLDERS));
  EXPECT_FALSE(IsWindowEnabled(field(IDC_BASIC_SUBFOLDERS)));
  EXPECT_EQ(s.find_sdir, 1);
  EXPECT_TRUE(checked(IDC_BASIC_VERSION_CHECK));
  EXPECT_TRUE(checked(IDC_BASIC_UNICODE));
  EXPECT_FALSE(checked(IDC_BASIC_STANDARD_LRC));
  EXPECT_TRUE(checked(IDC_BASIC_LRC_AND_TXT));
  EXPECT_FALSE(checked(IDC_BASIC_IPOD_AUTO_SAVE));
  EXPECT_EQ(item_text(field(IDC_BASIC_NEW_FOLDER), 3), wide_text(state.strings.text(40053)));
  EXPECT_EQ(item_text(field(IDC_BASIC_IPOD_SUBFOLDER), 0), wide_text(state.strings.text(40011)));

  // Every named key, in code order.
  std::vector<std::wstring> names;
  for (int code = 0; code < 256; ++code) {
    if (!state.key_names.key_name(code).empty())
      names.push_back(wide_text(state.key_names.key_name(code)));
  }
  const HWND keys = field(IDC_BASIC_KEY);
  ASSERT_EQ(SendMessageW(keys, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(names.size()));
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(item_text(keys, static_cast<int>(i)), names[i]);
}

TEST_F(BasicSettingsTabTest, ARenamedSlotKeepsItsNameWhenAnotherIsChosen) {
  ASSERT_NE(open(), nullptr);
  choose(IDC_BASIC_SLOTS, 3);
  rename(L"歌詞検索");
  // Choosing from the list puts the chosen name into the edit field before the page hears of it.
  choose(IDC_BASIC_SLOTS, 5);
  EXPECT_EQ(state.settings.URL_name[3], u"歌詞検索");
  EXPECT_EQ(state.settings.URL_name[5], u"site 5");
  EXPECT_EQ(item_text(field(IDC_BASIC_SLOTS), 3), L"歌詞検索");
  EXPECT_EQ(shown(IDC_BASIC_SLOTS), L"site 5");
  EXPECT_EQ(shown(IDC_BASIC_TEMPLATE), L"http://site5/[title]");

  // Leaving the field renames the slot in the editors' choosers too.
  rename(L"a,b");
  notify(IDC_BASIC_SLOTS, CBN_KILLFOCUS);
  EXPECT_EQ(state.settings.URL_name[5], u"a_b");
  EXPECT_EQ(item_text(field(IDC_BASIC_SLOTS), 5), L"a_b");
  EXPECT_EQ(item_text(control(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_SLOTS), 5), L"a_b");
  EXPECT_EQ(item_text(control(IDD_IN_SONG_LYRICS, IDC_IN_SONG_SLOTS), 3), L"歌詞検索");
}

TEST_F(BasicSettingsTabTest, EachSlotKeepsItsTemplateKeyAndEncoding) {
  ASSERT_NE(open(), nullptr);
  choose(IDC_BASIC_SLOTS, 2);
  type(IDC_BASIC_TEMPLATE, L"http://lyrics.example/?t=[title]");
  const int f5 = static_cast<int>(
      SendMessageW(field(IDC_BASIC_KEY), CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(L"F5")));
  choose(IDC_BASIC_KEY, f5);
  click(IDC_BASIC_EUC);
  click(IDC_BASIC_LRC_AND_TXT);
  choose(IDC_BASIC_SLOTS, 0);
  EXPECT_EQ(shown(IDC_BASIC_KEY), L"None");
  choose(IDC_BASIC_SLOTS, 2);

  const Settings& s = state.settings;
  EXPECT_EQ(s.URL[2], u"http://lyrics.example/?t=[title]");
  EXPECT_EQ(s.URL_key[2], 0x74);
  EXPECT_EQ(s.sjis_euc[2], 1);
  EXPECT_EQ(s.sjis_euc[0], 0);
  EXPECT_EQ(shown(IDC_BASIC_TEMPLATE), L"http://lyrics.example/?t=[title]");
  EXPECT_EQ(shown(IDC_BASIC_KEY), L"F5");
  EXPECT_TRUE(checked(IDC_BASIC_EUC));
  // Showing a slot's encoding touches no other button.
  EXPECT_TRUE(checked(IDC_BASIC_LRC_AND_TXT));
}

// Presses OK in the folder browser as soon as it shows.
class BrowserAnswer {
 public:
  BrowserAnswer() : hook_(SetWindowsHookExW(WH_CBT, &hook, nullptr, GetCurrentThreadId())) {}
  ~BrowserAnswer() { UnhookWindowsHookEx(hook_); }
  BrowserAnswer(const BrowserAnswer&) = delete;
  BrowserAnswer& operator=(const BrowserAnswer&) = delete;
  static inline int shown = 0;

 private:
  static LRESULT CALLBACK hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
      wchar_t name[16] = {};
      GetClassNameW(reinterpret_cast<HWND>(wparam), name, 16);
      // The options window is a dialog too; only the first one to show is the browser.
      if (std::wstring(name) == L"#32770" && shown++ == 0) {
        // Answered a moment later: the browser moves to its first folder only after it shows.
        browser_ = reinterpret_cast<HWND>(wparam);
        waited_ = 0;
        SetTimer(nullptr, 0, 100, &answer_now);
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  // The name of the folder the browser's tree has selected.
  static std::wstring selected_name() {
    const HWND tree = FindWindowExW(browser_, nullptr, WC_TREEVIEWW, nullptr);
    const auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    wchar_t text[MAX_PATH] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    if (!tree || !item || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) {
      return {};
    }
    return text;
  }
  // The user picks the folder the browser was asked to start at (Wine moves its tree there
  // only some time after showing, later still on a busy machine), then OK.
  static void CALLBACK answer_now(HWND, UINT, UINT_PTR timer, DWORD) {
    if (waited_ == 0 && !pick_.empty()) {
      SendMessageW(browser_, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(pick_.c_str()));
    }
    if (selected_name() != L"notes" && ++waited_ < 30) return;
    KillTimer(nullptr, timer);
    PostMessageW(browser_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  static inline HWND browser_ = nullptr;
  static inline int waited_ = 0;

 public:
  static inline std::wstring pick_;
  HHOOK hook_;
};

TEST_F(BasicSettingsTabTest, TheFolderBrowserFillsTheFieldWithThePickedFolder) {
  const std::wstring notes = folder / L"notes";
  CreateDirectoryW(notes.c_str(), nullptr);
  state.settings.to_iPod_text_path = u16(notes + L"\\");
  ASSERT_NE(open(), nullptr);
  const BrowserAnswer answer;
  BrowserAnswer::pick_ = notes;
  click(IDC_BASIC_IPOD_BROWSE);
  EXPECT_GE(BrowserAnswer::shown, 1);
  EXPECT_NE(window(), nullptr);
  EXPECT_EQ(state.settings.to_iPod_text_path, u16(notes));
  EXPECT_EQ(shown(IDC_BASIC_IPOD_FOLDER), notes);
}

TEST_F(BasicSettingsTabTest, ArtistFolderChoicesForceTheSubfolderSearch) {
  ASSERT_NE(open(), nullptr);
  choose(IDC_BASIC_NEW_FOLDER, 3);
  EXPECT_EQ(state.settings.new_file[0], 3);
  EXPECT_EQ(state.settings.find_sdir, 1);
  EXPECT_TRUE(checked(IDC_BASIC_SUBFOLDERS));
  EXPECT_FALSE(IsWindowEnabled(field(IDC_BASIC_SUBFOLDERS)));
  // The external text page shows where a new file would now be made.
  const std::wstring path = text_of(control(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_PATH));
  EXPECT_EQ(path, folder / L"Artist\\Album\\song.txt");

  choose(IDC_BASIC_NEW_FOLDER, 1);
  choose(IDC_BASIC_NEW_NAME, 1);
  EXPECT_EQ((std::array<int32_t, 2>{1, 1}), state.settings.new_file);
  EXPECT_TRUE(IsWindowEnabled(field(IDC_BASIC_SUBFOLDERS)));
  EXPECT_TRUE(checked(IDC_BASIC_SUBFOLDERS));
  EXPECT_EQ(text_of(control(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_PATH)), folder / L"Song.txt");

  // Switching the subfolder search off looks for the lyrics again.
  const int runs = services.pipeline_runs;
  click(IDC_BASIC_SUBFOLDERS);
  EXPECT_EQ(state.settings.find_sdir, 0);
  EXPECT_EQ(services.pipeline_runs, runs + 1);
}

TEST_F(BasicSettingsTabTest, CheckBoxesAndListsWriteTheirSettings) {
  ASSERT_NE(open(), nullptr);
  struct Box {
    int id;
    const uint8_t* setting;
  };
  const Settings& s = state.settings;
  for (const Box& box :
       {Box{IDC_BASIC_LRC_AND_TXT, &s.auto_save[0]}, Box{IDC_BASIC_IPOD_AUTO_SAVE, &s.auto_save[1]},
        Box{IDC_BASIC_UNICODE, &s.save_unicode}, Box{IDC_BASIC_VERSION_CHECK, &s.ver_check},
        Box{IDC_BASIC_STANDARD_LRC, &s.standard_lrc}}) {
    SCOPED_TRACE(box.id);
    click(box.id);
    EXPECT_EQ(*box.setting, 1);
    click(box.id);
    EXPECT_EQ(*box.setting, 0);
  }
  choose(IDC_BASIC_IPOD_SUBFOLDER, 2);
  EXPECT_EQ(s.make_ipod_subfolder, 2);
}

// Whatever is typed, the page stores what the settings file can hold, shows it, and the next
// load reads the same.
TEST_F(BasicSettingsTabTest, BadTypingIsStoredAsTheFileWillReadIt) {
  ASSERT_NE(open(), nullptr);
  const std::wstring long_folder = L"C:\\" + std::wstring(300, L'x');
  struct Case {
    int id;
    std::wstring typed;
    std::wstring shown;
  };
  const std::vector<Case> cases = {
      {IDC_BASIC_FOLDERS, L"C:\\a\\;;D:\\b;", L"C:\\a;D:\\b;"},
      {IDC_BASIC_FOLDERS, L";;", L""},
      {IDC_BASIC_FOLDERS, long_folder + L";E:\\", long_folder.substr(0, 259) + L";E:;"},
      {IDC_BASIC_FOLDERS, L"1;2;3;4;5;6;7;8;9", L"1;2;3;4;5;6;7;8;"},
      {IDC_BASIC_IPOD_FOLDER, L"J:\\Notes\\", L"J:\\Notes"},
      {IDC_BASIC_IPOD_FOLDER, L"J:\\a,b;c", L"J:\\a,b;c"},
      {IDC_BASIC_TEMPLATE, L"http://x/?a=[artist],[title]", L"http://x/?a=[artist]%2C[title]"},
      {IDC_BASIC_TEMPLATE, L"C:\\run.exe [title],[album]", L"C:\\run.exe [title]"},
      {IDC_BASIC_TEMPLATE, L"", L" "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(
        std::to_string(c.id) + " " +
        std::string(c.typed.begin(), c.typed.begin() + std::min<size_t>(c.typed.size(), 30)));
    type(c.id, c.typed);
    EXPECT_EQ(shown(c.id), c.shown);
    const Settings loaded = reloaded();
    EXPECT_EQ(loaded.path, state.settings.path);
    EXPECT_EQ(loaded.to_iPod_text_path, state.settings.to_iPod_text_path);
    EXPECT_EQ(loaded.URL[0], state.settings.URL[0]);
  }
  EXPECT_EQ(state.settings.URL[0], u" ");

  // The wheel count is stored as typed; only the arrows keep to 1 to 10.
  const std::vector<std::pair<std::wstring, int32_t>> wheel = {
      {L"5", 5}, {L"25", 25}, {L"abc", 0}, {L"", 0}, {L"-3", -3}, {L"99999999999", 2147483647}};
  for (const auto& [typed, lines] : wheel) {
    SetWindowTextW(field(IDC_BASIC_WHEEL), typed.c_str());
    EXPECT_EQ(state.settings.wheel_scroll, lines) << std::string(typed.begin(), typed.end());
    EXPECT_EQ(reloaded().wheel_scroll, lines);
  }
  int low = 0, high = 0;
  SendMessageW(field(IDC_BASIC_WHEEL_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 10);
}

TEST_F(BasicSettingsTabTest, TextTypedAndConfirmedWithEnterIsSaved) {
  ASSERT_NE(open(), nullptr);
  SetWindowTextW(field(IDC_BASIC_TEMPLATE), L"http://typed/[title]");
  SetWindowTextW(field(IDC_BASIC_FOLDERS), L"K:\\typed");
  SetWindowTextW(field(IDC_BASIC_IPOD_FOLDER), L"L:\\typed");
  // Enter in a field presses OK without the field losing the focus first.
  SendMessageW(window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(window(), nullptr);
  EXPECT_GE(services.saved_settings, 1);
  EXPECT_EQ(state.settings.URL[0], u"http://typed/[title]");
  EXPECT_EQ(state.settings.path[0], u"K:\\typed");
  EXPECT_EQ(state.settings.to_iPod_text_path, u"L:\\typed");
}

// Layout at the screen's DPI: every visible control of its kind, whole inside the page and, but
// for the search group around its own controls, overlapping no other; every text shows whole,
// the lists' entries included.
enum class Kind { kLabel, kGroup, kEdit, kSlotCombo, kSpin, kButton, kCheckBox, kRadio, kList };

struct Row {
  int id;
  Kind kind;
};

const std::vector<Row> kRows = {
    {IDC_BASIC_SEARCH_GROUP, Kind::kGroup},
    {IDC_BASIC_SLOTS, Kind::kSlotCombo},
    {IDC_BASIC_SHIFT_LABEL, Kind::kLabel},
    {IDC_BASIC_KEY, Kind::kList},
    {IDC_BASIC_TEMPLATE, Kind::kEdit},
    {IDC_BASIC_SJIS, Kind::kRadio},
    {IDC_BASIC_EUC, Kind::kRadio},
    {IDC_BASIC_UTF8, Kind::kRadio},
    {IDC_BASIC_FOLDERS_LABEL, Kind::kLabel},
    {IDC_BASIC_SUBFOLDERS, Kind::kCheckBox},
    {IDC_BASIC_FOLDERS, Kind::kEdit},
    {IDC_BASIC_NEW_FILE_LABEL, Kind::kLabel},
    {IDC_BASIC_NEW_FOLDER, Kind::kList},
    {IDC_BASIC_NEW_FOLDER_SUFFIX, Kind::kLabel},
    {IDC_BASIC_NEW_NAME, Kind::kList},
    {IDC_BASIC_NEW_NAME_SUFFIX, Kind::kLabel},
    {IDC_BASIC_LRC_AND_TXT, Kind::kCheckBox},
    {IDC_BASIC_UNICODE, Kind::kCheckBox},
    {IDC_BASIC_STANDARD_LRC, Kind::kCheckBox},
    {IDC_BASIC_WHEEL_LABEL, Kind::kLabel},
    {IDC_BASIC_WHEEL, Kind::kEdit},
    {IDC_BASIC_WHEEL_SPIN, Kind::kSpin},
    {IDC_BASIC_WHEEL_UNIT, Kind::kLabel},
    {IDC_BASIC_VERSION_CHECK, Kind::kCheckBox},
    {IDC_BASIC_IPOD_LABEL, Kind::kLabel},
    {IDC_BASIC_IPOD_AUTO_SAVE, Kind::kCheckBox},
    {IDC_BASIC_IPOD_FOLDER, Kind::kEdit},
    {IDC_BASIC_IPOD_BROWSE, Kind::kButton},
    {IDC_BASIC_IPOD_SUBFOLDER, Kind::kList},
};

std::string kind_misfit(HWND control, Kind kind) {
  wchar_t name[64] = {};
  GetClassNameW(control, name, 64);
  const std::wstring cls = name;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  std::string why;
  switch (kind) {
    case Kind::kLabel:
      return cls == L"Static" ? "" : "not a label";
    case Kind::kGroup:
      return lstrcmpiW(cls.c_str(), L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX
                 ? ""
                 : "not a group box";
    case Kind::kEdit:
      return lstrcmpiW(cls.c_str(), L"Edit") == 0 && (style & WS_TABSTOP) &&
                     !(style & ES_READONLY) && !(style & ES_MULTILINE) && (style & ES_AUTOHSCROLL)
                 ? ""
                 : "not a writable one-line edit with a tab stop";
    case Kind::kSlotCombo:
      return lstrcmpiW(cls.c_str(), L"ComboBox") == 0 && (style & 3) == CBS_DROPDOWN &&
                     (style & WS_TABSTOP)
                 ? ""
                 : "not a combo box with an edit field";
    case Kind::kSpin:
      return lstrcmpiW(cls.c_str(), UPDOWN_CLASSW) == 0 ? "" : "not a spin control";
    case Kind::kButton:
      has_kind(control, ControlKind::kPushButton, why);
      return why;
    case Kind::kCheckBox:
      has_kind(control, ControlKind::kCheckBox, why);
      return why;
    case Kind::kRadio:
      has_kind(control, ControlKind::kRadioButton, why);
      return why;
    case Kind::kList:
      has_kind(control, ControlKind::kDropDownList, why);
      return why;
  }
  return "unknown";
}

// Why the text or an entry would not show whole; empty when all fits.
std::string text_misfit_of(HWND control, Kind kind) {
  const std::wstring text = wide_text(window_text(control));
  switch (kind) {
    case Kind::kButton:
      return text_misfit(control, ControlKind::kPushButton, text);
    case Kind::kCheckBox:
      return text_misfit(control, ControlKind::kCheckBox, text);
    case Kind::kRadio:
      return text_misfit(control, ControlKind::kRadioButton, text);
    case Kind::kLabel:
    case Kind::kGroup: {
      RECT client{};
      GetClientRect(control, &client);
      const ControlTextDc dc(control);
      // A group box draws its caption inside the frame, past the corner.
      const int room = client.right - (kind == Kind::kGroup ? 2 * dc.scaled(9) : 0);
      const SIZE size = dc.extent(text, 0);
      if (size.cx > room)
        return "text needs " + std::to_string(size.cx) + " px, room for " + std::to_string(room);
      if (kind == Kind::kLabel && size.cy > client.bottom) return "text too high";
      return "";
    }
    case Kind::kList: {
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (!GetComboBoxInfo(control, &info)) return "no combo box info";
      const int room = info.rcItem.right - info.rcItem.left - 2 * ControlTextDc(control).scaled(2);
      const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
      for (int index = 0; index < count; ++index) {
        wchar_t entry[256] = {};
        SendMessageW(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry));
        const SIZE size = ControlTextDc(control).extent(entry, 0);
        if (size.cx > room) {
          return "entry " + std::to_string(index) + " needs " + std::to_string(size.cx) +
                 " px, room for " + std::to_string(room);
        }
      }
      return "";
    }
    default:
      return "";
  }
}

void BasicSettingsTabTest::check_layout() {
  ASSERT_NE(open(), nullptr);
  const HWND tabs = GetDlgItem(window(), IDC_OPTIONS_TABS);
  SendMessageW(tabs, TCM_SETCURSEL, kBasicTab, 0);
  NMHDR header{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(window(), WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
  const HWND page = basic();
  ASSERT_TRUE(IsWindowVisible(page));
  const RECT display = tab_display_area(window(), IDC_OPTIONS_TABS);
  EXPECT_TRUE(inside(rect_in(page, window()), display)) << "the page leaves the tab display area";

  RECT area{};
  GetClientRect(page, &area);
  const RECT group = rect_in(field(IDC_BASIC_SEARCH_GROUP), page);
  std::vector<std::pair<int, RECT>> placed;
  for (const Row& row : kRows) {
    SCOPED_TRACE("control " + std::to_string(row.id));
    const HWND control = field(row.id);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_EQ(kind_misfit(control, row.kind), "");
    const RECT rect = rect_in(control, page);
    EXPECT_TRUE(inside(rect, area)) << "reaches out of the page";
    const bool in_group = row.id != IDC_BASIC_SEARCH_GROUP && inside(rect, group);
    for (const auto& [other_id, other] : placed) {
      RECT common{};
      if (in_group && other_id == IDC_BASIC_SEARCH_GROUP) continue;
      // The spin control sits on its field's border, as the system places it.
      if (row.id == IDC_BASIC_WHEEL_SPIN && other_id == IDC_BASIC_WHEEL) continue;
      EXPECT_FALSE(IntersectRect(&common, &rect, &other)) << "overlaps control " << other_id;
    }
    placed.emplace_back(row.id, rect);
    EXPECT_EQ(text_misfit_of(control, row.kind), "");
  }
  for (int id : {IDC_BASIC_SLOTS, IDC_BASIC_KEY, IDC_BASIC_TEMPLATE, IDC_BASIC_SJIS, IDC_BASIC_EUC,
                 IDC_BASIC_UTF8}) {
    EXPECT_TRUE(inside(rect_in(field(id), page), group)) << id;
  }
}

class DialogLayoutBasicSettings : public BasicSettingsTabTest {
 protected:
  void keep_shot(const wchar_t* name) { EXPECT_TRUE(keep_dialog_shot(window(), name)); }
};

// Every control shows whole with its text, with a picture of the page for the DPI script.
TEST_F(DialogLayoutBasicSettings, EveryControlOfTheBasicSettingsPageShowsWhole) {
  check_layout();
  keep_shot(L"options-basic-settings.bmp");
}

}  // namespace
}  // namespace sabla::test
