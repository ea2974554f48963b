// The keys of the lyric edit boxes, sent as the host's loop would deliver them: key down, then
// the character TranslateMessage makes of it.
#include <gtest/gtest.h>

#include <array>

#include "win32/ui/options_test_support.h"

namespace sabla::test {
namespace {

class LyricEditKeysTest : public OptionsWindowFixture {
 protected:
  void SetUp() override {
    OptionsWindowFixture::SetUp();
    state.settings.ins_tag = VK_RETURN;
    state.clock.play_time = 62030;
    ASSERT_NE(open(), nullptr);
    edit = external_edit();
  }
  void TearDown() override {
    hold({});
    OptionsWindowFixture::TearDown();
  }
  // The keys the thread sees as held.
  static void hold(std::initializer_list<int> keys) {
    std::array<BYTE, 256> state{};
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state.data());
  }
  void key(HWND target, int virtual_key, wchar_t character = 0) {
    SendMessageW(target, WM_KEYDOWN, virtual_key, 0);
    if (character) SendMessageW(target, WM_CHAR, character, 0);
    SendMessageW(target, WM_KEYUP, virtual_key, 0);
  }
  void put(const std::wstring& text, DWORD caret) {
    SetWindowTextW(edit, text.c_str());
    SendMessageW(edit, EM_SETSEL, caret, caret);
  }
  DWORD caret() const {
    DWORD start = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return start;
  }
  HWND edit = nullptr;
};

TEST_F(LyricEditKeysTest, TheTimetagKeyStampsLineStartsAndMovesDown) {
  struct Case {
    std::wstring text;
    DWORD caret;
    uint8_t short_tags;
    std::wstring stamped;
    DWORD caret_after;
  };
  const Case cases[] = {
      {L"a\r\nb\r\nc\r\nd", 7, 0, L"a\r\nb\r\n[01:02:03]c\r\nd", 19},
      {L"x\r\n[00:59]y\r\nz", 3, 0, L"x\r\n[01:02:03]y\r\nz", 16},
      {L"one\r\nlast", 6, 0, L"one\r\n[01:02:03]last\r\n", 21},
      {L"a\r\nb", 0, 1, L"[01:02]a\r\nb", 10},
  };
  hold({VK_SHIFT, VK_RETURN});
  for (const Case& c : cases) {
    state.settings.input_timetag_digit = c.short_tags;
    put(c.text, c.caret);
    key(edit, VK_RETURN, L'\r');
    EXPECT_EQ(text_of(edit), c.stamped) << text_of(edit);
    EXPECT_EQ(caret(), c.caret_after);
  }
  EXPECT_TRUE(modified(edit));
}

TEST_F(LyricEditKeysTest, CaretModeOverwritesTheTagUnderTheCaret) {
  state.settings.dialog_ins_timetag = {1, 0};
  hold({VK_SHIFT, VK_RETURN});
  put(L"ab[00:10:00]cd", 5);
  key(edit, VK_RETURN, L'\r');
  EXPECT_EQ(text_of(edit), L"ab[01:02:03]cd");
  EXPECT_EQ(caret(), 12u);
  state.clock.play_time = 599999;
  put(L"", 0);
  key(edit, VK_RETURN, L'\r');
  EXPECT_EQ(text_of(edit), L"[09:59:99]");
}

TEST_F(LyricEditKeysTest, OneKeyDeletesAWholeTagAndCtrlZBringsItBack) {
  hold({VK_SHIFT});
  put(L"x[00:12:34]y", 11);
  key(edit, VK_BACK, L'\b');
  EXPECT_EQ(text_of(edit), L"xy");
  EXPECT_EQ(caret(), 1u);
  SendMessageW(edit, EM_UNDO, 0, 0);
  EXPECT_EQ(text_of(edit), L"x[00:12:34]y");

  put(L"x[00:12:34]y", 6);  // between the 1 and the 2
  key(edit, VK_DELETE);
  EXPECT_EQ(text_of(edit), L"xy");

  // Without Shift the keys are ordinary.
  hold({});
  put(L"x[00:12:34]y", 11);
  key(edit, VK_BACK, L'\b');
  EXPECT_EQ(text_of(edit), L"x[00:12:34y");
}

TEST_F(LyricEditKeysTest, WithShiftNotNeededTheGateTurnsAround) {
  state.settings.dialog_ins_timetag = {0, 1};
  hold({});
  put(L"abc", 2);
  key(edit, VK_BACK, L'\b');
  EXPECT_EQ(text_of(edit), L"ac");
  hold({VK_SHIFT, VK_RETURN});
  key(edit, VK_RETURN, L'\r');
  EXPECT_EQ(text_of(edit), L"a\r\nc");
  hold({VK_RETURN});
  key(edit, VK_RETURN, L'\r');
  EXPECT_EQ(text_of(edit), L"a\r\n[01:02:03]c\r\n");
}

TEST_F(LyricEditKeysTest, TheTimetagKeyTypesNormallyOnceAnotherSongPlays) {
  state.song.file_name = u"next.mp3";
  hold({VK_SHIFT, VK_RETURN});
  put(L"ab", 1);
  key(edit, VK_RETURN, L'\r');
  EXPECT_EQ(text_of(edit), L"a\r\nb");
}

TEST_F(LyricEditKeysTest, PageKeysWindTheSongF5ReloadsAndCtrlASelectsAll) {
  for (HWND target : {edit, in_song_edit()}) {
    player.log.clear();
    SendMessageW(target, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(target, WM_KEYUP, VK_NEXT, 0);
    SendMessageW(target, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(player.log, (std::vector<std::string>{"play", "forward", "pause", "play", "play",
                                                    "rewind"}));
  }
  const int runs = services.pipeline_runs;
  key(edit, VK_F5);
  EXPECT_EQ(services.pipeline_runs, runs + 1);

  hold({VK_CONTROL});
  put(L"all of it", 3);
  key(edit, 'A');
  DWORD start = 1, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 9u);
}

TEST_F(LyricEditKeysTest, WholeTextToolsRewriteTheTagsAndMarkTheEditor) {
  put(L"[00:12]abc[00:13:45]", 0);
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  command(IDD_EXTERNAL_TEXT, IDM_TAGS_TO_LONG);
  EXPECT_EQ(text_of(edit), L"[00:12:00]abc[00:13:45]");
  EXPECT_TRUE(modified(edit));
  command(IDD_EXTERNAL_TEXT, IDM_TAGS_TO_SHORT);
  EXPECT_EQ(text_of(edit), L"[00:12]abc[00:13]");

  // The menu's timetag settings and the page's buttons stay in step.
  command(IDD_EXTERNAL_TEXT, IDM_SHIFT_NOT_NEEDED);
  EXPECT_EQ(state.settings.dialog_ins_timetag[1], 1);
  EXPECT_EQ(text_of(control(IDD_EXTERNAL_TEXT, IDC_INSERT_TIMETAG)), L"タイムタグ挿入\r\n（Enter）");
  command(IDD_EXTERNAL_TEXT, IDM_INSERT_AT_CARET);
  EXPECT_EQ(state.settings.dialog_ins_timetag[0], 1);
  EXPECT_EQ(IsDlgButtonChecked(page(IDD_EXTERNAL_TEXT), IDC_INSERT_AT_CARET), BST_CHECKED);
  command(IDD_EXTERNAL_TEXT, IDM_INPUT_SHORT_TAGS);
  EXPECT_EQ(state.settings.input_timetag_digit, 1);
}

}  // namespace
}  // namespace sabla::test
