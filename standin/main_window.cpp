#include "main_window.h"

#include <algorithm>

#include "command_line.h"
#include "window_proc.h"

namespace standin {

namespace {

constexpr wchar_t kClassName[] = L"SablaStandinMain";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 250;
constexpr UINT_PTR kSettleTimer = 2;
// Long enough for the window and its controls to have painted at least once.
constexpr UINT kSettleMs = 300;

uint64_t now_ms() { return GetTickCount64(); }

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

bool MainWindow::create(HINSTANCE instance, const std::wstring& title, int width, int height) {
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
  set_track(0);
  return true;
}

void MainWindow::show(int show_command, std::function<void()> on_settled) {
  on_settled_ = std::move(on_settled);
  ShowWindow(window_.get(), show_command);
  UpdateWindow(window_.get());
  SetTimer(window_.get(), kSettleTimer, kSettleMs, nullptr);
}

void MainWindow::set_track(uint32_t length_ms) {
  clock_ = TransportClock(length_ms);
  transport_.enable(length_ms > 0);
  refresh_transport();
}

void MainWindow::set_visualizer_lines(std::wstring first, std::wstring second) {
  visualizer_.set_lines(std::move(first), std::move(second));
}

void MainWindow::close() { window_.reset(); }

void MainWindow::layout() const {
  RECT client{};
  GetClientRect(window_.get(), &client);
  const int bar_top = std::max<int>(client.bottom - kTransportBarHeight, 0);
  MoveWindow(visualizer_.window(), 0, 0, client.right, bar_top, TRUE);
  transport_.layout(RECT{0, bar_top, client.right, client.bottom});
}

void MainWindow::refresh_transport() {
  const uint64_t now = now_ms();
  const bool playing = clock_.playing(now);
  transport_.show_position(clock_.position(now), clock_.length());
  transport_.show_playing(playing);
  if (playing) {
    SetTimer(window_.get(), kTickTimer, kTickMs, nullptr);
  } else {
    KillTimer(window_.get(), kTickTimer);
  }
}

void MainWindow::on_command(int id) {
  const uint64_t now = now_ms();
  switch (id) {
    case kPlayButton:
      clock_.playing(now) ? clock_.pause(now) : clock_.play(now);
      break;
    case kPreviousButton:
      clock_.seek(0, now);
      break;
    case kNextButton:
      clock_.seek(clock_.length(), now);
      break;
    default:
      return;
  }
  refresh_transport();
}

LRESULT MainWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      layout();
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
      if (reinterpret_cast<HWND>(lparam) == GetDlgItem(window, kPositionSlider)) {
        clock_.seek(transport_.slider_position_ms(), now_ms());
        refresh_transport();
      }
      return 0;
    case WM_TIMER:
      if (wparam == kSettleTimer) {
        KillTimer(window, kSettleTimer);
        if (auto settled = std::exchange(on_settled_, nullptr)) settled();
      } else if (wparam == kTickTimer) {
        refresh_transport();
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      // Closed by the user or by close(): either way the handle is no longer ours to destroy.
      window_.release();
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace standin
