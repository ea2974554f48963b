#include "sources/file_byte_source_win32.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "settings/atomic_file_win32.h"

namespace sabla {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

class FileByteSource final : public ByteSource {
 public:
  FileByteSource(UniqueFile file, uint64_t size) : file_(std::move(file)), size_(size) {}

  uint64_t size() const override { return size_; }

  size_t read(uint64_t offset, std::span<uint8_t> out) override {
    size_t done = 0;
    while (done < out.size() && offset + done < size_) {
      // Each read names its own position, so reads never depend on one another.
      OVERLAPPED at = {};
      const uint64_t position = offset + done;
      at.Offset = static_cast<DWORD>(position);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
      const DWORD want = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 20));
      DWORD got = 0;
      if (!ReadFile(file_.get(), out.data() + done, want, &got, &at) || got == 0) break;
      done += got;
    }
    return done;
  }

 private:
  UniqueFile file_;
  uint64_t size_;
};

}  // namespace

std::unique_ptr<ByteSource> open_file_byte_source(std::u16string_view path) {
  const std::wstring name(path.begin(), path.end());
  UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return nullptr;
  return std::make_unique<FileByteSource>(std::move(file), static_cast<uint64_t>(size.QuadPart));
}

}  // namespace sabla
