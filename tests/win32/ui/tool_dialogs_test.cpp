// The three tool dialogs from the built library's templates, driven through their control ids
// while they run modally.
#include "ui/tool_dialogs_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win32/host/sabla_dll.h"
#include "ui/resources/resource.h"

namespace sabla {
namespace {

using Step = std::function<void(HWND dialog)>;

// Plays `steps` against the next dialog the calling thread opens, as soon as it has handled
// WM_INITDIALOG and before its modal loop runs; a dialog ended by then never needs to appear,
// which keeps each case quick under Wine. The dialog is owned by a hidden window of the script:
// a modal dialog disables its owner until it ends, which tells whether the dialog is still
// open. One that is still open after the steps is cancelled from a timer, so a dialog that
// fails to close ends the test instead of hanging it.
class DialogScript {
 public:
  explicit DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    current() = this;
    owner_ = CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           nullptr, nullptr);
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &DialogScript::after_message, nullptr,
                              GetCurrentThreadId());
  }
  ~DialogScript() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (timer_) KillTimer(nullptr, timer_);
    if (owner_) DestroyWindow(owner_);
    current() = nullptr;
  }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  HWND owner() const { return owner_; }
  size_t steps_run() const { return next_; }
  bool cancelled_by_timer() const { return cancelled_; }

  static DialogScript& running() { return *current(); }
  bool dialog_open() const { return !IsWindowEnabled(owner_); }

 private:
  static DialogScript*& current() {
    static DialogScript* script = nullptr;
    return script;
  }

  static LRESULT CALLBACK after_message(int code, WPARAM w, LPARAM l) {
    DialogScript* script = current();
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(l);
    if (code == HC_ACTION && script && message->message == WM_INITDIALOG && !script->dialog_) {
      script->play(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, w, l);
  }

  void play(HWND dialog) {
    dialog_ = dialog;
    while (next_ < steps_.size()) steps_[next_++](dialog);
    if (dialog_open()) timer_ = SetTimer(nullptr, 0, 100, &DialogScript::cancel_late);
  }

  static void CALLBACK cancel_late(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript* script = current();
    if (!script || !script->dialog_open()) return;
    script->cancelled_ = true;
    PostMessageW(script->dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }

  std::vector<Step> steps_;
  size_t next_ = 0;
  HWND owner_ = nullptr;
  HWND dialog_ = nullptr;
  HHOOK hook_ = nullptr;
  UINT_PTR timer_ = 0;
  bool cancelled_ = false;
};

std::u16string text_of(HWND window) {
  wchar_t text[256] = {};
  const int length = GetWindowTextW(window, text, 256);
  return std::u16string(reinterpret_cast<const char16_t*>(text), length > 0 ? length : 0);
}

std::u16string value_box(HWND dialog) { return text_of(GetDlgItem(dialog, IDC_TOOL_VALUE)); }

std::string narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

Step type(std::u16string text) {
  return [text](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_TOOL_VALUE, reinterpret_cast<const wchar_t*>(text.c_str()));
  };
}

Step press(int id) {
  return [id](HWND dialog) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  };
}

Step close_box() {
  return [](HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); };
}

// The dialog is still open, showing `text` in its value box.
Step expect_open(std::u16string text) {
  return [text](HWND dialog) {
    EXPECT_TRUE(DialogScript::running().dialog_open());
    EXPECT_EQ(value_box(dialog), text) << "expected \"" << narrow(text) << "\"";
  };
}

class ToolDialogs : public testing::Test {
 protected:
  HINSTANCE module() const { return dll_.get(); }
  void SetUp() override { ASSERT_NE(dll_.get(), nullptr) << "Sabla.dll is not built"; }

 private:
  test::SablaDll dll_;
};

