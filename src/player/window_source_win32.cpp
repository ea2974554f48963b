#include "player/window_source_win32.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace sabla {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

constexpr int kTextUnits = 256;

// The window's title. InternalGetWindowText reads the stored text and never sends a message, so
// a hung window (ours or the player's) cannot stall the busy test.
std::u16string title_of(HWND window) {
  if (!window) return {};
  wchar_t text[kTextUnits] = {};
  const int length = InternalGetWindowText(window, text, kTextUnits);
  if (length <= 0) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text),
                        static_cast<size_t>(std::min(length, kTextUnits - 1)));
}

std::u16string class_of(HWND window) {
  wchar_t name[kTextUnits] = {};
  const int length = GetClassNameW(window, name, kTextUnits);
  if (length <= 0) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(name),
                        static_cast<size_t>(std::min(length, kTextUnits - 1)));
}

BOOL CALLBACK collect_window(HWND window, LPARAM list) {
  try {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
  } catch (...) {
    return FALSE;  // out of memory: the windows so far must do
  }
}

class SystemWindowSource final : public WindowSource {
 public:
  std::vector<TopLevelWindow> top_level_windows() override {
    std::vector<HWND> handles;
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&handles));
    std::vector<TopLevelWindow> windows;
    windows.reserve(handles.size());
    for (HWND handle : handles) {
      windows.push_back(
          {class_of(handle), title_of(handle), title_of(GetWindow(handle, GW_OWNER))});
    }
    return windows;
  }
};

}  // namespace

WindowSource& system_window_source() {
  static SystemWindowSource source;
  return source;
}

}  // namespace sabla
