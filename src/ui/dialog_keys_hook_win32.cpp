#include "ui/dialog_keys_hook_win32.h"

#include <windows.h>

namespace sabla {
namespace {

// A hook procedure gets no context of its own: these are the hook's, for the thread that made it.
HHOOK g_hook = nullptr;
PluginState* g_state = nullptr;

LRESULT CALLBACK dialog_keys_hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code >= 0 && wparam == PM_REMOVE && lparam && g_state) {
    auto* message = reinterpret_cast<MSG*>(lparam);
    const auto window = static_cast<HWND>(g_state->options.options_window);
    if (window && message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST &&
        IsDialogMessageW(window, message)) {
      // Handled by the dialog: the host must not see it a second time.
      message->message = WM_NULL;
      message->wParam = 0;
      message->lParam = 0;
    }
  }
  return CallNextHookEx(g_hook, code, wparam, lparam);
}

}  // namespace

void install_dialog_keys_hook(PluginState& state) {
  remove_dialog_keys_hook();
  g_state = &state;
  g_hook = SetWindowsHookExW(WH_GETMESSAGE, &dialog_keys_hook, nullptr, GetCurrentThreadId());
}

bool dialog_keys_hook_installed() { return g_hook != nullptr; }

void remove_dialog_keys_hook() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_state = nullptr;
}

}  // namespace sabla
