#pragma once
// What a child tells its parent while it runs, through a named shared page: the parent reads it
// when the child stops answering or dies, to name the sequence and step that did it.
#include <windows.h>

#include <cstdint>
#include <string>

namespace fuzz_host {

inline constexpr int kBacktraceDepth = 16;

struct Progress {
  volatile LONG ready;           // 1 once the plug-in is loaded and registered
  volatile LONG sequence;        // index, within the child's run, of the sequence under way
  volatile LONG step;            // step under way within it; -1 the closing hide and clr
  volatile LONG completed;       // sequences finished
  volatile LONG gdi_baseline;    // GDI objects before the first sequence
  volatile LONG gdi_min;         // after a sequence
  volatile LONG gdi_max;
  volatile LONG gdi_last;
  volatile LONG dialogs_closed;  // message boxes the host dismissed
  // The crash, written by the child's last-chance filter.
  volatile LONG crashed;
  volatile ULONG exception_code;
  volatile ULONG thread_id;
  volatile ULONG main_thread_id;
  volatile ULONGLONG exception_address;
  volatile ULONGLONG access_address;  // for an access violation: the address touched
  volatile ULONG access_kind;         // 0 read, 1 write, 8 execute
  volatile ULONGLONG plugin_base;     // to turn addresses into offsets into the library
  volatile ULONGLONG plugin_end;
  volatile ULONGLONG backtrace[kBacktraceDepth];
};

// A named shared page holding one Progress, made by the parent and opened by the child.
class SharedProgress {
 public:
  SharedProgress(const std::wstring& name, bool create) {
    mapping_ = create ? CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           sizeof(Progress), name.c_str())
                      : OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (mapping_) {
      view_ = static_cast<Progress*>(
          MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Progress)));
    }
  }
  ~SharedProgress() {
    if (view_) UnmapViewOfFile(const_cast<Progress*>(view_));
    if (mapping_) CloseHandle(mapping_);
  }
  SharedProgress(const SharedProgress&) = delete;
  SharedProgress& operator=(const SharedProgress&) = delete;

  Progress* get() const { return view_; }

 private:
  HANDLE mapping_ = nullptr;
  Progress* view_ = nullptr;
};

}  // namespace fuzz_host
