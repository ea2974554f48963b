// The library's operator new and delete for the guarded build that fuzz_host can load instead of
// the shipped one: every object gets pages of its own, its end against an inaccessible page, and
// a deleted object's pages are decommitted and kept out of use for a long while. A write past an
// object's end or into a deleted object then faults at the writing instruction, inside the
// library, where the crash recorder names it, instead of damaging a heap that some later caller
// trips over. (Reads and writes a few bytes short of the 16-byte rounding are not caught.)
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kArenaBytes = size_t{768} << 20;
// Deleted ranges wait until this many later ones, or this many pages of them, have come after
// them before their pages are used again; the pages bound the address space they hold.
constexpr size_t kQuarantineRanges = 20000;
constexpr size_t kQuarantinePages = 32768;
// Objects of more pages get a reservation of their own, released at delete.
constexpr uint32_t kMaxArenaPages = 64;
constexpr uint32_t kMagic = 0x5AB1A6D0;
constexpr uint32_t kMagicOwnReservation = 0x5AB1A6D1;

struct Header {
  uint32_t magic;
  uint32_t pages;  // the object's pages, without the guard page after them
  uint8_t* base;
  uint32_t spare;
};

struct Range {
  uint8_t* base;
  uint32_t pages;
};

struct PageArena {
  SRWLOCK lock = SRWLOCK_INIT;
  uint8_t* start = nullptr;
  uint8_t* next = nullptr;
  uint8_t* end = nullptr;
  Range quarantine[kQuarantineRanges] = {};
  size_t quarantine_oldest = 0;
  size_t quarantine_count = 0;
  size_t quarantine_pages = 0;
  // Ranges back from quarantine, kept by page count.
  Range* reusable[kMaxArenaPages + 1] = {};
  size_t reusable_count[kMaxArenaPages + 1] = {};
  size_t reusable_capacity[kMaxArenaPages + 1] = {};
  bool tried = false;
};

PageArena& arena() {
  static PageArena* the = new (HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(PageArena)))
      PageArena;
  return *the;
}

void keep_for_reuse(PageArena& a, Range range) {
  const uint32_t n = range.pages;
  if (a.reusable_count[n] == a.reusable_capacity[n]) {
    const size_t grown = a.reusable_capacity[n] ? a.reusable_capacity[n] * 2 : 256;
    void* bigger = a.reusable[n]
                       ? HeapReAlloc(GetProcessHeap(), 0, a.reusable[n], grown * sizeof(Range))
                       : HeapAlloc(GetProcessHeap(), 0, grown * sizeof(Range));
    if (!bigger) return;
    a.reusable[n] = static_cast<Range*>(bigger);
    a.reusable_capacity[n] = grown;
  }
  a.reusable[n][a.reusable_count[n]++] = range;
}

// Object pages plus one guard page, committed; null when the arena cannot give them.
uint8_t* take_pages(PageArena& a, uint32_t pages) {
  if (!a.tried) {
    a.tried = true;
    a.start = static_cast<uint8_t*>(VirtualAlloc(nullptr, kArenaBytes, MEM_RESERVE, PAGE_NOACCESS));
    a.next = a.start;
    a.end = a.start ? a.start + kArenaBytes : nullptr;
  }
  uint8_t* base = nullptr;
  if (a.reusable_count[pages] > 0) {
    base = a.reusable[pages][--a.reusable_count[pages]].base;
  } else if (a.start && static_cast<size_t>(a.end - a.next) >= (pages + 1) * kPage) {
    base = a.next;
    a.next += (pages + 1) * kPage;
  }
  if (base && !VirtualAlloc(base, pages * kPage, MEM_COMMIT, PAGE_READWRITE)) return nullptr;
  return base;
}

void* guarded_allocate(size_t size, size_t alignment) {
  if (alignment < 16) alignment = 16;
  const size_t body = (size + alignment - 1) / alignment * alignment;
  if (body < size || body > kArenaBytes / 4 || alignment > kPage) return nullptr;
  const uint32_t pages = static_cast<uint32_t>((body + sizeof(Header) + kPage - 1) / kPage);
  uint8_t* base = nullptr;
  uint32_t magic = kMagic;
  if (pages <= kMaxArenaPages) {
    PageArena& a = arena();
    AcquireSRWLockExclusive(&a.lock);
    base = take_pages(a, pages);
    ReleaseSRWLockExclusive(&a.lock);
  }
  if (!base) {
    magic = kMagicOwnReservation;
    base = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, (pages + 1) * kPage, MEM_RESERVE, PAGE_NOACCESS));
    if (base && !VirtualAlloc(base, pages * kPage, MEM_COMMIT, PAGE_READWRITE)) {
      VirtualFree(base, 0, MEM_RELEASE);
      base = nullptr;
    }
  }
  if (!base) return nullptr;
  uint8_t* data = base + pages * kPage - body;
  // The header sits right before the object, so that delete finds the pages from the pointer.
  Header* header = reinterpret_cast<Header*>(data) - 1;
  *header = Header{magic, pages, base, 0};
  return data;
}

void guarded_free(void* pointer) {
  if (!pointer) return;
  Header* header = static_cast<Header*>(pointer) - 1;
  if (header->magic == kMagicOwnReservation) {
    header->magic = 0;
    VirtualFree(header->base, 0, MEM_RELEASE);
    return;
  }
  if (header->magic != kMagic) {
    // Not ours: a wrong pointer given to delete. Fault here, where the caller is known.
    *static_cast<volatile uint32_t*>(nullptr) = 0;
  }
  const Range range{header->base, header->pages};
  header->magic = 0;
  PageArena& a = arena();
  AcquireSRWLockExclusive(&a.lock);
  VirtualFree(range.base, range.pages * kPage, MEM_DECOMMIT);
  while (a.quarantine_count == kQuarantineRanges ||
         (a.quarantine_count > 0 && a.quarantine_pages + range.pages > kQuarantinePages)) {
    const Range oldest = a.quarantine[a.quarantine_oldest];
    keep_for_reuse(a, oldest);
    a.quarantine_pages -= oldest.pages;
    a.quarantine_oldest = (a.quarantine_oldest + 1) % kQuarantineRanges;
    --a.quarantine_count;
  }
  a.quarantine[(a.quarantine_oldest + a.quarantine_count) % kQuarantineRanges] = range;
  ++a.quarantine_count;
  a.quarantine_pages += range.pages;
  ReleaseSRWLockExclusive(&a.lock);
}

void* allocate_or_throw(size_t size, size_t alignment) {
  if (void* p = guarded_allocate(size, alignment)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t size) { return allocate_or_throw(size, 16); }
void* operator new[](size_t size) { return allocate_or_throw(size, 16); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return guarded_allocate(size, 16);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return guarded_allocate(size, 16);
}
void* operator new(size_t size, std::align_val_t alignment) {
  return allocate_or_throw(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment) {
  return allocate_or_throw(size, static_cast<size_t>(alignment));
}
void operator delete(void* p) noexcept { guarded_free(p); }
void operator delete[](void* p) noexcept { guarded_free(p); }
void operator delete(void* p, size_t) noexcept { guarded_free(p); }
void operator delete[](void* p, size_t) noexcept { guarded_free(p); }
void operator delete(void* p, std::align_val_t) noexcept { guarded_free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { guarded_free(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { guarded_free(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { guarded_free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { guarded_free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { guarded_free(p); }
