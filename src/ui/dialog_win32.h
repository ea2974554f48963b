#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace sabla {

// A dialog or a page of one: one shared dialog procedure finds the object through the window's
// user data and calls the handlers below. Nothing thrown inside a handler reaches Windows or the
// host; the message then counts as not handled.
class Dialog {
 public:
  virtual ~Dialog() = default;
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  HWND window() const { return window_; }
  HWND item(int id) const { return GetDlgItem(window_, id); }

  // A modeless dialog or a page from `template_id` of `module`; null when it cannot be made.
  HWND create(HINSTANCE module, int template_id, HWND parent);

  // The procedure every dialog of ours is made with; `lParam` of WM_INITDIALOG is the object.
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  // WM_INITDIALOG: true lets Windows give the focus to the first control.
  virtual bool on_init() { return true; }
  virtual bool on_command(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual bool on_notify(const NMHDR& /*header*/) { return false; }
  // Any other message; set `result` and return true when handled.
  virtual bool on_message(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
  // The window is going: the last message the object sees.
  virtual void on_destroyed() {}

 private:
  INT_PTR dispatch(UINT message, WPARAM wparam, LPARAM lparam);

  HWND window_ = nullptr;
};

// Text of a window as UTF-16, and the other way round.
std::u16string window_text(HWND window);
void set_window_text(HWND window, std::u16string_view text);
const wchar_t* wide(const std::u16string& text);

}  // namespace sabla
