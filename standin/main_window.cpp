#include "main_window.h"

#include <commctrl.h>

#include <algorithm>

#include "command_line.h"
#include "window_proc.h"

namespace standin {

namespace {

constexpr wchar_t kClassName[] = L"SablaStandinMain";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

}  // namespace

bool MainWindow::register_class(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &forward_to_object<MainWindow>;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  static const RegisteredClass registered(wc);
  return static_cast<bool>(registered) && VisualizerView::register_class(instance);
}

bool MainWindow::create(HINSTANCE instance, const std::wstring& title, int width, int height,
                        WindowListener& listener) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  window_.reset(CreateWindowExW(0, kClassName, title.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, instance, this));
  if (!window_ || !visualizer_.create(window_.get(), instance) ||
      !transport_.create(window_.get(), instance)) {
    window_.reset();
    return false;
  }
  layout();
  // Only now: the layout above must not reach a listener that is not set up yet.
  listener_ = &listener;
  visualizer_.on_exposed([this] { listener_->on_visualizer_exposed(); });
  show_transport(0, 0, false, false);
  return true;
}

void MainWindow::show(int show_command) {
  ShowWindow(window_.get(), show_command);
  UpdateWindow(window_.get());
  // Keys the user (or the scenario) types belong to the plug-in, not to a transport button.
  SetFocus(visualizer_.window());
}

void MainWindow::resize(int width, int height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::show_transport(uint32_t position_ms, uint32_t length_ms, bool playing,
                                bool has_track) {
  transport_.show_position(position_ms, length_ms);
  transport_.show_playing(playing);
  transport_.enable(has_track);
}

void MainWindow::set_visualizer_lines(std::wstring first, std::wstring second) {
  visualizer_.set_lines(std::move(first), std::move(second));
}

void MainWindow::close() { window_.reset(); }

RECT MainWindow::visualizer_rect() const {
  RECT area{};
  GetClientRect(visualizer_.window(), &area);
  return area;
}

void MainWindow::layout() const {
  RECT client{};
  GetClientRect(window_.get(), &client);
  const int bar_top = std::max<int>(client.bottom - kTransportBarHeight, 0);
  MoveWindow(visualizer_.window(), 0, 0, client.right, bar_top, TRUE);
  transport_.layout(RECT{0, bar_top, client.right, client.bottom});
}

void MainWindow::on_command(int id) {
  if (!listener_) return;
  switch (id) {
    case kPlayButton:
      listener_->on_play_pause();
      break;
    case kPreviousButton:
      listener_->on_previous();
      break;
    case kNextButton:
      listener_->on_next();
      break;
    default:
      return;
  }
  // A clicked button keeps the focus otherwise, and would take the plug-in's keys.
  SetFocus(visualizer_.window());
}

LRESULT MainWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      layout();
      if (listener_) listener_->on_visualizer_resized();
      return 0;
    case WM_GETMINMAXINFO: {
      RECT frame{0, 0, kMinWidth, kMinHeight};
      AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      info->ptMinTrackSize = POINT{frame.right - frame.left, frame.bottom - frame.top};
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) on_command(LOWORD(wparam));
      return 0;
    case WM_HSCROLL:
      if (listener_ && reinterpret_cast<HWND>(lparam) == GetDlgItem(window, kPositionSlider) &&
          LOWORD(wparam) != TB_ENDTRACK) {
        listener_->on_seek(transport_.slider_position_ms());
      }
      return 0;
    case WM_CLOSE:
      // The plug-in must let go of the visualizer before the window goes.
      if (listener_) {
        listener_->on_close_requested();
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      // Closed by close() or by the system: either way the handle is no longer ours to destroy.
      window_.release();
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace standin
