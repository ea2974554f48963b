#include "sources/lyric_listing_cache_win32.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "sources/find_handles_win32.h"
#include "state/wine_host_win32.h"

namespace sabla {
namespace {

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

constexpr DWORD kNameChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

ChangeNotification watch_subtree(const std::wstring& folder) {
  return ChangeNotification(FindFirstChangeNotificationW(folder.c_str(), TRUE, kNameChanges));
}

class SubtreeWatch final : public FolderWatch {
 public:
  explicit SubtreeWatch(std::wstring folder) : notification_(watch_subtree(folder)) {}
  bool armed() const { return static_cast<bool>(notification_); }

  bool changed() override {
    if (WaitForSingleObject(notification_.get(), 0) != WAIT_OBJECT_0) return false;
    // Armed again before the listings go, so a change made meanwhile is told next time. When
    // it cannot be armed, it stays signalled: every search then lists afresh.
    FindNextChangeNotification(notification_.get());
    return true;
  }

 private:
  ChangeNotification notification_;
};

// Every change the folder watches of this process have reported on their own. A plain static
// that the wait callback counts into, so no callback ever reaches an object that has gone.
std::atomic<uint64_t> g_entries_changes{0};

VOID CALLBACK count_entries_change(PVOID, BOOLEAN) {
  g_entries_changes.fetch_add(1, std::memory_order_acq_rel);
}

// A watch on one folder's own entries. The system's wait threads tell of its first change, so
// that the thousands of them a library needs are not asked one by one while nothing changes.
class EntriesWatch final : public FolderWatch {
 public:
  explicit EntriesWatch(const std::wstring& folder)
      : notification_(FindFirstChangeNotificationW(folder.c_str(), FALSE, kNameChanges)) {
    // Once only: the notification stays signalled until it is asked, and a folder that
    // reported a change is listed again under a new watch. The count runs on a pool thread,
    // not in the wait thread: Wine's wait thread marks such a callback pending before it takes
    // the pool's lock, and an unregistering that cancels it just then unlinks a list entry that
    // was never linked, writing through whatever the wait's memory held before (the heaps'
    // damage and crashes in UnregisterWaitEx that long host fuzzing found).
    if (notification_ &&
        !RegisterWaitForSingleObject(&wait_, notification_.get(), &count_entries_change, nullptr,
                                     INFINITE, WT_EXECUTEONLYONCE)) {
      wait_ = nullptr;
    }
  }
  ~EntriesWatch() override {
    // Waits for a callback under way, before the notification it waits on is closed.
    if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
  }
  EntriesWatch(const EntriesWatch&) = delete;
  EntriesWatch& operator=(const EntriesWatch&) = delete;
  bool armed() const { return static_cast<bool>(notification_); }

  bool changed() override {
    if (WaitForSingleObject(notification_.get(), 0) != WAIT_OBJECT_0) return false;
    FindNextChangeNotification(notification_.get());
    // The wait has been used up: from now on it must be asked.
    reported_ = true;
    return true;
  }
  void* wait_handle() const override { return notification_.get(); }
  bool reports_itself() const override { return wait_ != nullptr && !reported_; }

 private:
  ChangeNotification notification_;
  HANDLE wait_ = nullptr;
  bool reported_ = false;
};

// The drive root of a plain drive path ("X:\").
std::wstring drive_root(std::u16string_view path) {
  return std::wstring{static_cast<wchar_t>(path[0]), L':', L'\\'};
}

// Network shares report changes as their server pleases, or not at all.
bool local_drive_type(UINT type, bool removable_too) {
  return type == DRIVE_FIXED || type == DRIVE_RAMDISK || (removable_too && type == DRIVE_REMOVABLE);
}

// What a drive tells about the lyric folders on it, each asked once and only when needed: under
// Wine each answer is a round trip to the mount manager's process.
class DriveFacts {
 public:
  explicit DriveFacts(std::u16string_view path) {
    if (path.size() >= 3) root_ = drive_root(path);
  }
  bool holds(std::u16string_view path) const {
    return path.size() >= 3 && !root_.empty() &&
           ascii_upper(path[0]) == ascii_upper(static_cast<char16_t>(root_[0]));
  }
  bool local(bool removable_too) {
    if (!type_) type_ = root_.empty() ? DRIVE_UNKNOWN : GetDriveTypeW(root_.c_str());
    return local_drive_type(*type_, removable_too);
  }
  // NTFS and ReFS move a folder's last-write time with every entry added, removed or renamed
  // in it; FAT does not.
  bool stamps_track_changes() {
    if (!stamps_) stamps_ = local(false) && stamping_file_system();
    return *stamps_;
  }

