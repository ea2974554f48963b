#include "sources/lyric_search_files_win32.h"

#include <windows.h>

#include <string>

#include "settings/atomic_file_win32.h"
#include "sources/text_file_win32.h"

namespace sabla {
namespace {

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// An open directory listing.
class UniqueFind {
 public:
  explicit UniqueFind(HANDLE handle) : handle_(handle) {}
  ~UniqueFind() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  UniqueFind(const UniqueFind&) = delete;
  UniqueFind& operator=(const UniqueFind&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

UniqueFile open_for_reading(std::u16string_view path) {
  // Read and write sharing, as the C library's fopen asks for: the player may have the song or a
  // lyric file open at the same time.
  return UniqueFile(CreateFileW(wide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool is_dot_entry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') ||
         (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

}  // namespace

bool SystemLyricSearchFiles::can_open(std::u16string_view path) const {
  if (path.empty()) return false;
  return static_cast<bool>(open_for_reading(path));
}

void SystemLyricSearchFiles::for_each_subfolder(
    std::u16string_view folder, const std::function<bool(std::u16string_view name)>& visit) const {
  const std::wstring pattern = wide(folder) + L"\\*.*";
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || is_dot_entry(entry.cFileName)) {
      continue;
    }
    const std::wstring_view name(entry.cFileName);
    if (visit(std::u16string_view(reinterpret_cast<const char16_t*>(name.data()), name.size()))) {
      return;
    }
  } while (FindNextFileW(find.get(), &entry));
}

std::optional<uint64_t> SystemLyricSearchFiles::last_write_time(std::u16string_view path) const {
  if (path.empty()) return std::nullopt;
  const UniqueFile file = open_for_reading(path);
  FILETIME written{};
  if (!file || !GetFileTime(file.get(), nullptr, nullptr, &written)) return std::nullopt;
  return (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
}

bool SystemLyricSearchFiles::read_text(std::u16string_view path, std::u16string& text) const {
  return read_text_file(path, text);
}

}  // namespace sabla
