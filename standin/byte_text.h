#pragma once
// Bounded reading of little-endian fields and readable text for bytes from outside.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace standin {

// Reads fields of a record it does not own. A field that does not lie wholly inside the bytes
// reads as zero, so a short record can be described without reading past its end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool holds(size_t offset, size_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }
  uint8_t u8(size_t offset) const { return static_cast<uint8_t>(little_endian(offset, 1)); }
  uint16_t u16(size_t offset) const { return static_cast<uint16_t>(little_endian(offset, 2)); }
  uint32_t u32(size_t offset) const { return static_cast<uint32_t>(little_endian(offset, 4)); }
  // A 4- or 8-byte value, as a pointer of that width is stored.
  uint64_t word(size_t offset, size_t size) const { return little_endian(offset, size); }
  size_t size() const { return bytes_.size(); }

 private:
  uint64_t little_endian(size_t offset, size_t size) const {
    if (!holds(offset, size) || size > 8) return 0;
    uint64_t value = 0;
    for (size_t i = size; i-- > 0;) value = value << 8 | bytes_[offset + i];
    return value;
  }

  std::span<const uint8_t> bytes_;
};

// Printable ASCII as it is; quotes, backslashes and every other byte escaped as \" \\ \xNN.
std::string escape_bytes(std::string_view bytes);

// "0x0000002A": `digits` hex digits, upper case.
std::string hex(uint64_t value, int digits = 8);

}  // namespace standin
