#pragma once
#include <windows.h>

#include <string>

namespace sabla::test {

// The Sabla.dll of this build, loaded into the test process for as long as the object lives.
// The test program runs from <build>/tests and the library is built in <build>/src/host.
class SablaDll {
 public:
  SablaDll() : module_(LoadLibraryW(path().c_str())) {}
  ~SablaDll() {
    if (module_) FreeLibrary(module_);
  }
  SablaDll(const SablaDll&) = delete;
  SablaDll& operator=(const SablaDll&) = delete;

  HMODULE get() const { return module_; }

  static std::wstring path() {
    wchar_t exe[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"..\\src\\host\\Sabla.dll";
  }

 private:
  HMODULE module_;
};

}  // namespace sabla::test
