#include "transport_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "console.h"
#include "display_text.h"

namespace standin {

namespace {

constexpr int kMargin = 6;
constexpr int kButtonWidth = 52;
constexpr int kButtonHeight = 24;
constexpr int kTextWidth = 96;

HWND make_control(HWND parent, HINSTANCE instance, const wchar_t* window_class, const wchar_t* text,
                  DWORD style, int id) {
  HWND control =
      CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (control) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  }
  return control;
}

}  // namespace

bool TransportBar::create(HWND parent, HINSTANCE instance) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  previous_ = make_control(parent, instance, L"BUTTON", L"|<<", BS_PUSHBUTTON | WS_TABSTOP,
                           kPreviousButton);
  play_ =
      make_control(parent, instance, L"BUTTON", L"Play", BS_PUSHBUTTON | WS_TABSTOP, kPlayButton);
  next_ =
      make_control(parent, instance, L"BUTTON", L">>|", BS_PUSHBUTTON | WS_TABSTOP, kNextButton);
  slider_ = make_control(parent, instance, TRACKBAR_CLASSW, L"",
                         TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, kPositionSlider);
  text_ = make_control(parent, instance, L"STATIC", L"0:00 / 0:00", SS_RIGHT | SS_CENTERIMAGE,
                       kPositionText);
  return previous_ && play_ && next_ && slider_ && text_;
}

void TransportBar::layout(const RECT& bar) const {
  const int top = bar.top + (bar.bottom - bar.top - kButtonHeight) / 2;
  int x = bar.left + kMargin;
  for (HWND button : {previous_, play_, next_}) {
    MoveWindow(button, x, top, kButtonWidth, kButtonHeight, TRUE);
    x += kButtonWidth + kMargin;
  }
  const int text_left = bar.right - kMargin - kTextWidth;
  MoveWindow(text_, text_left, top, kTextWidth, kButtonHeight, TRUE);
  MoveWindow(slider_, x, top, std::max(text_left - kMargin - x, 0), kButtonHeight, TRUE);
}

void TransportBar::show_position(uint32_t position_ms, uint32_t length_ms) const {
  const std::wstring text =
      from_utf8(format_position(position_ms) + " / " + format_position(length_ms));
  SetWindowTextW(text_, text.c_str());
  SendMessageW(slider_, TBM_SETRANGEMAX, FALSE, static_cast<LPARAM>(length_ms / 1000));
  SendMessageW(slider_, TBM_SETPOS, TRUE, static_cast<LPARAM>(position_ms / 1000));
}

void TransportBar::show_playing(bool playing) const {
  SetWindowTextW(play_, playing ? L"Pause" : L"Play");
}

void TransportBar::enable(bool has_track) const {
  for (HWND control : {previous_, play_, next_, slider_}) EnableWindow(control, has_track);
}

uint32_t TransportBar::slider_position_ms() const {
  const LRESULT seconds = SendMessageW(slider_, TBM_GETPOS, 0, 0);
  return seconds > 0 ? static_cast<uint32_t>(seconds) * 1000 : 0;
}

}  // namespace standin
