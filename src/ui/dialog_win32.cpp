#include "ui/dialog_win32.h"

namespace sabla {

HWND Dialog::create(HINSTANCE module, int template_id, HWND parent) {
  return CreateDialogParamW(module, MAKEINTRESOURCEW(template_id), parent, &Dialog::procedure,
                            reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<Dialog*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    if (dialog) dialog->window_ = window;
  }
  if (!dialog) return FALSE;
  INT_PTR result = FALSE;
  try {
    result = dialog->dispatch(message, wparam, lparam);
  } catch (...) {
    result = FALSE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    dialog->window_ = nullptr;
    try {
      dialog->on_destroyed();
    } catch (...) {
    }
  }
  return result;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      return on_init() ? TRUE : FALSE;
    case WM_COMMAND:
      return on_command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)) ? TRUE
                                                                                      : FALSE;
    case WM_NOTIFY:
      if (lparam) return on_notify(*reinterpret_cast<const NMHDR*>(lparam)) ? TRUE : FALSE;
      return FALSE;
    default: {
      INT_PTR result = FALSE;
      if (on_message(message, wparam, lparam, result)) return result;
      return FALSE;
    }
  }
}

std::u16string window_text(HWND window) {
  const int length = window ? GetWindowTextLengthW(window) : 0;
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

void set_window_text(HWND window, std::u16string_view text) {
  const std::u16string terminated(text);
  SetWindowTextW(window, wide(terminated));
}

const wchar_t* wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace sabla