TEST_F(ToolDialogs, ShiftDialog) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    bool accepted;
    int32_t units;
  } cases[] = {
      {"initial zero", {expect_open(u"0"), press(IDOK)}, true, 0},
      {"plus", {type(u"+5"), press(IDOK)}, true, 5},
      {"minus", {type(u"-5"), press(IDOK)}, true, -5},
      {"digit group", {type(u"1,000"), press(IDOK)}, true, 1000},
      {"invalid stays open",
       {type(u"5-3"), press(IDOK), expect_open(u"5-3"), type(u"--5"), press(IDOK),
        expect_open(u"--5"), type(u"x"), press(IDOK), expect_open(u"x"), type(u"7"), press(IDOK)},
       true,
       7},
      {"too large",
       {type(u"99999999999999999999"), press(IDOK), expect_open(u"1000"), press(IDOK)},
       true,
       1000},
      {"too small", {type(u"-1001"), press(IDOK), expect_open(u"-1000"), press(IDOK)}, true, -1000},
      {"cancel", {type(u"7"), press(IDCANCEL)}, false, 0},
      {"close box", {type(u"7"), close_box()}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t units = 12345;
    DialogScript script(c.steps);
    EXPECT_EQ(ask_shift_units(script.owner(), module(), units), c.accepted);
    EXPECT_EQ(units, c.units);
    EXPECT_EQ(script.steps_run(), c.steps.size());
    EXPECT_FALSE(script.cancelled_by_timer()) << "the steps left the dialog open";
  }
}

TEST_F(ToolDialogs, LineBreakDialog) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    bool accepted;
    int32_t width;
  } cases[] = {
      {"initial twenty", {expect_open(u"20"), press(IDOK)}, true, 20},
      {"any number", {type(u"300"), press(IDOK)}, true, 300},
      {"leading integer", {type(u"  12abc"), press(IDOK)}, true, 12},
      {"no number", {type(u"abc"), press(IDOK)}, true, 0},
      // Only the first 32 characters are read: 31 zeros and a 7, not the 9 behind them.
      {"32 characters", {type(std::u16string(31, u'0') + u"79"), press(IDOK)}, true, 7},
      {"cancel", {type(u"30"), press(IDCANCEL)}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t width = 12345;
    DialogScript script(c.steps);
    EXPECT_EQ(ask_line_break_width(script.owner(), module(), width), c.accepted);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(script.steps_run(), c.steps.size());
    EXPECT_FALSE(script.cancelled_by_timer()) << "the steps left the dialog open";
  }
}

TEST_F(ToolDialogs, ScaleDialog) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    bool accepted;
    float factor;
  } cases[] = {
      {"initial zero", {expect_open(u"0.0"), press(IDOK)}, true, 0.0f},
      {"half", {type(u"0.5"), press(IDOK)}, true, 0.5f},
      {"too large", {type(u"2.5"), press(IDOK), expect_open(u"2.0"), press(IDOK)}, true, 2.0f},
      {"negative", {type(u"-1"), press(IDOK), expect_open(u"0.0"), press(IDOK)}, true, 0.0f},
      // Not a number: the dialog waits for a correction instead of zeroing every tag.
      {"no number",
       {type(u"x"), press(IDOK), expect_open(u"x"), type(u"nan"), press(IDOK), expect_open(u"nan"),
        type(u"1.5"), press(IDOK)},
       true,
       1.5f},
      {"cancel keeps the factor", {type(u"1.5"), press(IDCANCEL)}, false, 9.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    float factor = 9.0f;
    DialogScript script(c.steps);
    EXPECT_EQ(ask_scale_factor(script.owner(), module(), factor), c.accepted);
    EXPECT_EQ(factor, c.factor);
    EXPECT_EQ(script.steps_run(), c.steps.size());
    EXPECT_FALSE(script.cancelled_by_timer()) << "the steps left the dialog open";
  }
}

// The width and height `text` needs in `window`'s font, wrapped at `wrap_width` when given.
SIZE text_extent(HWND window, const std::u16string& text, int wrap_width = 0) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  RECT r{0, 0, wrap_width, 0};
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &r,
            DT_CALCRECT | (wrap_width ? DT_WORDBREAK : 0));
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {r.right - r.left, r.bottom - r.top};
}

struct Layout {
  std::u16string caption;
  std::u16string label;
  std::u16string initial_text;
  bool has_spin_range;
  int spin_low;
  int spin_high;
};

