// The options window as it shows at the screen's DPI: every visible control of the frame and of
// the two editor pages is of its kind, lies whole inside its page and overlaps no other, and its
// Japanese text shows whole. The DPI script runs this at 96 and at 144 DPI and keeps the
// pictures it asks for through SABLA_DIALOG_SHOTS.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "win32/ui/control_fit.h"
#include "win32/ui/options_test_support.h"
#include "win32/ui/window_capture.h"
#include "ui/dialog_win32.h"

namespace sabla::test {
namespace {

std::wstring shown_text(HWND control) {
  const std::u16string text = window_text(control);
  return std::wstring(text.begin(), text.end());
}

struct ControlRow {
  int id;
  ControlKind kind;
};

const std::vector<ControlRow> kFrameControls = {
    {IDOK, ControlKind::kDefaultButton},       {IDCANCEL, ControlKind::kPushButton},
    {IDC_APPLY, ControlKind::kPushButton},     {IDC_HELP_BUTTON, ControlKind::kPushButton},
    {IDC_OPTIONS_TABS, ControlKind::kTabs},
};

const std::vector<ControlRow> kInSongControls = {
    {IDC_IN_SONG_EDIT, ControlKind::kLyricsEdit},
    {IDC_IN_SONG_SEARCH, ControlKind::kPushButton},
    {IDC_IN_SONG_SLOTS, ControlKind::kDropDownList},
    {IDC_IN_SONG_APPLY_PREVIOUS, ControlKind::kPushButton},
    {IDC_IN_SONG_REWIND, ControlKind::kPushButton},
    {IDC_IN_SONG_FORWARD, ControlKind::kPushButton},
    {IDC_IN_SONG_APPLY_NEXT, ControlKind::kPushButton},
    {IDC_IN_SONG_TOOLS, ControlKind::kPushLikeCheckBox},
    {IDC_IN_SONG_PATH, ControlKind::kPathEdit},
};

const std::vector<ControlRow> kExternalControls = {
    {IDC_EXTERNAL_EDIT, ControlKind::kLyricsEdit},
    {IDC_EXTERNAL_SEARCH, ControlKind::kPushButton},
    {IDC_EXTERNAL_SLOTS, ControlKind::kDropDownList},
    {IDC_INSERT_TIMETAG, ControlKind::kMultiLineButton},
    {IDC_EXTERNAL_APPLY_PREVIOUS, ControlKind::kPushButton},
    {IDC_EXTERNAL_REWIND, ControlKind::kPushButton},
    {IDC_EXTERNAL_FORWARD, ControlKind::kPushButton},
    {IDC_EXTERNAL_APPLY_NEXT, ControlKind::kPushButton},
    {IDC_EXTERNAL_TOOLS, ControlKind::kPushLikeCheckBox},
    {IDC_EXTERNAL_PATH, ControlKind::kPathEdit},
};

bool overlap(const RECT& a, const RECT& b) {
  RECT common{};
  return IntersectRect(&common, &a, &b) != 0;
}

class DialogLayoutTest : public OptionsWindowFixture {
 protected:
  // Checks the controls of `rows` on `parent`, shown as the user sees them.
  void check_controls(HWND parent, const std::vector<ControlRow>& rows, const char* where) {
    RECT area{};
    GetClientRect(parent, &area);
    std::vector<RECT> placed;
    for (const ControlRow& row : rows) {
      SCOPED_TRACE(std::string(where) + ", control " + std::to_string(row.id));
      const HWND control = GetDlgItem(parent, row.id);
      ASSERT_NE(control, nullptr);
      EXPECT_TRUE(IsWindowVisible(control));
      std::string why;
      EXPECT_TRUE(has_kind(control, row.kind, why)) << why;
      const RECT rect = rect_in(control, parent);
      EXPECT_TRUE(inside(rect, area)) << "reaches out of its window";
      for (const RECT& other : placed) EXPECT_FALSE(overlap(rect, other)) << "overlaps another";
      placed.push_back(rect);
      if (row.kind != ControlKind::kLyricsEdit && row.kind != ControlKind::kPathEdit &&
          row.kind != ControlKind::kDropDownList && row.kind != ControlKind::kTabs) {
        EXPECT_EQ(text_misfit(control, row.kind, shown_text(control)), "");
      }
    }
  }

  void check_page(int tab, int template_id, const std::vector<ControlRow>& rows,
                  const wchar_t* shot_name) {
    select(tab);
    const HWND shown = page(template_id);
    ASSERT_TRUE(IsWindowVisible(shown));
    // The page lies whole in the tab's display area, below the tab labels.
    const RECT display = tab_display_area(window(), IDC_OPTIONS_TABS);
    EXPECT_TRUE(inside(rect_in(shown, window()), display));
    check_controls(shown, rows, "page");
    keep_shot(shot_name);
  }

  void select(int tab) {
    const HWND tabs = GetDlgItem(window(), IDC_OPTIONS_TABS);
    SendMessageW(tabs, TCM_SETCURSEL, tab, 0);
    NMHDR header{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(window(), WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
    RedrawWindow(window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  void keep_shot(const wchar_t* name) { EXPECT_TRUE(keep_dialog_shot(window(), name)); }
};

TEST_F(DialogLayoutTest, EveryControlOfBothEditorsShowsWholeWithItsText) {
  state.song.has_song_lyrics = true;
  state.song.song_lyrics = u"[00:01:00]一行目の歌詞\n[00:05:00]二行目";
  ASSERT_NE(open(), nullptr);
  SetWindowPos(window(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
  check_controls(window(), kFrameControls, "frame");

  check_page(0, IDD_IN_SONG_LYRICS, kInSongControls, L"options-in-song.bmp");
  check_page(1, IDD_EXTERNAL_TEXT, kExternalControls, L"options-external.bmp");

  // The timetag button has room for the caption of either Shift setting.
  const HWND insert = control(IDD_EXTERNAL_TEXT, IDC_INSERT_TIMETAG);
  for (int caption : {40062, 40063}) {
    const std::u16string_view text = state.strings.text(caption);
    EXPECT_EQ(text_misfit(insert, ControlKind::kMultiLineButton,
                          std::wstring(text.begin(), text.end())),
              "")
        << caption;
  }
}

TEST_F(DialogLayoutTest, TheHintForOldPlayersShowsWholeInsideTheTabs) {
  state.host.host_major_version = 4;
  ASSERT_NE(open(), nullptr);
  select(0);
  const HWND hint = GetDlgItem(window(), IDC_OLD_HOST_HINT);
  ASSERT_TRUE(IsWindowVisible(hint));
  EXPECT_EQ(text_misfit(hint, ControlKind::kCentredStatic, shown_text(hint)), "");
  EXPECT_TRUE(inside(rect_in(hint, window()),
                     rect_in(GetDlgItem(window(), IDC_OPTIONS_TABS), window())));
  keep_shot(L"options-old-player.bmp");
}

}  // namespace
}  // namespace sabla::test
