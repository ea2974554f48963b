#include "settings/atomic_file_win32.h"

#include <algorithm>

namespace sabla {
namespace {

class SystemFileLayer final : public FileLayer {
 public:
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
    // Windows refuses to replace a read-only file, but Wine replaces it; asking first gives the
    // same answer on both.
    const DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  }
  bool remove(const std::wstring& path) override { return DeleteFileW(path.c_str()) != FALSE; }
};

bool write_all(FileLayer& files, HANDLE file, std::span<const uint8_t> bytes) {
  constexpr size_t kChunk = 1 << 20;
  for (size_t done = 0; done < bytes.size();) {
    const size_t size = std::min(kChunk, bytes.size() - done);
    if (!files.write(file, bytes.data() + done, static_cast<DWORD>(size))) return false;
    done += size;
  }
  return true;
}

}  // namespace

FileLayer& system_file_layer() {
  static SystemFileLayer layer;
  return layer;
}

std::wstring temporary_path_for(const std::wstring& path) { return path + L".saving"; }

bool write_file_atomically(const std::wstring& path, std::span<const uint8_t> bytes,
                           FileLayer& files) {
  const std::wstring temporary = temporary_path_for(path);
  UniqueFile file = files.create(temporary);
  if (!file) return false;
  const bool written = write_all(files, file.get(), bytes) && files.flush(file.get());
  // The handle is closed before the move either way: Windows cannot move or delete an open file.
  const bool closed = files.close(file);
  if (written && closed && files.move_replacing(temporary, path)) return true;
  files.remove(temporary);
  return false;
}

}  // namespace sabla
