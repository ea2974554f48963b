#pragma once
// Windows for the handler's tests: a top-level frame with a visualizer child, as the host has,
// and a stand-in options window that notes the commands it is sent.
#include <windows.h>

namespace sabla::test {

class TestWindow {
 public:
  TestWindow() {
    static const ATOM registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &procedure;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"SablaHandlerTestWindow";
      return RegisterClassW(&wc);
    }();
    (void)registered;
    frame_ = CreateWindowW(L"SablaHandlerTestWindow", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    visualizer_ = CreateWindowW(L"SablaHandlerTestWindow", L"visualizer", WS_CHILD | WS_VISIBLE, 0,
                                0, 400, 300, frame_, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TestWindow() {
    if (frame_) DestroyWindow(frame_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND frame() const { return frame_; }
  HWND visualizer() const { return visualizer_; }
  // The last WM_COMMAND id a window of this class was sent, 0 for none.
  static WPARAM& last_command() {
    static WPARAM command = 0;
    return command;
  }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_COMMAND) last_command() = w;
    return DefWindowProcW(window, message, w, l);
  }

  HWND frame_ = nullptr;
  HWND visualizer_ = nullptr;
};

}  // namespace sabla::test
