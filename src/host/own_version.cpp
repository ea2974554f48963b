#include "host/own_version.h"

#include <cstring>
#include <limits>
#include <string>

namespace sabla {
namespace {

// The block starts with its length, the value's length and its type (three 16-bit words, 6 bytes),
// then the key "VS_VERSION_INFO" in UTF-16 with its terminator; the fixed part follows on the next
// 4-byte boundary.
constexpr size_t kHeaderBytes = 6;
constexpr char16_t kKey[] = u"VS_VERSION_INFO";
constexpr size_t kKeyBytes = sizeof kKey;  // terminator included
constexpr size_t kFixedOffset = (kHeaderBytes + kKeyBytes + 3) / 4 * 4;
constexpr size_t kFixedSize = 52;
constexpr uint32_t kFixedSignature = 0xFEEF04BDu;

uint16_t word_at(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t dword_at(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(word_at(bytes, at)) | static_cast<uint32_t>(word_at(bytes, at + 2))
                                                         << 16;
}

std::u16string ascii_to_u16(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace

std::optional<VersionParts> fixed_file_version(std::span<const uint8_t> resource) {
  if (resource.size() < kFixedOffset + kFixedSize) return std::nullopt;
  const size_t block_length = word_at(resource, 0);
  const size_t value_length = word_at(resource, 2);
  if (block_length < kFixedOffset + kFixedSize || value_length < kFixedSize) return std::nullopt;
  for (size_t i = 0; i < kKeyBytes / 2; ++i) {
    if (word_at(resource, kHeaderBytes + 2 * i) != kKey[i]) return std::nullopt;
  }
  const std::span<const uint8_t> fixed = resource.subspan(kFixedOffset, kFixedSize);
  if (dword_at(fixed, 0) != kFixedSignature) return std::nullopt;
  const uint32_t most = dword_at(fixed, 8);
  const uint32_t least = dword_at(fixed, 12);
  return VersionParts{static_cast<uint16_t>(most >> 16), static_cast<uint16_t>(most & 0xFFFF),
                      static_cast<uint16_t>(least >> 16), static_cast<uint16_t>(least & 0xFFFF)};
}

OwnVersion make_own_version(const VersionParts& parts) {
  std::string text;
  std::string digits;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) text += '.';
    text += std::to_string(parts[i]);
    digits += std::to_string(parts[i]);
  }
  int64_t number = 0;
  for (const char digit : digits) {
    number = number * 10 + (digit - '0');
    if (number > std::numeric_limits<int32_t>::max()) {
      number = std::numeric_limits<int32_t>::max();
      break;
    }
  }
  OwnVersion version;
  version.text = ascii_to_u16(text);
  version.number = static_cast<int32_t>(number);
  version.caption = u"Sabla ver." + version.text + u" BETA";
  return version;
}

}  // namespace sabla
