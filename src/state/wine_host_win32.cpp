#include "state/wine_host_win32.h"

#include <windows.h>

namespace sabla {

bool running_on_wine() {
  // Wine's ntdll names itself with this export; Windows' has no such function.
  static const bool wine = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace sabla
