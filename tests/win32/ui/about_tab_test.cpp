// The about page: its controls whole on screen with their texts, the key column that follows the
// settings, the version check's answers without holding the window, the maker's site and the
// settings file.
#include <gtest/gtest.h>
#include <windows.h>
// Keep after windows.h, which it builds on.
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "state/host_messages.h"
#include "state/version.h"
#include "ui/about_tab_win32.h"
#include "ui/dialog_win32.h"
#include "ui/resources/about_tab_ids.h"
#include "ui/themed_pages_win32.h"
#include "win32/ui/control_fit.h"
#include "win32/ui/options_test_support.h"
#include "win32/ui/window_capture.h"

namespace sabla::test {
namespace {

constexpr int kAboutTab = 4;
// Nothing listens on port 1 of this machine: the connection is refused at once.
constexpr char kRefusedServer[] = "http://127.0.0.1:1";

std::wstring shown_text(HWND control) {
  const std::u16string text = window_text(control);
  return std::wstring(text.begin(), text.end());
}

std::vector<std::wstring> split_lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
    if (!lines.back().empty() && lines.back().back() == L'\r') lines.back().pop_back();
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string> opened_addresses;

int32_t record_open_url(void*, uint32_t, HostMessage* record) {
  opened_addresses.emplace_back(record->body.open_url.address, record->body.open_url.length);
  return kStatusOk;
}

class AboutTabTest : public OptionsWindowFixture {
 protected:
  void SetUp() override {
    OptionsWindowFixture::SetUp();
    opened_addresses.clear();
    state.host.host_callback = &record_open_url;
    state.host.own_version_caption = u"Sabla ver.1.0.0.0 BETA";
    state.key_names.build_key_names();
    state.settings.ins_tag = 0x0D;
    state.settings.scroll_up = 0x21;
    state.settings.scroll_down = 0x22;
  }

  HWND about_page() const {
    for (HWND child = GetWindow(window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetDlgItem(child, IDC_ABOUT_KEY_COLUMN)) return child;
    }
    return nullptr;
  }
  HWND about(int id) const { return GetDlgItem(about_page(), id); }
  AboutTab& tab() {
    auto* frame = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window(), DWLP_USER));
    return static_cast<OptionsWindow*>(frame)->about();
  }

