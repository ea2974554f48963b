#include "ui/themed_pages_win32.h"

namespace sabla {
namespace {

// EnableThemeDialogTexture's ETDT_ENABLETAB (ETDT_ENABLE | ETDT_USETABTEXTURE).
constexpr DWORD kThemedTabBackground = 0x00000006;

// uxtheme.dll is looked up at run time, since systems before XP have none. Loading it counts a
// reference even where it is already loaded (it always is where themes are on), so the count is
// given back afterwards.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
  ~LoadedLibrary() {
    if (module_) FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

}  // namespace

bool is_themed_pages_version(DWORD major, DWORD minor) {
  return major > 5 || (major == 5 && minor != 0);
}

bool uses_themed_pages() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(&version)) return false;
  return is_themed_pages_version(version.dwMajorVersion, version.dwMinorVersion);
}

void enable_themed_page(HWND page) {
  if (!page || !uses_themed_pages()) return;
  const LoadedLibrary theme(L"uxtheme.dll");
  if (!theme.get()) return;
  using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
  const auto enable = reinterpret_cast<EnableTexture>(
      reinterpret_cast<void*>(GetProcAddress(theme.get(), "EnableThemeDialogTexture")));
  if (enable) enable(page, kThemedTabBackground);
}

}  // namespace sabla
