#pragma once
#include <windows.h>

namespace sabla {

// A handle of the directory calls, closed by the call that belongs to it.
template <BOOL(WINAPI* Close)(HANDLE)>
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) Close(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// An open directory listing.
using UniqueFind = FindHandle<FindClose>;
// An armed change notification.
using ChangeNotification = FindHandle<FindCloseChangeNotification>;

}  // namespace sabla
