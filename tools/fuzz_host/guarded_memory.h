#pragma once
// Memory whose readable part ends at an inaccessible page, so a record placed at its end makes
// any read past the record fault at once instead of reading whatever lies beyond.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzz_host {

class GuardedBlock {
 public:
  // `size` readable bytes (0 is allowed: the block is then only the boundary).
  explicit GuardedBlock(size_t size) : size_(size) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t readable = (size + page - 1) / page * page;
    base_ = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base_) return;
    DWORD old = 0;
    if (!VirtualProtect(base_ + readable, page, PAGE_NOACCESS, &old)) {
      VirtualFree(base_, 0, MEM_RELEASE);
      base_ = nullptr;
      return;
    }
    data_ = base_ + readable - size;
  }
  ~GuardedBlock() {
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
  }
  GuardedBlock(const GuardedBlock&) = delete;
  GuardedBlock& operator=(const GuardedBlock&) = delete;

  explicit operator bool() const { return base_ != nullptr; }
  // The first readable byte of the record; for size 0, the first unreadable byte.
  uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

  void assign(const void* bytes, size_t size) {
    if (data_ && size <= size_) std::memcpy(data_, bytes, size);
  }

 private:
  size_t size_;
  uint8_t* base_ = nullptr;
  uint8_t* data_ = nullptr;
};

}  // namespace fuzz_host
