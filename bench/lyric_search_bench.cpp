// How long the lyric search of a song change takes with a large library on the Windows file
// system: 8 lyric folders with subfolder search on, 2,000 subfolders and 20,000 lyric files.
// Two cases: the lyrics lie in the last listed subfolder of the last folder under the last name
// tried there, and the song has no lyrics at all (every candidate is tried). Builds for Windows
// and runs under Wine; prints the fastest, median and slowest of the runs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "sources/lyric_search.h"
#include "sources/lyric_search_files_win32.h"

namespace {

using namespace sabla;

constexpr int kFolders = 8;
constexpr int kSubfoldersPerFolder = 250;  // 2,000 in all
constexpr int kFilesPerSubfolder = 10;     // 20,000 in all
constexpr int kRuns = 21;

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string u16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

bool make_file(const std::wstring& path, std::string_view content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  return true;
}

// The library under `root`: R0 ... R7, each with subfolders of other songs' lyrics.
bool build_library(const std::wstring& root, std::vector<std::wstring>& folders) {
  CreateDirectoryW(root.c_str(), nullptr);
  for (int f = 0; f < kFolders; ++f) {
    const std::wstring folder = root + L"\\R" + std::to_wstring(f);
    folders.push_back(folder);
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) continue;  // built before
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
    for (int s = 0; s < kSubfoldersPerFolder; ++s) {
      const std::wstring sub = folder + L"\\Artist " + std::to_wstring(f * 1000 + s);
      if (!CreateDirectoryW(sub.c_str(), nullptr)) return false;
      for (int n = 0; n < kFilesPerSubfolder; ++n) {
        const std::wstring name = sub + L"\\Artist " + std::to_wstring(f * 1000 + s) + L" - Song " +
                                  std::to_wstring(n) + (n % 2 ? L".lrc" : L".txt");
        if (!make_file(name, "[00:01:00]la la la")) return false;
      }
    }
  }
  return true;
}

// The subfolder of `folder` that the file system lists last.
std::wstring last_listed_subfolder(const SystemLyricSearchFiles& files,
                                   const std::wstring& folder) {
  std::u16string last;
  files.for_each_subfolder(u16(folder), [&](std::u16string_view name) {
    last = name;
    return false;
  });
  return folder + L"\\" + wide(last);
}

// The same file system, asked one candidate at a time inside subfolders too (the way the search
// worked before it listed each subfolder once), for comparison.
class ProbeEveryName final : public LyricSearchFiles {
 public:
  bool can_open(std::u16string_view path) const override { return real_.can_open(path); }
  void for_each_subfolder(std::u16string_view folder,
                          const std::function<bool(std::u16string_view)>& visit) const override {
    real_.for_each_subfolder(folder, visit);
  }
  std::optional<uint64_t> last_write_time(std::u16string_view path) const override {
    return real_.last_write_time(path);
  }
  bool read_text(std::u16string_view path, std::u16string& text) const override {
    return real_.read_text(path, text);
  }

 private:
  SystemLyricSearchFiles real_;
};

void measure(const char* label, const LyricSearchQuery& query, const LyricSearchFiles& files,
             bool expect_found) {
  std::vector<double> times;
  bool ok = true;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<std::u16string> found = find_lyric_file(query, files);
    std::u16string text;
    if (found) ok = ok && files.read_text(*found, text);
    const auto end = std::chrono::steady_clock::now();
    if (found.has_value() != expect_found) {
      std::printf("  unexpected: %ls\n", found ? wide(*found).c_str() : L"nothing");
      ok = false;
    }
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(times.begin(), times.end());
  std::printf("%s\n  runs %d, fastest %.1f ms, median %.1f ms, slowest %.1f ms%s\n", label, kRuns,
              times.front(), times[times.size() / 2], times.back(), ok ? "" : "  (WRONG RESULT)");
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"sabla_lyric_bench";
  std::vector<std::wstring> folders;
  std::printf("building the library under %ls (kept for later runs)...\n", root.c_str());
  if (!build_library(root, folders)) {
    std::printf("could not build the library\n");
    return 1;
  }
  const SystemLyricSearchFiles files;

  Settings settings;
  for (int f = 0; f < kFolders; ++f) settings.path[f] = u16(folders[f]);
  settings.find_sdir = 1;

  // The song: a file in a music folder with no lyrics beside it.
  const std::wstring music = root + L"\\Music";
  CreateDirectoryW(music.c_str(), nullptr);
  make_file(music + L"\\01 Target.mp3", "ID3");
  const std::wstring title = L"Target Song";
  const std::wstring artist = L"Target Artist";
  const std::u16string file_path = u16(music + L"\\01 Target.mp3");
  const std::u16string file_name = u"01 Target.mp3";
  const SongNames song{u16(title), u16(title), u16(artist), u16(artist), u"Album",
                       u"Album",   file_path,  file_name,   u""};
  const LyricSearchQuery query = make_lyric_search_query(song, settings);

  const std::wstring hit =
      last_listed_subfolder(files, folders.back()) + L"\\" + artist + L" - " + title + L".txt";
  DeleteFileW(hit.c_str());
  std::printf("%d lyric folders, %d subfolders, %d files, find_sdir on\n", kFolders,
              kFolders * kSubfoldersPerFolder,
              kFolders * kSubfoldersPerFolder * kFilesPerSubfolder);
  measure("not found (every candidate tried)", query, files, false);
  measure("not found, opening every candidate name instead of listing subfolders", query,
          ProbeEveryName(), false);
  make_file(hit, "[00:01:00]found");
  measure("found in the last subfolder of the last folder, last name tried", query, files, true);
  DeleteFileW(hit.c_str());
  return 0;
}