  void select(int index) {
    const HWND tabs = GetDlgItem(window(), IDC_OPTIONS_TABS);
    SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    NMHDR header{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(window(), WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
    pump();
  }
  void click(int id) {
    SendMessageW(about_page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(about(id)));
  }
  static void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  // Runs the window's messages until `done` holds; false after 10 s.
  template <typename Done>
  static bool pump_until(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pump();
      Sleep(5);
    }
    return true;
  }
  std::vector<std::wstring> key_lines() {
    return split_lines(shown_text(about(IDC_ABOUT_KEY_COLUMN)));
  }
};

// The longest name of a keyboard key (the mouse buttons come before Backspace), so that every
// key line is as wide as it can get with keys one presses.
uint8_t longest_named_key(const KeyNames& names) {
  int longest = VK_BACK;
  for (int code = VK_BACK; code < KeyNames::kKeyCount; ++code) {
    if (names.key_name(code).size() > names.key_name(longest).size()) longest = code;
  }
  return static_cast<uint8_t>(longest);
}

TEST_F(AboutTabTest, EveryControlShowsWholeWithItsTextAndEachKeyStandsBesideItsLabel) {
  // Shift needed and the widest keyboard key names: the widest column a keyboard can make.
  const uint8_t widest = longest_named_key(state.key_names);
  for (uint8_t* key :
       {&state.settings.ins_tag, &state.settings.edit_mode, &state.settings.save_key,
        &state.settings.save_ipod, &state.settings.scroll_up, &state.settings.scroll_down}) {
    *key = widest;
  }
  ASSERT_NE(open(), nullptr);
  select(kAboutTab);
  const HWND page = about_page();
  ASSERT_TRUE(IsWindowVisible(page));

  const RECT display = tab_display_area(window(), IDC_OPTIONS_TABS);
  EXPECT_TRUE(inside(rect_in(page, window()), display));

  struct Row {
    int id;
    const wchar_t* cls;
    bool button;
  };
  const Row rows[] = {
      {IDC_ABOUT_VERSION, L"Edit", false},        {IDC_ABOUT_NOTICE, L"Static", false},
      {IDC_ABOUT_CHECK_VERSION, L"Button", true}, {IDC_ABOUT_MAKER_SITE, L"Button", true},
      {IDC_ABOUT_OPEN_SETTINGS, L"Button", true}, {IDC_ABOUT_KEY_LABELS, L"Static", false},
      {IDC_ABOUT_KEY_COLUMN, L"Edit", false}};
  RECT area{};
  GetClientRect(page, &area);
  std::vector<RECT> placed;
  for (const Row& row : rows) {
    SCOPED_TRACE("control " + std::to_string(row.id));
    const HWND control = about(row.id);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsWindowVisible(control));
    wchar_t cls[32] = {};
    GetClassNameW(control, cls, 32);
    EXPECT_EQ(lstrcmpiW(cls, row.cls), 0);
    const RECT rect = rect_in(control, page);
    EXPECT_TRUE(inside(rect, area)) << "reaches out of the page";
    for (const RECT& other : placed) {
      RECT common{};
      EXPECT_FALSE(IntersectRect(&common, &rect, &other)) << "overlaps another";
    }
    placed.push_back(rect);
    const std::wstring text = shown_text(control);
    EXPECT_FALSE(text.empty());
    if (row.button) {
      std::string why;
      EXPECT_TRUE(has_kind(control, ControlKind::kPushButton, why)) << why;
      EXPECT_EQ(text_misfit(control, ControlKind::kPushButton, text), "");
      continue;
    }
    // Statics and edits: every line unbroken within the client area, the edits' margins
    // included.
    const DWORD margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));
    const int side = row.cls == std::wstring(L"Edit") ? LOWORD(margins) + HIWORD(margins) : 0;
    const ControlTextDc dc(control);
    RECT client{};
    GetClientRect(control, &client);
    const std::vector<std::wstring> lines = split_lines(text);
    for (const std::wstring& line : lines) {
      EXPECT_LE(dc.extent(line, 0).cx + side, client.right) << "too wide: " << line.size();
    }
    // The key column ends in a line break, which opens no line to show.
    const size_t shown = lines.back().empty() ? lines.size() - 1 : lines.size();
    EXPECT_LE(static_cast<int>(shown) * dc.line_height(), client.bottom) << "too few lines";
  }
  EXPECT_EQ(split_lines(shown_text(about(IDC_ABOUT_KEY_LABELS))).size(), 19u);
  EXPECT_EQ(shown_text(about(IDC_ABOUT_VERSION)), L"Sabla ver.1.0.0.0 BETA");
  EXPECT_NE(shown_text(about(IDC_ABOUT_NOTICE)).find(L"https://"), std::wstring::npos);

  // Line i of the key column is drawn at the height of label i.
  const HWND labels = about(IDC_ABOUT_KEY_LABELS);
  const HWND keys = about(IDC_ABOUT_KEY_COLUMN);
  const int label_height = ControlTextDc(labels).line_height();
  const int offset = rect_in(keys, page).top - rect_in(labels, page).top;
  EXPECT_EQ(SendMessageW(keys, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  for (int line = 1; line < 19; ++line) {
    const LRESULT first = SendMessageW(keys, EM_LINEINDEX, line, 0);
    const LRESULT at = SendMessageW(keys, EM_POSFROMCHAR, first, 0);
    EXPECT_EQ(static_cast<short>(HIWORD(at)) + offset, line * label_height) << "line " << line;
  }

  // The DPI script keeps a picture of the page.
  EXPECT_TRUE(keep_dialog_shot(window(), L"options-about.bmp"));
}

TEST_F(AboutTabTest, TheKeyColumnFollowsTheSettingsEachTimeThePageIsShown) {
  ASSERT_NE(open(), nullptr);
  select(kAboutTab);
  EXPECT_EQ(key_lines()[1], L"[Shift]+[Enter]");
  struct Visit {
    int32_t without_shift;
    uint8_t ins_tag;
    uint8_t scroll_up;
    std::vector<std::wstring> lines;  // lines 1 to 3, and 15 and 16
  };
  const Visit visits[] = {
      {1, 0x0D, 0x21, {L"[Enter]", L"[Bs]", L"[Del]", L"[PgUp][PgDn][Wheel]", L"[Enter]"}},
      {0,
       0x20,
       0x26,
       {L"[Shift]+[SPACE]", L"[Shift]+[Bs]", L"[Shift]+[Del]", L"[\u2191][PgDn][Wheel]",
        L"[SPACE]"}},
  };
  for (const Visit& visit : visits) {
    // Changed elsewhere (the basic settings page) while the page was hidden.
    select(2);
    state.settings.dialog_ins_timetag[1] = visit.without_shift;
    state.settings.ins_tag = visit.ins_tag;
    state.settings.scroll_up = visit.scroll_up;
    select(kAboutTab);
    const std::vector<std::wstring> lines = key_lines();
    ASSERT_GE(lines.size(), 19u);
    EXPECT_EQ((std::vector<std::wstring>{lines[1], lines[2], lines[3], lines[15], lines[16]}),
              visit.lines);
  }
}

// A check that stands for the one started when the visualizer was shown: it answers `value`
// once the test lets it.
class HeldCheck {
 public:
  HeldCheck(PluginState& state, std::atomic<int32_t>& flag, int32_t value) {
    EXPECT_TRUE(state.version_checks.start(flag, [this, value] {
      while (!released_.load()) Sleep(1);
      return value;
    }));
  }
  ~HeldCheck() { release(); }
  void release() { released_.store(true); }

 private:
  std::atomic<bool> released_{false};
};

TEST_F(AboutTabTest, TheCheckAnswersWithoutHoldingTheWindowAndAsksAboutNewVersions) {
  struct CheckCase {
    const char* name;
    int32_t release;
    uint8_t ver_check_beta;
    int32_t beta;
    std::vector<int> answers;  // to the boxes in turn
    std::vector<int32_t> texts;
    std::vector<std::wstring> captions;
    size_t sites_opened;
  };
  const CheckCase cases[] = {
      {"failed", -1, 0, 0, {}, {40051}, {L"Sabla"}, 0},
      {"up to date", 0, 0, 1, {}, {40050}, {L"Sabla"}, 0},
      {"newer, yes", 1, 0, 1, {IDYES}, {40046}, {L"Sabla"}, 1},
      {"newer, no; beta newer, yes",
       1,
       1,
       1,
       {IDNO, IDYES},
       {40046, 40068},
       {L"Sabla", L"Sabla BETA"},
       1},
      {"up to date; beta newer, no",
       0,
       1,
       1,
       {IDOK, IDNO},
       {40050, 40068},
       {L"Sabla", L"Sabla BETA"},
       0},
      {"failed; beta not newer", -1, 1, 0, {}, {40051}, {L"Sabla"}, 0},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    opened_addresses.clear();
    state.settings.ver_check_beta = c.ver_check_beta;
    ASSERT_NE(open(), nullptr);
    select(kAboutTab);
    tab().set_version_server(kRefusedServer);
    MessageBoxAnswers boxes;
    boxes.answers.assign(c.answers.begin(), c.answers.end());
    HeldCheck release(state, state.requests.new_version_pending, c.release);
    HeldCheck beta(state, state.requests.new_beta_pending, c.beta);

    click(IDC_ABOUT_CHECK_VERSION);
    // The press came back at once, with the answer still to come.
    EXPECT_TRUE(tab().checking());
    EXPECT_TRUE(boxes.texts.empty());
    release.release();
    ASSERT_TRUE(pump_until([&] { return !boxes.texts.empty(); }));
    beta.release();
    ASSERT_TRUE(pump_until([&] { return !tab().checking(); }));
    state.version_checks.wait();

    std::vector<std::wstring> expected;
    for (int32_t id : c.texts) {
      const std::u16string_view text = state.strings.text(id);
      expected.emplace_back(text.begin(), text.end());
    }
    EXPECT_EQ(boxes.texts, expected);
    EXPECT_EQ(boxes.captions, c.captions);
    EXPECT_EQ(opened_addresses, std::vector<std::string>(c.sites_opened, std::string(kSiteUrl)));
    // A newer version once told is not told again by the idle processing.
    EXPECT_NE(state.requests.new_version_pending.load(), 1);
    if (c.ver_check_beta == 1) {
      EXPECT_NE(state.requests.new_beta_pending.load(), 1);
    }
    SendMessageW(window(), WM_COMMAND, IDCANCEL, 0);
  }
}

TEST_F(AboutTabTest, AnUnreachableServerIsReportedAsAFailedCheck) {
  ASSERT_NE(open(), nullptr);
  select(kAboutTab);
  tab().set_version_server(kRefusedServer);
  MessageBoxAnswers boxes;
  click(IDC_ABOUT_CHECK_VERSION);
  ASSERT_TRUE(pump_until([&] { return !tab().checking(); }));
  const std::u16string_view failed = state.strings.text(40051);
  EXPECT_EQ(boxes.texts, std::vector<std::wstring>{std::wstring(failed.begin(), failed.end())});
  EXPECT_EQ(state.requests.new_version_pending.load(), -1);
}

TEST_F(AboutTabTest, AnAnswerAfterTheWindowClosedIsLeftForTheIdleProcessing) {
  ASSERT_NE(open(), nullptr);
  select(kAboutTab);
  MessageBoxAnswers boxes;
  HeldCheck release(state, state.requests.new_version_pending, 1);
  click(IDC_ABOUT_CHECK_VERSION);
  SendMessageW(window(), WM_COMMAND, IDCANCEL, 0);
  ASSERT_EQ(window(), nullptr);
  release.release();
  state.version_checks.wait();
  for (int i = 0; i < 30; ++i, Sleep(10)) pump();
  EXPECT_TRUE(boxes.texts.empty());
  // Still 1: the next idle call asks, as after a check of its own.
  EXPECT_EQ(state.requests.new_version_pending.load(), 1);
}

TEST_F(AboutTabTest, TheSiteButtonAsksTheHostToOpenTheMakersSite) {
  ASSERT_NE(open(), nullptr);
  select(kAboutTab);
  click(IDC_ABOUT_MAKER_SITE);
  EXPECT_EQ(opened_addresses, std::vector<std::string>{std::string(kSiteUrl)});
}

TEST_F(AboutTabTest, OpeningTheSettingsFileCancelsTheWindowFirst) {
  const std::u16string settings_file = u16(folder / L"Sabla.ini");
  for (const std::u16string& path : {settings_file, std::u16string()}) {
    services.opened_files.clear();
    state.requests.reload_settings_request = false;
    state.settings.file_path = path;
    ASSERT_NE(open(), nullptr);
    select(1);
    // An edit that a cancel drops.
    SetWindowTextW(external_edit(), L"[00:01:00]unsaved");
    SendMessageW(external_edit(), EM_SETMODIFY, TRUE, 0);
    select(kAboutTab);
    click(IDC_ABOUT_OPEN_SETTINGS);
    EXPECT_EQ(window(), nullptr);
    EXPECT_FALSE(state.options.options_open);
    EXPECT_TRUE(state.requests.reload_settings_request);
    EXPECT_EQ(services.saved_settings, 0);
    // An empty path would open the current folder instead.
    EXPECT_EQ(services.opened_files,
              path.empty() ? std::vector<std::u16string>{} : std::vector<std::u16string>{path});
  }
}

TEST(ThemedPages, FromWindowsXpOn) {
  struct Case {
    DWORD major, minor;
    bool themed;
  };
  const Case cases[] = {{4, 10, false}, {5, 0, false}, {5, 1, true},
                        {5, 2, true},   {6, 0, true},  {10, 0, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(is_themed_pages_version(c.major, c.minor), c.themed) << c.major << "." << c.minor;
  }
}

}  // namespace
}  // namespace sabla::test
