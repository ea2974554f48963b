#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace sabla {

// An owned file handle.
class UniqueFile {
 public:
  UniqueFile() = default;
  explicit UniqueFile(HANDLE handle) : handle_(handle) {}
  ~UniqueFile() { reset(); }
  UniqueFile(UniqueFile&& other) noexcept : handle_(other.release()) {}
  UniqueFile& operator=(UniqueFile&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = other.release();
    }
    return *this;
  }
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() {
    HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return h;
  }
  // Closes the handle; false when closing failed (the handle is released either way).
  bool reset() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    const bool closed = CloseHandle(release()) != FALSE;
    return closed;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The file operations a safe save needs, one call each, so tests can fail any of them.
class FileLayer {
 public:
  virtual ~FileLayer() = default;
  // INVALID_FILE_ATTRIBUTES with the error in GetLastError when there is no such file.
  virtual DWORD attributes(const std::wstring& path) = 0;
  virtual bool set_attributes(const std::wstring& path, DWORD attributes) = 0;
  virtual UniqueFile create(const std::wstring& path) = 0;  // new or emptied, for writing
  virtual bool write(HANDLE file, const uint8_t* data, DWORD size) = 0;
  virtual bool flush(HANDLE file) = 0;
  virtual bool close(UniqueFile& file) = 0;
  virtual bool move_replacing(const std::wstring& from, const std::wstring& to) = 0;
  virtual bool remove(const std::wstring& path) = 0;
};

// The layer over the real file system.
FileLayer& system_file_layer();

// `path` in the "\\?\" form when it is too long for the plain form, else as it is.
std::wstring long_path_form(const std::wstring& path);

// The temporary file a save of `path` writes first: a short name in the same folder, the same
// for every save of that file (case aside), so the leftover of a save cut short by a crash is
// found and removed by the next one. In the long form when the folder leaves no room for it.
std::wstring temporary_path_for(const std::wstring& path);

// Replaces the file at `path` with `bytes` without ever leaving a truncated or half-written
// file behind: the bytes go to a temporary file beside it, which is flushed to disk, given the
// old file's attributes and then moved over the target. On any failure the old file is
// untouched, the temporary file is removed, and the result is false. A read-only target is
// never replaced.
bool write_file_atomically(const std::wstring& path, std::span<const uint8_t> bytes,
                           FileLayer& files = system_file_layer());

}  // namespace sabla
