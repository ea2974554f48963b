#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "win32/settings/temp_folder.h"

namespace sabla::test {

inline std::u16string u16(const std::wstring& text) {
  return std::u16string(text.begin(), text.end());
}

inline std::wstring wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline bool make_folder(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

inline bool make_file(const std::wstring& path, std::string_view content = "x") {
  return write_bytes(path, std::vector<uint8_t>(content.begin(), content.end()));
}

// Wine stores file names through the Unix locale's character set; without a generated UTF-8
// locale (ja_JP.UTF-8 named by LC_ALL but not installed) it refuses every non-ASCII name.
inline bool non_ascii_names_work(const TempFolder& temp) {
  const std::wstring probe = temp / L"名前";
  if (!CreateDirectoryW(probe.c_str(), nullptr)) return false;
  RemoveDirectoryW(probe.c_str());
  return true;
}

inline constexpr char kNoNonAsciiNames[] =
    "this Wine cannot store non-ASCII file names: generate the ja_JP.UTF-8 locale "
    "(localedef -i ja_JP -f UTF-8 ja_JP.UTF-8, or LOCPATH to a folder holding it)";

inline std::vector<uint8_t> bytes_of(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

inline std::vector<uint8_t> utf16_file(std::u16string_view text) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  for (const char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

}  // namespace sabla::test
