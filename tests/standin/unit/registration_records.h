#pragma once
// Registration records built byte by byte, at the offsets the plug-in interface fixes, so the
// decoder is checked against the interface and not against its own layout table.
#include <cstdint>
#include <cstring>
#include <vector>

#include "host_protocol.h"

namespace standin::test {

// Offsets of the fields that follow the handler, for each pointer width.
struct HandOffsets {
  size_t pointer;
  size_t handler;
  size_t reference;
  size_t loop;
  size_t waveform;
  size_t spectrum;
  size_t min_width;
  size_t min_height;
  size_t max_width;
  size_t max_height;
  size_t min_depth;
  size_t max_depth;
  size_t alignment;
  size_t end;  // first byte after the named fields
};

// 32-bit: the host's table, body offsets plus the 12-byte header.
inline constexpr HandOffsets kOffsets32{4,   88,  92,  96,  100, 104, 108,
                                        110, 112, 114, 116, 118, 120, 122};
// 64-bit: 4-byte packing with 8-byte handler and reference.
inline constexpr HandOffsets kOffsets64{8,   88,  96,  104, 108, 112, 116,
                                        118, 120, 122, 124, 126, 128, 130};

inline const HandOffsets& offsets_for(PointerWidth width) {
  return width == PointerWidth::k64 ? kOffsets64 : kOffsets32;
}

inline void put8(std::vector<uint8_t>& r, size_t offset, uint8_t v) { r.at(offset) = v; }
inline void put16(std::vector<uint8_t>& r, size_t offset, uint16_t v) {
  r.at(offset) = static_cast<uint8_t>(v);
  r.at(offset + 1) = static_cast<uint8_t>(v >> 8);
}
inline void put32(std::vector<uint8_t>& r, size_t offset, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) r.at(offset + i) = static_cast<uint8_t>(v >> (8 * i));
}
inline void put_word(std::vector<uint8_t>& r, size_t offset, uint64_t v, size_t size) {
  for (size_t i = 0; i < size; ++i) r.at(offset + i) = static_cast<uint8_t>(v >> (8 * i));
}

// The record a correct Sabla sends, with `handler` as the handler address.
inline std::vector<uint8_t> sabla_registration(PointerWidth width, uint64_t handler = 0x10001234,
                                               uint32_t loop_ms = 10) {
  const HandOffsets& o = offsets_for(width);
  std::vector<uint8_t> r(636, 0);
  put32(r, 0, 10);
  put32(r, 4, 7);
  put32(r, 8, 636);
  put8(r, 12, 5);
  std::memcpy(r.data() + 13, "Sabla", 5);
  put32(r, 76, 0x28);
  put32(r, 80, 0x3F3F3F3F);
  put8(r, 84, 1);
  put8(r, 85, 0);
  put8(r, 86, 0x80);
  put8(r, 87, 0);
  put_word(r, o.handler, handler, o.pointer);
  put32(r, o.loop, loop_ms);
  put32(r, o.waveform, 2);
  put32(r, o.spectrum, 2);
  put16(r, o.min_width, 64);
  put16(r, o.min_height, 64);
  put16(r, o.max_width, 0x7FFF);
  put16(r, o.max_height, 0x7FFF);
  return r;
}

}  // namespace standin::test
