#pragma once
// One window procedure for every stand-in window class: the object that created the window rides
// along in its creation parameters, is kept in GWLP_USERDATA, and receives each message.
#include <windows.h>

namespace standin {

// T has `LRESULT handle_message(HWND, UINT, WPARAM, LPARAM)`. Nothing thrown there reaches
// Windows: a failing message is answered as DefWindowProc would.
template <typename T>
LRESULT CALLBACK forward_to_object(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* object = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!object) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  try {
    return object->handle_message(window, message, wparam, lparam);
  } catch (...) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace standin
