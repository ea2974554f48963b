#include "settings/atomic_file_win32.h"

#include <algorithm>
#include <vector>

namespace sabla {
namespace {

class SystemFileLayer final : public FileLayer {
 public:
  DWORD attributes(const std::wstring& path) override { return GetFileAttributesW(path.c_str()); }
  bool set_attributes(const std::wstring& path, DWORD attributes) override {
    return SetFileAttributesW(path.c_str(), attributes) != FALSE;
  }
  UniqueFile create(const std::wstring& path) override {
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  bool write(HANDLE file, const uint8_t* data, DWORD size) override {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
  }
  bool flush(HANDLE file) override { return FlushFileBuffers(file) != FALSE; }
  bool close(UniqueFile& file) override { return file.reset(); }
  bool move_replacing(const std::wstring& from, const std::wstring& to) override {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  }
  bool remove(const std::wstring& path) override { return DeleteFileW(path.c_str()) != FALSE; }
};

// What a replaced file keeps. Read-only never reaches the temporary file: a read-only target is
// refused, and a read-only temporary could not be cleaned up. The new content is not backed up
// yet, so it is marked for archiving like any changed file.
constexpr DWORD kCarriedAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool write_all(FileLayer& files, HANDLE file, std::span<const uint8_t> bytes) {
  constexpr size_t kChunk = 1 << 20;
  for (size_t done = 0; done < bytes.size();) {
    const size_t size = std::min(kChunk, bytes.size() - done);
    if (!files.write(file, bytes.data() + done, static_cast<DWORD>(size))) return false;
    done += size;
  }
  return true;
}

size_t name_start(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? 0 : slash + 1;
}

// FNV-1a over the name as the file system compares it, without regard to case.
uint32_t name_hash(std::wstring name) {
  if (!name.empty()) CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  uint32_t hash = 2166136261u;
  for (const wchar_t unit : name) {
    hash = (hash ^ (unit & 0xFF)) * 16777619u;
    hash = (hash ^ (unit >> 8)) * 16777619u;
  }
  return hash;
}

bool missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

FileLayer& system_file_layer() {
  static SystemFileLayer layer;
  return layer;
}

std::wstring long_path_form(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\")) return path;
  // The long form skips all clean-up of the path, so it is made from the full, clean path.
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::vector<wchar_t> buffer(size);
  const DWORD length = GetFullPathNameW(path.c_str(), size, buffer.data(), nullptr);
  if (length == 0 || length >= size) return path;
  const std::wstring full(buffer.data(), length);
  if (full.starts_with(L"\\\\.\\") || full.starts_with(L"\\\\?\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring temporary_path_for(const std::wstring& path) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  const size_t start = name_start(path);
  const uint32_t hash = name_hash(path.substr(start));
  std::wstring name = L"~sabla";
  for (int shift = 28; shift >= 0; shift -= 4) name += kHex[(hash >> shift) & 0xF];
  name += L".tmp";
  return long_path_form(path.substr(0, start) + name);
}

bool write_file_atomically(const std::wstring& path, std::span<const uint8_t> bytes,
                           FileLayer& files) {
  const std::wstring target = long_path_form(path);
  const std::wstring temporary = temporary_path_for(path);
  // Whatever a crashed save left under this name is an unfinished copy; the target is whole.
  files.remove(temporary);

  const DWORD old_attributes = files.attributes(target);
  const bool replacing = old_attributes != INVALID_FILE_ATTRIBUTES;
  if (!replacing && !missing(GetLastError())) return false;
  // Windows refuses to replace a read-only file and Wine replaces it; refusing first gives the
  // same answer on both, and the user's protection of the file is respected.
  if (replacing && (old_attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }

  UniqueFile file = files.create(temporary);
  if (!file) return false;
  bool ok = write_all(files, file.get(), bytes) && files.flush(file.get());
  // The handle is closed before the move either way: Windows cannot move or delete an open file.
  ok = files.close(file) && ok;
  // A move gives the target the temporary file's attributes, so the old ones go there first.
  if (ok && replacing) {
    ok = files.set_attributes(temporary,
                              (old_attributes & kCarriedAttributes) | FILE_ATTRIBUTE_ARCHIVE);
  }
  if (ok && files.move_replacing(temporary, target)) return true;
  const DWORD error = GetLastError();
  files.remove(temporary);
  SetLastError(error);
  return false;
}

}  // namespace sabla
