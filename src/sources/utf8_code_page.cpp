#include "sources/utf8_code_page.h"

#include <cstdint>

namespace sabla {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

struct LeadByte {
  int continuation_bytes;  // 0: the byte starts no character of its own
  uint32_t bits;
  uint8_t second_min;  // the allowed range of the first continuation byte rules out overlong
  uint8_t second_max;  // forms, surrogates and code points past U+10FFFF
};

LeadByte lead_byte(uint8_t b) {
  if (b >= 0xC2 && b <= 0xDF) return {1, b & 0x1Fu, 0x80, 0xBF};
  if (b == 0xE0) return {2, b & 0x0Fu, 0xA0, 0xBF};
  if (b == 0xED) return {2, b & 0x0Fu, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {2, b & 0x0Fu, 0x80, 0xBF};
  if (b == 0xF0) return {3, b & 0x07u, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {3, b & 0x07u, 0x80, 0xBF};
  if (b == 0xF4) return {3, b & 0x07u, 0x80, 0x8F};
  return {0, 0, 0, 0};
}

bool is_continuation(uint8_t b) { return (b & 0xC0) == 0x80; }

void append_code_point(std::u16string& out, uint32_t code_point) {
  if (code_point < 0x10000) {
    out += static_cast<char16_t>(code_point);
    return;
  }
  code_point -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (code_point >> 10));
  out += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
}

}  // namespace

std::u16string Utf8CodePage::decode(std::string_view text) const {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const uint8_t first = byte(i++);
    if (first < 0x80) {
      out += static_cast<char16_t>(first);
      continue;
    }
    const LeadByte lead = lead_byte(first);
    if (lead.continuation_bytes == 0) {
      out += kReplacement;
      continue;
    }
    if (text.size() - i < static_cast<size_t>(lead.continuation_bytes)) {
      i = text.size();
      out += kReplacement;
      continue;
    }
    uint32_t code_point = lead.bits;
    bool complete = true;
    for (int k = 0; k < lead.continuation_bytes; ++k) {
      const uint8_t b = byte(i);
      // A byte that is no continuation byte is looked at again as a start of its own.
      if (!is_continuation(b)) {
        complete = false;
        break;
      }
      ++i;
      code_point = (code_point << 6) | (b & 0x3Fu);
      if (k == 0 && (b < lead.second_min || b > lead.second_max)) {
        complete = false;
        break;
      }
    }
    if (complete) {
      append_code_point(out, code_point);
    } else {
      out += kReplacement;
    }
  }
  return out;
}

}  // namespace sabla
