#pragma once
// The player's modal window: while it is open the player counts as busy and refuses automation.
// The stand-in opens one of the class the player uses, so a plug-in's busy test can find it.
#include <windows.h>

#include "win32_handles.h"

namespace standin {

inline constexpr wchar_t kBusyWindowClass[] = L"iTunesCustomModalDialog";

class BusyWindow {
 public:
  // Opens the window (hidden: it only has to exist); false when that fails.
  bool open(HINSTANCE instance);
  void close() { window_.reset(); }
  bool is_open() const { return static_cast<bool>(window_); }

 private:
  UniqueWindow window_;
};

}  // namespace standin