 private:
  bool stamping_file_system() const {
    wchar_t file_system[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root_.c_str(), nullptr, 0, nullptr, nullptr, nullptr, file_system,
                               MAX_PATH + 1)) {
      return false;
    }
    const std::wstring name(file_system);
    return name == L"NTFS" || name == L"ReFS";
  }

  std::wstring root_;
  std::optional<UINT> type_;
  std::optional<bool> stamps_;
};

using UpcaseChar = WCHAR(WINAPI*)(WCHAR);

// The upper-case table the file system compares names by (the one CompareStringOrdinal uses
// when told to ignore case).
UpcaseChar upcase_char() {
  static const UpcaseChar upcase = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll ? reinterpret_cast<UpcaseChar>(
                       reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlUpcaseUnicodeChar")))
                 : nullptr;
  }();
  return upcase;
}

uint64_t ticks(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool is_dot_entry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') ||
         (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

bool make_empty_file(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool probe_subtree_changes() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return false;
  const std::wstring folder = std::wstring(temp) + L"sabla_watch_" +
                              std::to_wstring(GetCurrentProcessId()) + L"_" +
                              std::to_wstring(GetTickCount());
  const std::wstring inner = folder + L"\\a";
  const std::wstring deep = inner + L"\\b";
  const std::wstring file = deep + L"\\probe.txt";
  bool reported = false;
  if (CreateDirectoryW(folder.c_str(), nullptr)) {
    if (CreateDirectoryW(inner.c_str(), nullptr) && CreateDirectoryW(deep.c_str(), nullptr)) {
      const ChangeNotification notification = watch_subtree(folder);
      if (notification && WaitForSingleObject(notification.get(), 0) == WAIT_TIMEOUT &&
          make_empty_file(file)) {
        // A system that reports it does so before the file's creation returns; the short wait
        // is for one that hands the report over a little later.
        reported = WaitForSingleObject(notification.get(), 20) == WAIT_OBJECT_0;
      }
      DeleteFileW(file.c_str());
      RemoveDirectoryW(deep.c_str());
    }
    RemoveDirectoryW(inner.c_str());
    RemoveDirectoryW(folder.c_str());
  }
  return reported;
}

}  // namespace

bool subtree_changes_reported() {
  static const bool reported = probe_subtree_changes();
  return reported;
}

std::optional<FolderListing> SystemFolderListingSource::list(std::u16string_view folder) const {
  std::wstring pattern;
  pattern.reserve(folder.size() + 2);
  pattern.append(folder.begin(), folder.end());
  pattern += L"\\*";
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return std::nullopt;
  FolderListing listing;
  // Room at once for a lyric subfolder's dozen or so names, rather than growing by steps.
  listing.reserve_files(16, 16 * 32);
  do {
    const std::u16string_view name(reinterpret_cast<const char16_t*>(entry.cFileName),
                                   wcsnlen(entry.cFileName, MAX_PATH));
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      listing.add_file(name);
    } else if (!is_dot_entry(entry.cFileName)) {
      const bool linked = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      listing.subfolders.push_back(
          FolderListing::Subfolder{std::u16string(name), linked, ticks(entry.ftLastWriteTime)});
    }
  } while (FindNextFileW(find.get(), &entry));
  // A listing cut short by an error would hide files that are there.
  if (GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
  return listing;
}

std::optional<uint64_t> SystemFolderListingSource::folder_stamp(std::u16string_view folder) const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide(folder).c_str(), GetFileExInfoStandard, &data) ||
      !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return ticks(data.ftLastWriteTime);
}

