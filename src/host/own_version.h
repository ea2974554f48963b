#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sabla {

// The four 16-bit parts of a file version, most significant first.
using VersionParts = std::array<uint16_t, 4>;

// The fixed file version of a version resource (the VS_VERSIONINFO block as stored), or nothing
// when the block is too short or its fixed part is missing or malformed.
std::optional<VersionParts> fixed_file_version(std::span<const uint8_t> resource);

// The plug-in's own version in the three forms the interface uses.
struct OwnVersion {
  std::u16string text;     // "%d.%d.%d.%d"
  int32_t number = 0;      // the parts' digits one after another, read as one decimal number
  std::u16string caption;  // "Sabla ver.%s BETA"
};

// A number with more digits than an int32_t holds saturates, so it still compares as newest.
OwnVersion make_own_version(const VersionParts& parts);

}  // namespace sabla
