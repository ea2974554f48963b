#pragma once
// The plug-in's "rvis" record: every field decoded, and checked against the registration a
// well-behaved Sabla sends.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host_protocol.h"

namespace standin {

struct Registration {
  uint32_t major_version = 0;
  uint32_t minor_version = 0;
  uint32_t declared_size = 0;
  uint8_t name_length = 0;
  std::string name;  // the 8-bit characters, at most 63 of them
  uint32_t options = 0;
  uint32_t creator = 0;
  std::array<uint8_t, 4> version{};  // major, minor revision, stage, non-release revision
  uint64_t handler = 0;
  uint64_t reference = 0;
  uint32_t time_between_data_ms = 0;
  uint32_t waveform_channels = 0;
  uint32_t spectrum_channels = 0;
  uint16_t min_width = 0;
  uint16_t min_height = 0;
  uint16_t max_width = 0;
  uint16_t max_height = 0;
  uint16_t min_depth = 0;
  uint16_t max_depth = 0;
  uint16_t alignment = 0;
};

// A byte outside every named field that is not zero. Offsets count from the record's start.
struct StrayByte {
  size_t offset;
  uint8_t value;
};

struct RegistrationCheck {
  PointerWidth width = kNativePointerWidth;
  size_t bytes_seen = 0;
  Registration fields;
  std::vector<StrayByte> stray_bytes;
  std::vector<std::string> problems;  // one readable sentence each; empty when all is well

  bool valid() const { return problems.empty(); }
};

// What Sabla registers, apart from the handler address and the loop setting.
inline constexpr uint32_t kExpectedOptions = 0x28;  // idle messages 0x08, configure 0x20
inline constexpr uint32_t kExpectedCreator = four_char_code("????");
inline constexpr std::array<uint8_t, 4> kExpectedVersion = {1, 0, 0x80, 0};
inline constexpr uint32_t kExpectedChannels = 2;
inline constexpr uint16_t kExpectedMinSize = 64;
inline constexpr uint16_t kExpectedMaxSize = 0x7FFF;

// Decodes `record` (the bytes the plug-in handed over, normally all 636) laid out for `width`
// and lists everything that differs from a correct registration. Never reads past `record`.
RegistrationCheck check_registration(std::span<const uint8_t> record, PointerWidth width);

// A report of every field, one per line, then the problems and a verdict line.
std::string format_registration_report(const RegistrationCheck& check);

}  // namespace standin
