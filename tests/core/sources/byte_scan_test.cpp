#include "sources/byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/sources/tag_bytes.h"

namespace sabla {
namespace {

using test::Bytes;
using test::operator+;

constexpr uint8_t kUslt[] = {'U', 'S', 'L', 'T'};

std::optional<uint64_t> find_in(const Bytes& file, uint64_t start = 0,
                                uint64_t limit = kScanByteLimit) {
  MemoryByteSource source(file);
  return find_name(source, start, kUslt, limit);
}

// A source that hands out at most a few bytes per read, as a file may.
class TricklingSource final : public ByteSource {
 public:
  TricklingSource(const Bytes& bytes, size_t step) : bytes_(bytes), step_(step) {}
  uint64_t size() const override { return bytes_.size(); }
  size_t read(uint64_t offset, std::span<uint8_t> out) override {
    return MemoryByteSource(bytes_).read(offset, out.first(std::min(out.size(), step_)));
  }

 private:
  const Bytes& bytes_;
  size_t step_;
};

TEST(FindName, FindsTheFirstWholeName) {
  EXPECT_EQ(find_in(test::bytes("xxUSLTyyUSLT")), 2u);
  EXPECT_EQ(find_in(test::bytes("USLT")), 0u);
  EXPECT_EQ(find_in(test::bytes("xxUSLTyyUSLT"), 3), 8u);
  EXPECT_EQ(find_in(test::bytes("USL")), std::nullopt);
  EXPECT_EQ(find_in(test::bytes("")), std::nullopt);
  EXPECT_EQ(find_in(test::bytes("USLT"), 4), std::nullopt);
  EXPECT_EQ(find_in(test::bytes("USLT"), 1000), std::nullopt);
}

TEST(FindName, AFailedPartialMatchResumesBehindTheByteThatBrokeIt) {
  EXPECT_EQ(find_in(test::bytes("UUSLT")), std::nullopt);
  EXPECT_EQ(find_in(test::bytes("USUSLT")), std::nullopt);
  EXPECT_EQ(find_in(test::bytes("USLUSLT")), std::nullopt);
  EXPECT_EQ(find_in(test::bytes("UUSLT USLT")), 6u);
  EXPECT_EQ(find_in(test::bytes("UxUSLT")), 2u);
  EXPECT_EQ(find_in(test::bytes("USLxUSLT")), 4u);
}

TEST(FindName, LooksAtNoMoreThanTheLimitFromTheStart) {
  // The name's last byte is the limit's last byte: found; one further: not.
  Bytes file = test::filler(kScanByteLimit - 4) + test::bytes("USLT");
  EXPECT_EQ(find_in(file), kScanByteLimit - 4);
  file = test::filler(kScanByteLimit - 3) + test::bytes("USLT");
  EXPECT_EQ(find_in(file), std::nullopt);
  EXPECT_EQ(find_in(file, 0, kNoScanLimit), kScanByteLimit - 3);
  // The limit counts from the start of the search.
  EXPECT_EQ(find_in(file, 1), kScanByteLimit - 3);
  EXPECT_EQ(find_in(test::bytes("abUSLT"), 0, 5), std::nullopt);
  EXPECT_EQ(find_in(test::bytes("abUSLT"), 0, 6), 2u);
}

TEST(FindName, ReadsAcrossBlocksAndShortReads) {
  const Bytes file = test::filler(64 * 1024 - 2) + test::bytes("USLT") + test::filler(10);
  for (const size_t step : {size_t{1}, size_t{3}, size_t{1} << 20}) {
    TricklingSource source(file, step);
    EXPECT_EQ(find_name(source, 0, kUslt), 64 * 1024 - 2u) << step;
    EXPECT_EQ(find_name(source, 64 * 1024, kUslt), std::nullopt) << step;
  }
}

TEST(ReadRange, ReadsOnlyWhatTheFileHolds) {
  const Bytes file = test::bytes("abcdef");
  MemoryByteSource source(file);
  EXPECT_EQ(read_range(source, 2, 3), test::bytes("cde"));
  EXPECT_EQ(read_range(source, 4, 100), test::bytes("ef"));
  EXPECT_EQ(read_range(source, 6, 1), Bytes{});
  EXPECT_EQ(read_range(source, UINT64_MAX - 1, 8), Bytes{});
  TricklingSource trickle(file, 2);
  EXPECT_EQ(read_range(trickle, 1, 4), test::bytes("bcde"));
}

}  // namespace
}  // namespace sabla
