#include "sources/byte_source.h"

#include <algorithm>
#include <cstring>

namespace sabla {

size_t MemoryByteSource::read(uint64_t offset, std::span<uint8_t> out) {
  if (offset >= bytes_.size()) return 0;
  const size_t count = std::min(out.size(), bytes_.size() - static_cast<size_t>(offset));
  if (count > 0) std::memcpy(out.data(), bytes_.data() + offset, count);
  return count;
}

std::vector<uint8_t> read_range(ByteSource& source, uint64_t offset, size_t count) {
  const uint64_t size = source.size();
  if (offset >= size) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min<uint64_t>(count, size - offset)));
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t got = source.read(offset + done, std::span(bytes).subspan(done));
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace sabla
