#include "sources/lyric_search_files_win32.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "settings/atomic_file_win32.h"
#include "sources/find_handles_win32.h"
#include "sources/text_file_win32.h"

namespace sabla {
namespace {

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

UniqueFile open_for_reading(std::u16string_view path) {
  // Read and write sharing, as the C library's fopen asks for: the player may have the song or a
  // lyric file open at the same time.
  return UniqueFile(CreateFileW(wide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool same_name(std::wstring_view a, std::u16string_view b) {
  if (a.size() != b.size() || a.size() > static_cast<size_t>(INT_MAX)) return false;
  // The comparison the file system makes: ordinal, upper-casing both sides.
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()),
                              reinterpret_cast<const wchar_t*>(b.data()),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool is_dot_entry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') ||
         (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

}  // namespace

bool SystemLyricSearchFiles::can_open(std::u16string_view path) const {
  if (path.empty()) return false;
  // Nearly every candidate is missing. Asking for the attributes needs no handle and is several
  // times cheaper than a failed open, above all under Wine; only a file that is there is opened.
  const std::wstring name = wide(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  return static_cast<bool>(open_for_reading(path));
}

std::optional<size_t> SystemLyricSearchFiles::first_openable(
    std::u16string_view folder, std::span<const std::u16string> names) const {
  // One listing of the folder instead of an open per name: in a library of thousands of
  // subfolders each is asked for nine names, and almost none of them is there. Only a listed
  // name is opened, so the answer is the one the opens would give.
  const std::wstring pattern = wide(folder) + L"\\*";
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return LyricSearchFiles::first_openable(folder, names);
  std::vector<std::wstring> present;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) present.emplace_back(entry.cFileName);
  } while (FindNextFileW(find.get(), &entry));

  for (size_t i = 0; i < names.size(); ++i) {
    const std::u16string& name = names[i];
    std::u16string path(folder);
    path += u'\\';
    path += name;
    // A name holding a separator reaches into a deeper folder: only an open can tell.
    const bool nested = name.find_first_of(u"\\/") != std::u16string::npos;
    const bool listed = std::any_of(present.begin(), present.end(), [&](const std::wstring& file) {
      return same_name(file, name);
    });
    if ((nested || listed) && can_open(path)) return i;
  }
  return std::nullopt;
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