uint64_t SystemFolderListingSource::now() const {
  FILETIME time;
  GetSystemTimeAsFileTime(&time);
  return ticks(time);
}

void SystemFolderListingSource::fold_into(std::u16string_view name,
                                          std::u16string& folded) const {
  folded.assign(name);
  const UpcaseChar upcase = upcase_char();
  if (!upcase) return;
  // The table changes nothing in ASCII but a-z; sparing those the call makes the fold of the
  // thousands of names a first search keeps several times cheaper.
  for (char16_t& c : folded) {
    c = c >= 0x80 ? static_cast<char16_t>(upcase(static_cast<WCHAR>(c))) : ascii_upper(c);
  }
}

namespace {

// The subtree watch of `root`, when the system reports a subtree's changes. Asked first of
// the process-wide answer, so that under Wine no drive is asked for it.
std::unique_ptr<FolderWatch> subtree_watch(std::u16string_view root, DriveFacts& drive) {
  if (!upcase_char() || !subtree_changes_reported() || !drive.local(true)) {
    return nullptr;
  }
  auto watch = std::make_unique<SubtreeWatch>(wide(root));
  if (!watch->armed()) return nullptr;
  return watch;
}

}  // namespace

std::unique_ptr<FolderWatch> SystemFolderListingSource::watch(std::u16string_view root) const {
  DriveFacts drive(root);
  return subtree_watch(root, drive);
}

bool SystemFolderListingSource::stamps_track_changes(std::u16string_view root) const {
  return upcase_char() && DriveFacts(root).stamps_track_changes();
}

std::vector<FolderListingSource::RootChanges> SystemFolderListingSource::root_changes(
    std::span<const std::u16string> roots) const {
  // The lyric folders mostly share a drive; each drive is asked once, for the first of them.
  std::vector<DriveFacts> drives;
  std::vector<RootChanges> all(roots.size());
  for (size_t i = 0; i < roots.size(); ++i) {
    auto drive = std::find_if(drives.begin(), drives.end(),
                              [&](const DriveFacts& facts) { return facts.holds(roots[i]); });
    if (drive == drives.end()) drive = drives.emplace(drives.end(), roots[i]);
    all[i].watch = subtree_watch(roots[i], *drive);
    if (!all[i].watch) all[i].stamps = upcase_char() && drive->stamps_track_changes();
  }
  return all;
}

std::unique_ptr<FolderWatch> SystemFolderListingSource::watch_folder(
    std::u16string_view folder) const {
  // On Windows an open folder keeps the user from renaming or removing the folders above it,
  // and a whole subtree is watched instead. Wine holds no such lock, and reports only a
  // folder's own entries.
  if (!running_on_wine() || !upcase_char()) return nullptr;
  auto watch = std::make_unique<EntriesWatch>(wide(folder));
  if (!watch->armed()) return nullptr;
  return watch;
}

std::vector<size_t> SystemFolderListingSource::changed_watches(
    std::span<FolderWatch* const> watches) const {
  std::vector<size_t> changed;
  std::vector<HANDLE> handles;
  handles.reserve(watches.size());
  for (FolderWatch* watch : watches) handles.push_back(static_cast<HANDLE>(watch->wait_handle()));
  for (size_t start = 0; start < handles.size(); start += MAXIMUM_WAIT_OBJECTS) {
    const size_t end = std::min(handles.size(), start + MAXIMUM_WAIT_OBJECTS);
    size_t next = start;
    while (next < end) {
      const DWORD count = static_cast<DWORD>(end - next);
      const DWORD result = WaitForMultipleObjects(count, &handles[next], FALSE, 0);
      if (result == WAIT_TIMEOUT) break;
      if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
        const size_t hit = next + (result - WAIT_OBJECT_0);
        watches[hit]->changed();
        changed.push_back(hit);
        next = hit + 1;
        continue;
      }
      // Asking failed (a handle that is none, say): what cannot be asked counts as changed.
      for (size_t i = next; i < end; ++i) changed.push_back(i);
      break;
    }
  }
  return changed;
}

uint64_t SystemFolderListingSource::changes_seen() const {
  return g_entries_changes.load(std::memory_order_acquire);
}

}  // namespace sabla
