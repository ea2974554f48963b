#pragma once
// What a control needs to show its text whole, measured with the control's own font the way the
// control draws it. Margins are those of the standard controls at 96 DPI, scaled to the screen.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace sabla::test {

enum class ControlKind {
  kPushButton,
  kDefaultButton,
  kMultiLineButton,
  kPushLikeCheckBox,
  kCheckBox,
  kRadioButton,
  kCentredStatic,
  kLyricsEdit,
  kPathEdit,
  kDropDownList,
  kTabs,
};

inline bool draws_as_button(ControlKind kind) {
  return kind == ControlKind::kPushButton || kind == ControlKind::kDefaultButton ||
         kind == ControlKind::kMultiLineButton || kind == ControlKind::kPushLikeCheckBox;
}

// Whether the control's class and style are those of `kind`; `why` names what differs.
inline bool has_kind(HWND control, ControlKind kind, std::string& why) {
  wchar_t class_name[64] = {};
  GetClassNameW(control, class_name, 64);
  const std::wstring cls = class_name;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  const DWORD button_type = style & BS_TYPEMASK;
  auto expect = [&](bool condition, const char* what) {
    if (!condition && why.empty()) why = what;
    return condition;
  };
  const bool is_button = lstrcmpiW(cls.c_str(), L"Button") == 0;
  switch (kind) {
    case ControlKind::kPushButton:
      return expect(is_button && button_type == BS_PUSHBUTTON && !(style & BS_MULTILINE),
                    "a one-line push button");
    case ControlKind::kDefaultButton:
      return expect(is_button && button_type == BS_DEFPUSHBUTTON, "the default push button");
    case ControlKind::kMultiLineButton:
      return expect(is_button && button_type == BS_PUSHBUTTON && (style & BS_MULTILINE),
                    "a multi-line push button");
    case ControlKind::kPushLikeCheckBox:
      return expect(is_button && button_type == BS_AUTOCHECKBOX && (style & BS_PUSHLIKE) &&
                        (style & WS_TABSTOP),
                    "a push-like automatic check box with a tab stop");
    case ControlKind::kCheckBox:
      return expect(is_button && button_type == BS_AUTOCHECKBOX && !(style & BS_PUSHLIKE),
                    "an automatic check box");
    case ControlKind::kRadioButton:
      return expect(is_button && button_type == BS_AUTORADIOBUTTON, "an automatic radio button");
    case ControlKind::kCentredStatic:
      return expect(lstrcmpiW(cls.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_CENTER,
                    "a centred static");
    case ControlKind::kLyricsEdit: {
      const DWORD wanted = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL |
                           WS_VSCROLL | WS_TABSTOP;
      return expect(lstrcmpiW(cls.c_str(), L"Edit") == 0 && (style & wanted) == wanted &&
                        !(style & ES_READONLY),
                    "a writable multi-line edit that keeps Enter and its selection");
    }
    case ControlKind::kPathEdit:
      return expect(lstrcmpiW(cls.c_str(), L"Edit") == 0 && (style & ES_READONLY) &&
                        (style & ES_AUTOHSCROLL) && !(style & ES_MULTILINE),
                    "a read-only one-line edit");
    case ControlKind::kDropDownList:
      return expect(lstrcmpiW(cls.c_str(), L"ComboBox") == 0 &&
                        (style & 3) == CBS_DROPDOWNLIST && (style & WS_TABSTOP),
                    "a drop-down list with a tab stop");
    case ControlKind::kTabs:
      return expect(lstrcmpiW(cls.c_str(), WC_TABCONTROLW) == 0 && (style & WS_TABSTOP),
                    "a tab control with a tab stop");
  }
  return false;
}

// The control's font selected into a DC of the control, for as long as the object lives.
class ControlTextDc {
 public:
  explicit ControlTextDc(HWND control)
      : control_(control), dc_(GetDC(control)) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    previous_ = SelectObject(dc_, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  }
  ~ControlTextDc() {
    SelectObject(dc_, previous_);
    ReleaseDC(control_, dc_);
  }
  ControlTextDc(const ControlTextDc&) = delete;
  ControlTextDc& operator=(const ControlTextDc&) = delete;

  HDC get() const { return dc_; }
  // Pixels for a length given at 96 DPI.
  int scaled(int pixels_at_96) const {
    return MulDiv(pixels_at_96, GetDeviceCaps(dc_, LOGPIXELSX), 96);
  }
  // The extent of `text` as DrawTextW lays it out: unbroken lines when `width` is 0, else
  // broken into lines of at most `width` pixels.
  SIZE extent(const std::wstring& text, UINT flags, int width = 0) const {
    RECT rect{0, 0, width, 0};
    const UINT wrap = width > 0 ? DT_WORDBREAK : 0;
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | wrap | flags);
    return {rect.right - rect.left, rect.bottom - rect.top};
  }
  int line_height() const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    return metrics.tmHeight;
  }

 private:
  HWND control_;
  HDC dc_;
  HGDIOBJ previous_;
};

// Why `text` would not show whole in `control` of `kind`; empty when it fits.
inline std::string text_misfit(HWND control, ControlKind kind, const std::wstring& text) {
  RECT client{};
  GetClientRect(control, &client);
  const ControlTextDc dc(control);
  int room_x = client.right;
  int room_y = client.bottom;
  if (draws_as_button(kind)) {
    // The 3-D edge and the focus rectangle inside it, and a little air around the text.
    room_x -= 2 * dc.scaled(4);
    room_y -= 2 * dc.scaled(2);
  } else if (kind == ControlKind::kCheckBox || kind == ControlKind::kRadioButton) {
    // The box or circle and the gap before the text.
    room_x -= dc.scaled(13) + dc.scaled(4);
  }
  // Explicit line breaks are the only breaks wanted: every line must fit unbroken.
  const SIZE lines = dc.extent(text, kind == ControlKind::kCentredStatic ? DT_CENTER : 0);
  std::string why;
  if (lines.cx > room_x) {
    why = "text needs " + std::to_string(lines.cx) + " px across, room for " +
          std::to_string(room_x);
  }
  SIZE needed = lines;
  if (kind == ControlKind::kMultiLineButton && room_x > 0) {
    needed = dc.extent(text, DT_CENTER, room_x);  // as the button breaks it
  }
  if (needed.cy > room_y) {
    if (!why.empty()) why += "; ";
    why += "text needs " + std::to_string(needed.cy) + " px down, room for " +
           std::to_string(room_y);
  }
  return why;
}

// `control`'s window rectangle in `parent`'s client coordinates.
inline RECT rect_in(HWND control, HWND parent) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline bool inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The display area of the options window's tab control, in the window's client coordinates:
// where every page must lie whole.
inline RECT tab_display_area(HWND frame, int tabs_id) {
  const HWND tabs = GetDlgItem(frame, tabs_id);
  RECT display{};
  GetClientRect(tabs, &display);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MapWindowPoints(tabs, frame, reinterpret_cast<POINT*>(&display), 2);
  return display;
}

}  // namespace sabla::test
