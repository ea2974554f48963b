#include "console.h"

#include <shellapi.h>

namespace standin {

namespace {

bool usable(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

}  // namespace

Console::Console() : out_(GetStdHandle(STD_OUTPUT_HANDLE)), error_(GetStdHandle(STD_ERROR_HANDLE)) {
  if (usable(out_) && usable(error_)) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  parent_console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  if (parent_console_.get() == INVALID_HANDLE_VALUE) {
    parent_console_.release();
    return;
  }
  if (!usable(out_)) out_ = parent_console_.get();
  if (!usable(error_)) error_ = parent_console_.get();
}

void Console::write(HANDLE handle, std::string_view utf8) {
  if (!usable(handle) || utf8.empty()) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    // A console shows UTF-16 correctly whatever its code page.
    const std::wstring wide = from_utf8(utf8);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  }
}

std::string to_utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring from_utf8(std::string_view text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::vector<std::string> command_line_arguments() {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  const UniqueLocalMemory owner(reinterpret_cast<HLOCAL>(argv));
  std::vector<std::string> args;
  for (int i = 1; argv && i < count; ++i) args.push_back(to_utf8(argv[i]));
  return args;
}

}  // namespace standin
