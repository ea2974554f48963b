#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "sources/byte_source.h"

namespace sabla {

// Song files are searched no further than this many bytes from where a search starts, which
// bounds the work on the host's thread.
inline constexpr uint64_t kScanByteLimit = 2000000;
inline constexpr uint64_t kNoScanLimit = UINT64_MAX;

// The offset of the first byte of `name` found by reading forward from `start`, looking at no
// more than `limit` bytes; nullopt when the name is not there. A partial match that fails goes
// on behind the byte that broke it: neither the failed start nor that byte is tried as a new
// start, so "UUSLT" holds no "USLT" for this search.
std::optional<uint64_t> find_name(ByteSource& source, uint64_t start, std::span<const uint8_t> name,
                                  uint64_t limit = kScanByteLimit);

}  // namespace sabla
