#include "dialog_steps.h"

#include <commctrl.h>

#include <utility>

namespace standin {

namespace {

constexpr int kTabsId = 1001;
constexpr UINT kModalPollMs = 100;
constexpr int kModalPolls = 50;

bool is_dialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpW(name, L"#32770") == 0;
}

struct Search {
  HWND skip = nullptr;  // with it: any other visible dialog of the thread
  HWND found = nullptr;
};

BOOL CALLBACK find_frame(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  if (IsWindowVisible(window) && is_dialog(window) && GetDlgItem(window, kTabsId)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK find_other_dialog(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  if (window != search.skip && IsWindowVisible(window) && is_dialog(window)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND page_in_view(HWND frame) {
  for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child) && is_dialog(child)) return child;
  }
  return nullptr;
}

// The control of the page in view, or of the frame.
HWND control_of(HWND frame, int id) {
  if (const HWND page = page_in_view(frame)) {
    if (const HWND control = GetDlgItem(page, id)) return control;
  }
  return GetDlgItem(frame, id);
}

// The one modal capture under way: a thread timer's procedure has no context of its own.
struct ModalWatch {
  HWND frame = nullptr;
  int polls = 0;
  UINT_PTR timer = 0;
  std::function<void(HWND)> on_dialog;
};
ModalWatch g_watch;

void CALLBACK poll_for_modal(HWND, UINT, UINT_PTR, DWORD) {
  Search search{g_watch.frame};
  EnumThreadWindows(GetCurrentThreadId(), &find_other_dialog, reinterpret_cast<LPARAM>(&search));
  if (!search.found && ++g_watch.polls < kModalPolls) return;
  KillTimer(nullptr, g_watch.timer);
  std::function<void(HWND)> on_dialog = std::exchange(g_watch.on_dialog, nullptr);
  g_watch = ModalWatch{};
  if (on_dialog) on_dialog(search.found);
  if (search.found) PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

}  // namespace

HWND find_options_window() {
  Search search;
  EnumThreadWindows(GetCurrentThreadId(), &find_frame, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string select_options_tab(HWND frame, int tab) {
  const HWND tabs = GetDlgItem(frame, kTabsId);
  if (SendMessageW(tabs, TCM_SETCURSEL, tab, 0) < 0 &&
      SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != tab) {
    return "the window has no tab " + std::to_string(tab);
  }
  // Selecting by message tells nobody; a click would also notify the frame.
  NMHDR header{tabs, static_cast<UINT_PTR>(kTabsId), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(frame, WM_NOTIFY, kTabsId, reinterpret_cast<LPARAM>(&header));
  return "";
}

std::string type_into(HWND frame, int control, const std::wstring& text) {
  const HWND edit = control_of(frame, control);
  if (!edit || !IsWindowVisible(edit)) return "no edit box " + std::to_string(control) + " in view";
  if (!IsWindowEnabled(edit)) return "edit box " + std::to_string(control) + " is disabled";
  SetFocus(edit);
  const LRESULT end = GetWindowTextLengthW(edit);
  SendMessageW(edit, EM_SETSEL, end, end);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  for (const wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
  return "";
}

std::string press(HWND frame, int control) {
  if (const HWND button = control_of(frame, control)) {
    if (!IsWindowEnabled(button)) return "control " + std::to_string(control) + " is disabled";
    // A click turns an automatic check box over before its owner hears of it; the message
    // alone would not.
    const auto type = static_cast<DWORD>(GetWindowLongPtrW(button, GWL_STYLE)) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) {
      const bool checked = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
      SendMessageW(button, BM_SETCHECK, type == BS_AUTORADIOBUTTON || !checked, 0);
    }
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return "";
  }
  const HWND page = page_in_view(frame);
  if (!page) return "no page in view for command " + std::to_string(control);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(control, 0), 0);
  return "";
}

std::string press_for_modal(HWND frame, int command, std::function<void(HWND)> on_dialog) {
  if (g_watch.timer) return "a modal dialog is already awaited";
  const HWND page = page_in_view(frame);
  if (!page) return "no page in view for command " + std::to_string(command);
  // The dialog's own message loop runs the timer: sending would wait for the dialog to end.
  g_watch.frame = frame;
  g_watch.on_dialog = std::move(on_dialog);
  g_watch.timer = SetTimer(nullptr, 0, kModalPollMs, &poll_for_modal);
  if (!g_watch.timer) {
    g_watch = ModalWatch{};
    return "no timer to wait for the dialog";
  }
  PostMessageW(page, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return "";
}

}  // namespace standin
