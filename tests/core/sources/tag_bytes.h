#pragma once
// Byte builders for lyric files and song-file tags, and the code page the core tests decode
// 8-bit text with.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "settings/code_page.h"

namespace sabla::test {

using Bytes = std::vector<uint8_t>;

inline Bytes bytes(std::string_view text) { return Bytes(text.begin(), text.end()); }
inline Bytes bytes(std::initializer_list<uint8_t> list) { return Bytes(list); }

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Bytes filler(size_t count, uint8_t value = 0x2E) { return Bytes(count, value); }

inline Bytes utf16le(std::u16string_view text) {
  Bytes out;
  for (const char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

inline Bytes utf16be(std::u16string_view text) {
  Bytes out;
  for (const char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c & 0xFF));
  }
  return out;
}

inline Bytes big_endian(uint32_t value, int width) {
  Bytes out;
  for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  return out;
}

// "ID3", the major version, revision 0, no flags and a tag size (sync-safe) of `size`.
inline Bytes id3_header(uint8_t major, uint32_t size = 0x400) {
  return bytes("ID3") + Bytes{major, 0, 0} +
         Bytes{static_cast<uint8_t>((size >> 21) & 0x7F), static_cast<uint8_t>((size >> 14) & 0x7F),
               static_cast<uint8_t>((size >> 7) & 0x7F), static_cast<uint8_t>(size & 0x7F)};
}

// An ID3v2.3 USLT frame: encoding, language, then `rest` (descriptor and text). The size field
// says the true content size unless `size` is given.
inline Bytes uslt_frame(uint8_t encoding, std::string_view language, const Bytes& rest,
                        int64_t size = -1) {
  const Bytes content = Bytes{encoding} + bytes(language) + rest;
  const auto stated = static_cast<uint32_t>(size < 0 ? content.size() : size);
  return bytes("USLT") + big_endian(stated, 4) + Bytes{0, 0} + content;
}

// An ID3v2.2 ULT frame: encoding, language, then descriptor and text.
inline Bytes ult_frame(uint8_t encoding, std::string_view language, const Bytes& rest) {
  const Bytes content = Bytes{encoding} + bytes(language) + rest;
  return bytes("ULT") + big_endian(static_cast<uint32_t>(content.size()), 3) + content;
}

// An ID3v2.3 text frame, to sit beside the lyrics.
inline Bytes text_frame(std::string_view id, std::string_view text) {
  const Bytes content = Bytes{0} + bytes(text);
  return bytes(id) + big_endian(static_cast<uint32_t>(content.size()), 4) + Bytes{0, 0} + content;
}

// The ©lyr atom of an MP4 file with its data atom holding UTF-8 `text`.
inline Bytes lyrics_atom(std::string_view text) {
  const Bytes data = big_endian(static_cast<uint32_t>(16 + text.size()), 4) + bytes("data") +
                     big_endian(1, 4) + big_endian(0, 4) + bytes(text);
  return big_endian(static_cast<uint32_t>(8 + data.size()), 4) + Bytes{0xA9} + bytes("lyr") + data;
}

// Each byte becomes the unit of the same value, so tests see exactly which bytes were decoded.
class ByteCodePage final : public CodePage {
 public:
  std::u16string decode(std::string_view text) const override {
    ++calls;
    std::u16string out;
    for (const char c : text) out += static_cast<char16_t>(static_cast<unsigned char>(c));
    return out;
  }
  mutable int calls = 0;
};

}  // namespace sabla::test
