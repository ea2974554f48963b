#include "byte_text.h"

#include "host_protocol.h"

namespace standin {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool is_printable(unsigned char c) { return c >= 0x20 && c < 0x7F; }

}  // namespace

std::string escape_bytes(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += ch;
    } else if (is_printable(c)) {
      text += ch;
    } else {
      text += "\\x";
      text += kHexDigits[c >> 4];
      text += kHexDigits[c & 0xF];
    }
  }
  return text;
}

std::string hex(uint64_t value, int digits) {
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0 && value != 0; --i, value >>= 4) {
    text[static_cast<size_t>(i)] = kHexDigits[value & 0xF];
  }
  return "0x" + text;
}

std::string four_char_text(uint32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto c = static_cast<unsigned char>(code >> shift);
    if (!is_printable(c) || c == '\'') return hex(code);
    text += static_cast<char>(c);
  }
  return "'" + text + "'";
}

}  // namespace standin
