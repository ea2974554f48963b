#include "sources/text_file.h"

#include "sources/text_buffer.h"

namespace sabla {
namespace {

constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kLf = 0x0A;
constexpr uint8_t kEndOfFile = 0x1A;

}  // namespace

std::string text_mode_bytes(std::span<const uint8_t> file) {
  std::string bytes;
  for (size_t i = 0; i < file.size() && bytes.size() < kMaxTextModeBytes; ++i) {
    uint8_t b = file[i];
    if (b == kEndOfFile) break;
    if (b == kCr && i + 1 < file.size() && file[i + 1] == kLf) {
      b = kLf;
      ++i;
    }
    bytes += static_cast<char>(b);
  }
  return bytes;
}

std::u16string decode_text_file(std::span<const uint8_t> file, const CodePage& ansi) {
  std::u16string text;
  const bool little_endian = file.size() >= 2 && file[0] == 0xFF && file[1] == 0xFE;
  const bool big_endian = file.size() >= 2 && file[0] == 0xFE && file[1] == 0xFF;
  if (little_endian || big_endian) {
    text = text_from_utf16_bytes(file.subspan(2), big_endian);
  } else {
    const std::string bytes = text_mode_bytes(file);
    text = text_from_code_page(
        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), ansi);
  }
  normalize_line_ends(text);
  return text;
}

}  // namespace sabla
