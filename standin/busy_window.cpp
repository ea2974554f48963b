#include "busy_window.h"

namespace standin {

bool BusyWindow::open(HINSTANCE instance) {
  if (window_) return true;
  static const RegisteredClass registered([instance] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = kBusyWindowClass;
    return wc;
  }());
  if (!registered) return false;
  window_.reset(CreateWindowExW(0, kBusyWindowClass, L"iTunes", WS_POPUP | WS_CAPTION, 0, 0, 200,
                                100, nullptr, nullptr, instance, nullptr));
  return static_cast<bool>(window_);
}

}  // namespace standin
