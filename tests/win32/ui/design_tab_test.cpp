// The design page driven through its control ids over the real options window: what each field
// writes into the settings, the limits it keeps, the colour dialog, the font list, and that what
// it writes reads back the same from the settings file. The last test checks its layout.
#include <gtest/gtest.h>
#include <windows.h>
// Keep after windows.h, which it builds on.
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/settings_format.h"
#include "ui/design_tab_win32.h"
#include "ui/resources/design_tab_ids.h"
#include "win32/ui/control_fit.h"
#include "win32/ui/options_test_support.h"
#include "win32/ui/window_capture.h"

namespace sabla::test {
namespace {

constexpr int kDesignTab = 3;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

int CALLBACK note_face(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces) {
  if ((type & TRUETYPE_FONTTYPE) && font->lfFaceName[0] != L'@') {
    reinterpret_cast<std::set<std::wstring>*>(faces)->insert(font->lfFaceName);
  }
  return 1;
}

// The TrueType faces of the screen, asked through the family API the page does not use.
std::set<std::wstring> installed_faces() {
  std::set<std::wstring> faces;
  HDC dc = GetDC(nullptr);
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(dc, &all, &note_face, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(nullptr, dc);
  return faces;
}

class DesignTabTest : public OptionsWindowFixture {
 protected:
  void SetUp() override {
    OptionsWindowFixture::SetUp();
    faces = installed_faces();
    ASSERT_GE(faces.size(), 2u);
    Settings& s = state.settings;
    for (int index = 0; index <= kLyricsItem; ++index) s.items[index]->face_name = face(0);
    s.song_return_size = 20;
    s.visualizer = {1, 60, 2, 40, 6, 5};
    s.beginner = 1;
    s.show_status = {1, 1, 1};
    s.current_font_color = s.current_line_color = make_color(255, 128, 0);
    s.drawing_order = build_drawing_order(s.items);
  }

  std::u16string face(size_t n) const {
    auto it = faces.begin();
    std::advance(it, std::min(n, faces.size() - 1));
    return u16(*it);
  }
  DesignTab& design() {
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window(), DWLP_USER));
    return dynamic_cast<OptionsWindow&>(*dialog).design();
  }
  HWND page_window() { return design().window(); }
  HWND at(int id) { return GetDlgItem(page_window(), id); }
  void open_page() {
    ASSERT_NE(open(), nullptr);
    ASSERT_NE(page_window(), nullptr);
    state.requests.fonts_changed = false;
  }
  // Pasted whole: one change notification for the final text.
  void paste(int id, const wchar_t* text) { SetWindowTextW(at(id), text); }
  // Typed key by key, as the edit's own limits see it.
  void type(int id, const std::wstring& text) {
    SetFocus(at(id));
    SendMessageW(at(id), EM_SETSEL, 0, -1);
    for (wchar_t c : text) SendMessageW(at(id), WM_CHAR, c, 0);
  }
  void click(int id) { SendMessageW(at(id), BM_CLICK, 0, 0); }
  void choose(int id, int index) {
    SendMessageW(at(id), CB_SETCURSEL, index, 0);
    SendMessageW(page_window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(at(id)));
  }
  std::wstring shown(int id) { return text_of(at(id)); }
  bool checked(int id) { return SendMessageW(at(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool enabled(int id) { return IsWindowEnabled(at(id)) != 0; }
  std::wstring list_text(int id, int index) {
    wchar_t text[256] = {};
    SendMessageW(at(id), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::pair<int, int> spin_range(int id) {
    int low = 0, high = 0;
    SendMessageW(at(id), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    return {low, high};
  }
  DisplayItem& item(int index) { return *state.settings.items[index]; }

  std::set<std::wstring> faces;
};

TEST_F(DesignTabTest, OpensOnTheTitleWithEveryInstalledHorizontalTrueTypeFace) {
  item(kLyricsItem).font_size = 24;
  state.settings.song_return_size = 30;
  state.settings.show_status = {1, 0, 1};
  state.settings.visualizer = {0, 70, -3, -40, 12, 4};
  ASSERT_NO_FATAL_FAILURE(open_page());

  ASSERT_EQ(SendMessageW(at(IDC_DESIGN_ITEMS), CB_GETCOUNT, 0, 0), 8);
  for (int entry = 0; entry < 8; ++entry) {
    const std::u16string_view caption = state.strings.text(40015 + entry);
    EXPECT_EQ(list_text(IDC_DESIGN_ITEMS, entry), std::wstring(caption.begin(), caption.end()));
  }
  EXPECT_EQ(SendMessageW(at(IDC_DESIGN_ITEMS), CB_GETCURSEL, 0, 0), 0);
  std::set<std::wstring> listed;
  const auto count = SendMessageW(at(IDC_DESIGN_FONT), CB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) listed.insert(list_text(IDC_DESIGN_FONT, i));
  EXPECT_EQ(listed, faces);
  EXPECT_EQ(u16(shown(IDC_DESIGN_FONT)), face(0));

  EXPECT_EQ(shown(IDC_DESIGN_SIZE), L"20");
  EXPECT_EQ(shown(IDC_DESIGN_SPACING), L"30");
  EXPECT_EQ(spin_range(IDC_DESIGN_SIZE_SPIN), std::make_pair(1, 512));
  EXPECT_EQ(spin_range(IDC_DESIGN_SPACING_SPIN), std::make_pair(24, 512));
  EXPECT_EQ(spin_range(IDC_DESIGN_EXPANSION_SPIN), std::make_pair(-15, 15));
  EXPECT_EQ(spin_range(IDC_DESIGN_ROTATION_SPIN), std::make_pair(-255, 255));
  EXPECT_EQ(spin_range(IDC_DESIGN_RADIUS_SPIN), std::make_pair(0, 511));
  EXPECT_TRUE(checked(IDC_DESIGN_SHOWN));
  EXPECT_TRUE(checked(IDC_DESIGN_BOLD));
  EXPECT_FALSE(checked(IDC_DESIGN_ITALIC));
  EXPECT_TRUE(checked(IDC_DESIGN_HINTS));
  EXPECT_FALSE(checked(IDC_DESIGN_KEY_HELP));
  EXPECT_FALSE(checked(IDC_DESIGN_VISUALIZER));
  const std::vector<std::pair<int, std::wstring>> numbers = {{IDC_DESIGN_RADIUS, L"70"},
                                                             {IDC_DESIGN_EXPANSION, L"-3"},
                                                             {IDC_DESIGN_ROTATION, L"-40"},
                                                             {IDC_DESIGN_DOTS, L"12"},
                                                             {IDC_DESIGN_DOT_SIZE, L"4"}};
  for (const auto& [id, text] : numbers) EXPECT_EQ(shown(id), text) << id;
  // Building the page is not the user's doing: nothing changed, nothing to redraw.
  EXPECT_EQ(state.settings.visualizer[1], 70);
  EXPECT_EQ(state.settings.song_return_size, 30);
  EXPECT_FALSE(state.requests.fonts_changed);
}

TEST_F(DesignTabTest, EachEntryEnablesOnlyWhatItsItemHasAndShowsItsValues) {
  item(1).font_size = 31;
  item(1).font_italic = 1;
  item(1).font_weight = 0;
  item(1).face_name = face(1);
  item(15).draw_order = -1;
  ASSERT_NO_FATAL_FAILURE(open_page());
  struct Row {
    int entry;
    bool font, spacing, colour, playing, shown;
  };
  const std::vector<Row> rows = {
      {0, true, false, true, false, true},   {1, true, false, true, false, true},
      {4, true, true, true, true, true},     {5, false, false, true, false, true},
      {6, false, false, true, false, false}, {7, false, false, false, false, true},
      {3, true, false, true, false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.entry);
    choose(IDC_DESIGN_ITEMS, row.entry);
    for (int id : {IDC_DESIGN_FONT_LABEL, IDC_DESIGN_FONT, IDC_DESIGN_SIZE_LABEL, IDC_DESIGN_SIZE,
                   IDC_DESIGN_SIZE_SPIN, IDC_DESIGN_BOLD, IDC_DESIGN_ITALIC}) {
      EXPECT_EQ(enabled(id), row.font) << id;
    }
    for (int id : {IDC_DESIGN_SPACING_LABEL, IDC_DESIGN_SPACING, IDC_DESIGN_SPACING_SPIN}) {
      EXPECT_EQ(enabled(id), row.spacing) << id;
    }
    EXPECT_EQ(enabled(IDC_DESIGN_COLOUR), row.colour);
    EXPECT_EQ(enabled(IDC_DESIGN_PLAYING_FONT_COLOUR), row.playing);
    EXPECT_EQ(enabled(IDC_DESIGN_PLAYING_LINE_COLOUR), row.playing);
    EXPECT_EQ(checked(IDC_DESIGN_SHOWN), row.shown);
  }
  choose(IDC_DESIGN_ITEMS, 1);
  EXPECT_EQ(shown(IDC_DESIGN_SIZE), L"31");
  EXPECT_EQ(u16(shown(IDC_DESIGN_FONT)), face(1));
  EXPECT_FALSE(checked(IDC_DESIGN_BOLD));
  EXPECT_TRUE(checked(IDC_DESIGN_ITALIC));
  // Showing an entry writes nothing.
  EXPECT_EQ(item(1).font_size, 31);
  EXPECT_FALSE(state.requests.fonts_changed);
}

TEST_F(DesignTabTest, FontSizeIsStoredAsTypedButNeverBelowOne) {
  ASSERT_NO_FATAL_FAILURE(open_page());
  choose(IDC_DESIGN_ITEMS, 2);
  struct Row {
    const wchar_t* pasted;
    int32_t stored;
    const wchar_t* shown;
  };
  const std::vector<Row> rows = {
      {L"36", 36, L"36"},
      {L"0", 1, L"1"},
      {L"", 1, L"1"},
      {L"12px", 1, L"1"},
      {L"-7", 1, L"1"},
      {L"600", 600, L"600"},
      {L"99999999999", kMax, L"99999999999"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << "\"" << std::string(row.pasted, row.pasted + wcslen(row.pasted)) << "\"");
    state.requests.fonts_changed = false;
    paste(IDC_DESIGN_SIZE, row.pasted);
    EXPECT_EQ(item(2).font_size, row.stored);
    EXPECT_EQ(shown(IDC_DESIGN_SIZE), row.shown);
    EXPECT_TRUE(state.requests.fonts_changed);
  }
  EXPECT_EQ(item(0).font_size, 20);
  // Typed by hand the field takes seven characters at most.
  type(IDC_DESIGN_SIZE, L"123456789");
  EXPECT_EQ(shown(IDC_DESIGN_SIZE), L"1234567");
  EXPECT_EQ(item(2).font_size, 1234567);
}

TEST_F(DesignTabTest, TheLineSpacingFollowsTheLyricsFontAndNeverFallsBelowIt) {
  ASSERT_NO_FATAL_FAILURE(open_page());
  choose(IDC_DESIGN_ITEMS, 4);
  paste(IDC_DESIGN_SIZE, L"30");
  EXPECT_EQ(item(kLyricsItem).font_size, 30);
  EXPECT_EQ(state.settings.song_return_size, 30);
  EXPECT_EQ(shown(IDC_DESIGN_SPACING), L"30");
  EXPECT_EQ(spin_range(IDC_DESIGN_SPACING_SPIN), std::make_pair(30, 512));

  state.requests.fonts_changed = false;
  type(IDC_DESIGN_SPACING, L"45");  // passes through "4" on the way
  EXPECT_EQ(state.settings.song_return_size, 45);
  EXPECT_TRUE(state.requests.fonts_changed);
  paste(IDC_DESIGN_SIZE, L"25");
  EXPECT_EQ(state.settings.song_return_size, 45);
  EXPECT_EQ(spin_range(IDC_DESIGN_SPACING_SPIN), std::make_pair(25, 512));

  // Below the font the rows keep the font's height, and the field says so once it is left.
  type(IDC_DESIGN_SPACING, L"5");
  EXPECT_EQ(state.settings.song_return_size, 25);
  SetFocus(at(IDC_DESIGN_SIZE));
  EXPECT_EQ(shown(IDC_DESIGN_SPACING), L"25");
  for (const wchar_t* bad : {L"0", L"", L"-3", L"x"}) {
    paste(IDC_DESIGN_SPACING, bad);
    EXPECT_EQ(shown(IDC_DESIGN_SPACING), L"1");
    EXPECT_EQ(state.settings.song_return_size, 25);
  }
  // Another item's size leaves the lyrics' spacing alone.
  choose(IDC_DESIGN_ITEMS, 0);
  paste(IDC_DESIGN_SIZE, L"90");
  EXPECT_EQ(state.settings.song_return_size, 25);
}

TEST_F(DesignTabTest, VisualizerValuesAreStoredAsTypedWithTheDotsCappedAt255) {
  ASSERT_NO_FATAL_FAILURE(open_page());
  struct Row {
    int id;
    const wchar_t* pasted;
    size_t value;
    int32_t stored;
    const wchar_t* shown;
  };
  const std::vector<Row> rows = {
      {IDC_DESIGN_DOTS, L"300", 4, 255, L"255"},
      {IDC_DESIGN_DOTS, L"-4", 4, -4, L"-4"},
      {IDC_DESIGN_RADIUS, L"900", 1, 900, L"900"},
      {IDC_DESIGN_RADIUS, L"", 1, 0, L""},
      {IDC_DESIGN_EXPANSION, L"-20", 2, -20, L"-20"},
      {IDC_DESIGN_ROTATION, L"x", 3, 0, L"x"},
      {IDC_DESIGN_DOT_SIZE, L"99999999999", 5, kMax, L"99999999999"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.id << " " << row.stored);
    paste(row.id, row.pasted);
    EXPECT_EQ(state.settings.visualizer[row.value], row.stored);
    EXPECT_EQ(shown(row.id), row.shown);
  }
  type(IDC_DESIGN_DOTS, L"300");
  EXPECT_EQ(state.settings.visualizer[4], 255);
  EXPECT_EQ(shown(IDC_DESIGN_DOTS), L"255");

  const std::vector<std::pair<int, uint8_t*>> boxes = {
      {IDC_DESIGN_HINTS, &state.settings.beginner},
      {IDC_DESIGN_KEY_HELP, &state.settings.show_status[1]}};
  for (const auto& [id, value] : boxes) {
    click(id);
    EXPECT_EQ(*value, 0) << id;
    click(id);
    EXPECT_EQ(*value, 1) << id;
  }
  click(IDC_DESIGN_VISUALIZER);
  EXPECT_EQ(state.settings.visualizer[0], 0);
  click(IDC_DESIGN_VISUALIZER);
  EXPECT_EQ(state.settings.visualizer[0], 1);
  EXPECT_EQ(state.settings.show_status[0], 1);
  EXPECT_EQ(state.settings.show_status[2], 1);
}

TEST_F(DesignTabTest, ShowingAnItemAgainPutsItBackIntoTheDrawingOrder) {
  item(16).draw_order = -1;  // the artwork starts hidden
  item(5).draw_order = 100;  // and the genre has the value "表示" gives the artwork
  renumber_draw_order(state.settings.items);
  state.settings.drawing_order = build_drawing_order(state.settings.items);
  ASSERT_NO_FATAL_FAILURE(open_page());
  auto position = [&](int index) {
    const auto& order = state.settings.drawing_order;
    return std::find(order.begin(), order.end(), index) - order.begin();
  };

  click(IDC_DESIGN_SHOWN);  // the title goes
  EXPECT_EQ(item(0).draw_order, -1);
  EXPECT_TRUE(state.requests.fonts_changed);
  EXPECT_LT(position(0), position(14));
  click(IDC_DESIGN_SHOWN);
  EXPECT_EQ(item(0).draw_order, 200);
  EXPECT_GT(position(0), position(14));
  EXPECT_LT(position(0), position(1));

  choose(IDC_DESIGN_ITEMS, 7);
  EXPECT_FALSE(checked(IDC_DESIGN_SHOWN));
  click(IDC_DESIGN_SHOWN);
  // Two shown items never share a value: the one listed later moves on top, as a load would.
  EXPECT_EQ(item(5).draw_order, 100);
  EXPECT_GT(item(16).draw_order, 240);
  EXPECT_EQ(position(16), 16);
  std::set<int32_t> values;
  for (const auto& it : state.settings.items) {
    if (it->draw_order >= 0) {
      EXPECT_TRUE(values.insert(it->draw_order).second);
    }
  }
}

TEST_F(DesignTabTest, FontChoicesGoToTheChosenItemAndAMissingFaceIsReplaced) {
  item(1).face_name = u"No Such Face Sabla";
  ASSERT_NO_FATAL_FAILURE(open_page());
  choose(IDC_DESIGN_ITEMS, 1);
  const std::u16string fallback =
      faces.count(L"Microsoft Sans Serif") ? u"Microsoft Sans Serif" : face(0);
  EXPECT_EQ(u16(shown(IDC_DESIGN_FONT)), fallback);
  EXPECT_EQ(item(1).face_name, fallback);
  EXPECT_TRUE(state.requests.fonts_changed);

  choose(IDC_DESIGN_ITEMS, 3);
  const auto index = SendMessageW(at(IDC_DESIGN_FONT), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(faces.rbegin()->c_str()));
  choose(IDC_DESIGN_FONT, static_cast<int>(index));
  EXPECT_EQ(item(3).face_name, u16(*faces.rbegin()));
  click(IDC_DESIGN_BOLD);
  click(IDC_DESIGN_ITALIC);
  EXPECT_EQ(item(3).font_weight, 900);
  EXPECT_EQ(item(3).font_italic, 1);
  click(IDC_DESIGN_BOLD);
  click(IDC_DESIGN_ITALIC);
  EXPECT_EQ(item(3).font_weight, 0);
  EXPECT_EQ(item(3).font_italic, 0);
  EXPECT_EQ(item(0).face_name, face(0));
  EXPECT_EQ(item(0).font_weight, 900);
}

TEST_F(DesignTabTest, ColourButtonsAskFromTheCurrentColourAndKeepItWhenCancelled) {
  ASSERT_NO_FATAL_FAILURE(open_page());
  std::vector<std::pair<HWND, uint32_t>> asked;
  std::optional<uint32_t> answer;
  design().set_colour_chooser([&](HWND owner, uint32_t initial) {
    asked.emplace_back(owner, initial);
    return answer;
  });
  struct Row {
    int entry;
    int button;
    uint32_t* colour;
  };
  const std::vector<Row> rows = {
      {0, IDC_DESIGN_COLOUR, &item(0).color},
      {4, IDC_DESIGN_COLOUR, &item(kLyricsItem).color},
      {6, IDC_DESIGN_COLOUR, &item(15).color},
      {4, IDC_DESIGN_PLAYING_FONT_COLOUR, &state.settings.current_font_color},
      {4, IDC_DESIGN_PLAYING_LINE_COLOUR, &state.settings.current_line_color},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.button);
    choose(IDC_DESIGN_ITEMS, row.entry);
    const uint32_t before = *row.colour;
    asked.clear();
    answer.reset();
    click(row.button);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, window());
    EXPECT_EQ(asked[0].second, before);
    EXPECT_EQ(*row.colour, before);
    answer = make_color(1, 2, 3);
    click(row.button);
    EXPECT_EQ(*row.colour, make_color(1, 2, 3));
  }
  // The artwork has no colour of its own: its button asks nothing.
  choose(IDC_DESIGN_ITEMS, 7);
  asked.clear();
  SendMessageW(page_window(), WM_COMMAND, MAKEWPARAM(IDC_DESIGN_COLOUR, BN_CLICKED), 0);
  EXPECT_TRUE(asked.empty());
}

TEST_F(DesignTabTest, AColourChosenAfterTheWindowClosedUnderTheDialogIsDropped) {
  ASSERT_NO_FATAL_FAILURE(open_page());
  const uint32_t before = item(0).color;
  // The player hides the visualizer while the dialog is open: the window and its pages go.
  design().set_colour_chooser([&](HWND owner, uint32_t) -> std::optional<uint32_t> {
    SendMessageW(owner, WM_COMMAND, IDCANCEL, 0);
    return make_color(9, 9, 9);
  });
  click(IDC_DESIGN_COLOUR);
  EXPECT_EQ(window(), nullptr);
  EXPECT_EQ(item(0).color, before);
  EXPECT_TRUE(state.requests.reload_settings_request);
}

// Answers the common colour dialog: its red, green and blue fields, then OK; or cancels it.
class ColourDialogAnswer {
 public:
  explicit ColourDialogAnswer(std::optional<uint32_t> colour) : colour_(colour) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, &hook, nullptr, GetCurrentThreadId());
  }
  ~ColourDialogAnswer() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  ColourDialogAnswer(const ColourDialogAnswer&) = delete;
  ColourDialogAnswer& operator=(const ColourDialogAnswer&) = delete;

  HWND owner = nullptr;
  int seen = 0;

 private:
  static LRESULT CALLBACK hook(int code, WPARAM wparam, LPARAM lparam) {
    constexpr int kRedField = 706;
    const auto box = reinterpret_cast<HWND>(wparam);
    if (code == HCBT_ACTIVATE && current_ && GetDlgItem(box, kRedField)) {
      ++current_->seen;
      current_->owner = GetWindow(box, GW_OWNER);
      int answer = IDCANCEL;
      if (current_->colour_) {
        const uint32_t c = *current_->colour_;
        for (int part = 0; part < 3; ++part) {
          SetDlgItemInt(box, kRedField + part, (c >> (8 * part)) & 0xFF, FALSE);
        }
        answer = IDOK;
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static inline ColourDialogAnswer* current_ = nullptr;
  std::optional<uint32_t> colour_;
  HHOOK hook_ = nullptr;
};

TEST_F(DesignTabTest, TheCommonColourDialogIsOwnedByTheWindowAndCancellingChangesNothing) {
  ASSERT_NO_FATAL_FAILURE(open_page());
  const uint32_t before = state.settings.current_line_color;
  choose(IDC_DESIGN_ITEMS, 4);
  {
    ColourDialogAnswer cancel(std::nullopt);
    click(IDC_DESIGN_PLAYING_LINE_COLOUR);
    EXPECT_EQ(cancel.seen, 1);
    EXPECT_EQ(cancel.owner, window());
  }
  EXPECT_EQ(state.settings.current_line_color, before);
  {
    ColourDialogAnswer ok(make_color(10, 20, 30));
    click(IDC_DESIGN_PLAYING_LINE_COLOUR);
    EXPECT_EQ(ok.seen, 1);
  }
  EXPECT_EQ(state.settings.current_line_color, make_color(10, 20, 30));
}

TEST_F(DesignTabTest, WhatThePageWritesReadsBackTheSameFromTheSettingsFile) {
  item(2).face_name = u"Missing Face Sabla";
  ASSERT_NO_FATAL_FAILURE(open_page());
  choose(IDC_DESIGN_ITEMS, 4);
  paste(IDC_DESIGN_SIZE, L"40");
  type(IDC_DESIGN_SPACING, L"3");  // below the font: kept at the font
  paste(IDC_DESIGN_DOTS, L"9999");
  paste(IDC_DESIGN_ROTATION, L"-99999999999");
  paste(IDC_DESIGN_EXPANSION, L"junk");
  click(IDC_DESIGN_ITALIC);
  click(IDC_DESIGN_KEY_HELP);
  choose(IDC_DESIGN_ITEMS, 2);  // the missing face is replaced
  paste(IDC_DESIGN_SIZE, L"0");
  click(IDC_DESIGN_BOLD);
  choose(IDC_DESIGN_ITEMS, 5);
  click(IDC_DESIGN_SHOWN);

  Settings reread;
  reset_settings(reread, SettingsDefaults{u"C:\\Docs", u"Tahoma"});
  read_settings_text(reread, format_settings_text(state.settings));
  finish_settings_read(reread);
  const Settings& now = state.settings;
  EXPECT_EQ(reread.song_return_size, now.song_return_size);
  EXPECT_EQ(reread.visualizer, now.visualizer);
  EXPECT_EQ(reread.show_status, now.show_status);
  EXPECT_EQ(reread.beginner, now.beginner);
  EXPECT_EQ(reread.current_font_color, now.current_font_color);
  EXPECT_EQ(reread.current_line_color, now.current_line_color);
  EXPECT_EQ(reread.drawing_order, now.drawing_order);
  for (int index : {0, 1, 2, 3, 4, 14, 15, 16}) {
    SCOPED_TRACE(index);
    const DisplayItem& a = *reread.items[index];
    const DisplayItem& b = *now.items[index];
    EXPECT_EQ(a.draw_order, b.draw_order);
    EXPECT_EQ(a.color, b.color);
    if (index <= kLyricsItem) {
      EXPECT_EQ(a.face_name, b.face_name);
      EXPECT_EQ(a.font_size, b.font_size);
      EXPECT_EQ(a.font_weight, b.font_weight);
      EXPECT_EQ(a.font_italic, b.font_italic);
    }
  }
}

// The page as the user sees it on its tab: every control lies inside the page and the page
// inside the tab's display area, no two overlap, and every text shows whole.
TEST_F(DesignTabTest, EveryControlAndItsTextShowsWholeOnThePage) {
  ASSERT_NO_FATAL_FAILURE(open_page());
  const HWND tabs = GetDlgItem(window(), IDC_OPTIONS_TABS);
  SendMessageW(tabs, TCM_SETCURSEL, kDesignTab, 0);
  NMHDR header{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(window(), WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
  const HWND page = page_window();
  ASSERT_TRUE(IsWindowVisible(page));

  const RECT display = tab_display_area(window(), IDC_OPTIONS_TABS);
  EXPECT_TRUE(inside(rect_in(page, window()), display));

  RECT area{};
  GetClientRect(page, &area);
  std::vector<std::pair<HWND, RECT>> placed;
  int checked_texts = 0;
  for (HWND control = GetWindow(page, GW_CHILD); control;
       control = GetWindow(control, GW_HWNDNEXT)) {
    const std::wstring text = text_of(control);
    SCOPED_TRACE(testing::Message() << "control " << GetDlgCtrlID(control) << " "
                                    << std::string(text.begin(), text.end()).size());
    EXPECT_TRUE(IsWindowVisible(control));
    const RECT rect = rect_in(control, page);
    EXPECT_TRUE(inside(rect, area)) << "reaches out of the page";
    wchar_t class_name[64] = {};
    GetClassNameW(control, class_name, 64);
    const std::wstring cls = class_name;
    const HWND buddy = lstrcmpiW(cls.c_str(), UPDOWN_CLASSW) == 0
                           ? reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0))
                           : nullptr;
    for (const auto& [other, other_rect] : placed) {
      // A spin control lies over its field's border, as the system places it.
      if (other == buddy) continue;
      RECT common{};
      EXPECT_FALSE(IntersectRect(&common, &rect, &other_rect))
          << "overlaps control " << GetDlgCtrlID(other);
    }
    placed.emplace_back(control, rect);

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
      const ControlKind kind = (style & BS_TYPEMASK) == BS_AUTOCHECKBOX ? ControlKind::kCheckBox
                                                                        : ControlKind::kPushButton;
      std::string why;
      EXPECT_TRUE(has_kind(control, kind, why)) << why;
      EXPECT_EQ(text_misfit(control, kind, text), "");
      ++checked_texts;
    } else if (lstrcmpiW(cls.c_str(), L"Static") == 0 && !text.empty()) {
      RECT client{};
      GetClientRect(control, &client);
      const ControlTextDc dc(control);
      const SIZE needed = dc.extent(text, 0);
      EXPECT_LE(needed.cx, client.right);
      EXPECT_LE(needed.cy, client.bottom);
      ++checked_texts;
    } else if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0) {
      std::string why;
      EXPECT_TRUE(has_kind(control, ControlKind::kDropDownList, why)) << why;
      // The widest entry shows whole beside the arrow.
      RECT client{};
      GetClientRect(control, &client);
      const ControlTextDc dc(control);
      const int room = client.right - GetSystemMetrics(SM_CXVSCROLL) - dc.scaled(6);
      const auto count = SendMessageW(control, CB_GETCOUNT, 0, 0);
      for (int i = 0; i < count && GetDlgCtrlID(control) == IDC_DESIGN_ITEMS; ++i) {
        wchar_t entry[256] = {};
        SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        EXPECT_LE(dc.extent(entry, 0).cx, room) << i;
      }
    } else if (lstrcmpiW(cls.c_str(), L"Edit") == 0) {
      // The widest values of the spin ranges show whole.
      RECT client{};
      SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&client));
      const ControlTextDc dc(control);
      EXPECT_LE(dc.extent(L"-255", 0).cx, client.right - client.left);
      EXPECT_LE(dc.extent(L"512", 0).cx, client.right - client.left);
    }
  }
  EXPECT_EQ(checked_texts, 9 + 9);  // buttons and check boxes, labels

  // A picture for the eye, where the DPI check keeps its pictures.
  EXPECT_TRUE(keep_dialog_shot(window(), L"options-design.bmp"));
}

}  // namespace
}  // namespace sabla::test
