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

// Only windows of these classes can make the player busy. Finding them by class is a short
// search per class; reading the class and titles of every top-level window cost far more than
// the player's own answer, on every idle call.
constexpr const wchar_t* kBusyClasses[] = {L"iTunesCustomModalDialog",
                                           L"iTunesCustomFauxModalDialog", L"#32770",
                                           L"NativeHWNDHost"};

// A window list that changes under the search could send it round in circles.
constexpr size_t kMostWindowsPerClass = 4096;

class SystemWindowSource final : public WindowSource {
 public:
  std::vector<TopLevelWindow> top_level_windows() override {
    std::vector<TopLevelWindow> windows;
    for (const wchar_t* class_name : kBusyClasses) {
      const std::u16string name(reinterpret_cast<const char16_t*>(class_name));
      HWND window = nullptr;
      for (size_t found = 0; found < kMostWindowsPerClass; ++found) {
        window = FindWindowExW(nullptr, window, class_name, nullptr);
        if (!window) break;
        windows.push_back({name, title_of(window), title_of(GetWindow(window, GW_OWNER))});
      }
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
