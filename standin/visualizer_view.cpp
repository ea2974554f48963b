#include "visualizer_view.h"

#include "window_proc.h"

namespace standin {

namespace {

constexpr wchar_t kClassName[] = L"SablaStandinVisualizer";
constexpr COLORREF kBackground = RGB(18, 20, 32);
constexpr COLORREF kFrame = RGB(70, 80, 120);
constexpr COLORREF kText = RGB(220, 224, 240);
constexpr COLORREF kDimText = RGB(140, 148, 180);

void draw_centred(HDC dc, const std::wstring& text, RECT area, COLORREF colour) {
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

bool VisualizerView::register_class(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &forward_to_object<VisualizerView>;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  // A plug-in owns this area's pixels, so the system must not erase them behind its back.
  wc.hbrBackground = nullptr;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  static const RegisteredClass registered(wc);
  return static_cast<bool>(registered);
}

bool VisualizerView::create(HWND parent, HINSTANCE instance) {
  window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                            parent, nullptr, instance, this);
  return window_ != nullptr;
}

void VisualizerView::set_lines(std::wstring first, std::wstring second) {
  if (first == first_line_ && second == second_line_) return;
  first_line_ = std::move(first);
  second_line_ = std::move(second);
  if (window_ && !plugin_draws_) InvalidateRect(window_, nullptr, FALSE);
}

void VisualizerView::set_plugin_draws(bool draws) {
  plugin_draws_ = draws;
  if (window_ && !draws) InvalidateRect(window_, nullptr, FALSE);
}

LRESULT VisualizerView::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC dc = BeginPaint(window, &ps)) {
        if (!plugin_draws_) paint(dc);
        EndPaint(window, &ps);
      }
      if (plugin_draws_ && exposed_) exposed_();
      return 0;
    }
    case WM_PRINTCLIENT:
      if (!plugin_draws_) paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void VisualizerView::paint(HDC dc) const {
  RECT area{};
  GetClientRect(window_, &area);
  const UniqueGdiObject background(CreateSolidBrush(kBackground));
  FillRect(dc, &area, static_cast<HBRUSH>(background.get()));
  const UniqueGdiObject frame(CreateSolidBrush(kFrame));
  FrameRect(dc, &area, static_cast<HBRUSH>(frame.get()));

  const SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const int middle = (area.top + area.bottom) / 2;
  RECT upper = area;
  upper.bottom = middle;
  RECT lower = area;
  lower.top = middle;
  upper.top = upper.bottom - 24;
  lower.bottom = lower.top + 24;
  draw_centred(dc, first_line_, upper, kText);
  draw_centred(dc, second_line_, lower, kDimText);
}

}  // namespace standin
