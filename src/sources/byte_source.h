#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace sabla {

// Random access to the bytes of a song file. Reads never go past the end: they return fewer
// bytes, or none, instead.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t size() const = 0;
  // Copies the bytes from `offset` on into `out`; returns how many were copied, fewer than
  // asked only at the end of the file or when the file cannot be read further.
  virtual size_t read(uint64_t offset, std::span<uint8_t> out) = 0;
};

// A file held in memory (tests, fuzzing, benchmarks). The bytes must outlive the source.
class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  size_t read(uint64_t offset, std::span<uint8_t> out) override;

 private:
  std::span<const uint8_t> bytes_;
};

// Up to `count` bytes from `offset`: as many as the file holds there.
std::vector<uint8_t> read_range(ByteSource& source, uint64_t offset, size_t count);

}  // namespace sabla