// What the user sees: captions and labels, the frame, the spin box on the value box, and
// every text fitting its control.
void check_layout(HWND dialog, const Layout& expected) {
  EXPECT_EQ(text_of(dialog), expected.caption);
  EXPECT_EQ(value_box(dialog), expected.initial_text);
  EXPECT_EQ(text_of(GetDlgItem(dialog, IDOK)), u"OK");
  EXPECT_EQ(text_of(GetDlgItem(dialog, IDCANCEL)), u"\uFF77\uFF6C\uFF9D\uFF7E\uFF99");
  EXPECT_TRUE(SendMessageW(GetDlgItem(dialog, IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);

  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_POPUP), WS_CAPTION | WS_SYSMENU | WS_POPUP);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  RECT units{0, 0, 162, 38};
  MapDialogRect(dialog, &units);
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, units.right);
  EXPECT_EQ(client.bottom, units.bottom);

  HWND spin = GetDlgItem(dialog, IDC_TOOL_SPIN);
  wchar_t spin_class[32] = {};
  GetClassNameW(spin, spin_class, 32);
  EXPECT_EQ(std::wstring(spin_class), L"msctls_updown32");
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)),
            GetDlgItem(dialog, IDC_TOOL_VALUE));
  EXPECT_TRUE(GetWindowLongW(spin, GWL_STYLE) & UDS_SETBUDDYINT);
  if (expected.has_spin_range) {
    int low = 0;
    int high = 0;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, expected.spin_low);
    EXPECT_EQ(high, expected.spin_high);
  }

  bool label_found = false;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT box{};
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, client.right);
    EXPECT_LE(box.bottom, client.bottom);

    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    const std::wstring class_name(name);
    const std::u16string text = text_of(child);
    if (class_name == L"Static") {
      label_found = true;
      EXPECT_EQ(text, expected.label);
      // Laid out without wrapping, the label must fit its control in both directions.
      const SIZE needed = text_extent(child, text);
      EXPECT_LE(needed.cx, box.right - box.left) << "label too narrow";
      EXPECT_LE(needed.cy, box.bottom - box.top) << "label too low";
    } else if (class_name == L"Button") {
      const SIZE needed = text_extent(child, text);
      EXPECT_LE(needed.cx + 4, box.right - box.left) << "button too narrow";
      EXPECT_LE(needed.cy + 4, box.bottom - box.top) << "button too low";
    }
  }
  EXPECT_TRUE(label_found);
}

TEST_F(ToolDialogs, TemplatesShowTheirTextsInFullView) {
  const struct {
    Layout layout;
    std::function<bool(HWND owner, HINSTANCE module)> ask;
  } dialogs[] = {
      {{u"タイムタグを加減算で一括修正", u"10ミリ秒単位で入力\r\n（-1000～1000）", u"0", true,
        -1000, 1000},
       [](HWND owner, HINSTANCE module) {
         int32_t units = 0;
         return ask_shift_units(owner, module, units);
       }},
      {{u"改行を挿入", u"1行の最大文字数", u"20", false, 0, 0},
       [](HWND owner, HINSTANCE module) {
         int32_t width = 0;
         return ask_line_break_width(owner, module, width);
       }},
      {{u"タイムタグを倍率で一括修正", u"倍率を入力（～2.0）", u"0.0", true, 0, 2},
       [](HWND owner, HINSTANCE module) {
         float factor = 0;
         return ask_scale_factor(owner, module, factor);
       }},
  };
  for (const auto& d : dialogs) {
    SCOPED_TRACE(narrow(d.layout.initial_text));
    DialogScript script({[&](HWND dialog) { check_layout(dialog, d.layout); }, press(IDCANCEL)});
    EXPECT_FALSE(d.ask(script.owner(), module()));
    EXPECT_EQ(script.steps_run(), 2u);
  }
}

TEST_F(ToolDialogs, MissingTemplateCountsAsCancel) {
  int32_t units = 5;
  EXPECT_FALSE(ask_shift_units(nullptr, GetModuleHandleW(nullptr), units));
  EXPECT_EQ(units, 0);
}

}  // namespace
}  // namespace sabla
