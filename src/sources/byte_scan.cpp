#include "sources/byte_scan.h"

#include <algorithm>
#include <vector>

namespace sabla {
namespace {

// Sequential reading in large blocks, since the search looks at one byte at a time.
class ByteStream {
 public:
  ByteStream(ByteSource& source, uint64_t start) : source_(source), next_read_(start) {}

  // The next byte, or -1 at the end of the file.
  int get() {
    if (at_ == filled_ && !refill()) return -1;
    return buffer_[at_++];
  }

  uint64_t position() const { return next_read_ - filled_ + at_; }

 private:
  bool refill() {
    filled_ = source_.read(next_read_, buffer_);
    next_read_ += filled_;
    at_ = 0;
    return filled_ > 0;
  }

  static constexpr size_t kBlock = 64 * 1024;
  ByteSource& source_;
  uint64_t next_read_;
  std::vector<uint8_t> buffer_ = std::vector<uint8_t>(kBlock);
  size_t at_ = 0;
  size_t filled_ = 0;
};

}  // namespace

std::optional<uint64_t> find_name(ByteSource& source, uint64_t start, std::span<const uint8_t> name,
                                  uint64_t limit) {
  if (name.empty() || start >= source.size()) return std::nullopt;
  ByteStream stream(source, start);
  uint64_t consumed = 0;
  while (consumed < limit) {
    int c = stream.get();
    if (c < 0) return std::nullopt;
    ++consumed;
    if (c != name[0]) continue;
    size_t matched = 1;
    while (matched < name.size() && consumed < limit) {
      c = stream.get();
      if (c < 0) return std::nullopt;
      ++consumed;
      if (c != name[matched]) break;
      ++matched;
    }
    if (matched == name.size()) return stream.position() - name.size();
  }
  return std::nullopt;
}

}  // namespace sabla
