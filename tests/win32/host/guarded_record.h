#pragma once
// A message record that ends exactly where the host's record would, flush against a page the
// process may not touch: reading or writing one byte too many faults.
#include <windows.h>

#include <cstring>

namespace sabla::test {

class GuardedRecord {
 public:
  explicit GuardedRecord(size_t length) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    page_ = system.dwPageSize;
    pages_ = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, 2 * page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old_protection = 0;
    VirtualProtect(pages_ + page_, page_, PAGE_NOACCESS, &old_protection);
    record_ = pages_ + page_ - length;
  }
  ~GuardedRecord() { VirtualFree(pages_, 0, MEM_RELEASE); }
  GuardedRecord(const GuardedRecord&) = delete;
  GuardedRecord& operator=(const GuardedRecord&) = delete;

  // Copies the first bytes of `message` in; the record holds no more than its length.
  template <typename Message>
  void* hold(const Message& message) {
    std::memcpy(record_, &message, static_cast<size_t>(pages_ + page_ - record_));
    return record_;
  }
  uint8_t* get() const { return record_; }

 private:
  size_t page_ = 0;
  uint8_t* pages_ = nullptr;
  uint8_t* record_ = nullptr;
};

}  // namespace sabla::test
