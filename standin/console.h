#pragma once
// Text output for a GUI-subsystem program: to the inherited standard handles when there are
// any (pipes, files, Wine's terminal), otherwise to the console of the parent, if it has one.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "win32_handles.h"

namespace standin {

struct FileHandleTraits {
  using Handle = HANDLE;
  static void close(HANDLE h) { CloseHandle(h); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

class Console {
 public:
  Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  void out(std::string_view utf8) const { write(out_, utf8); }
  void error(std::string_view utf8) const { write(error_, utf8); }

 private:
  static void write(HANDLE handle, std::string_view utf8);

  UniqueFileHandle parent_console_;  // only when the standard handles were missing
  HANDLE out_ = nullptr;
  HANDLE error_ = nullptr;
};

std::string to_utf8(std::wstring_view text);
std::wstring from_utf8(std::string_view text);

// The process's arguments after the program name, as UTF-8.
std::vector<std::string> command_line_arguments();

}  // namespace standin
