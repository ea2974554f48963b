#include "web/search_encoding.h"

namespace sabla {
namespace {

bool starts_double_byte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF); }

bool copied_as_is(uint8_t b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '@' ||
         b == '*' || b == '-' || b == '.' || b == '_';
}

void append_escaped(std::string& out, uint8_t b) {
  constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[b >> 4];
  out += kHex[b & 0x0F];
}

}  // namespace

SearchEncoding search_encoding_of(int32_t sjis_euc) {
  switch (sjis_euc) {
    case 1:
      return SearchEncoding::kEucJp;
    case 2:
      return SearchEncoding::kUtf8;
    default:
      return SearchEncoding::kSystemCodePage;
  }
}

std::string percent_encode_search_value(std::string_view bytes) {
  std::string out;
  if (bytes.empty() || bytes.size() > kMaxEncodedValueBytes) return out;
  out.reserve(bytes.size() * 3);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    if (starts_double_byte(b)) {
      append_escaped(out, b);
      if (i + 1 < bytes.size()) append_escaped(out, static_cast<uint8_t>(bytes[++i]));
    } else if (b == ' ') {
      out += '+';
    } else if (copied_as_is(b)) {
      out += static_cast<char>(b);
    } else {
      append_escaped(out, b);
    }
  }
  return out;
}

void shift_jis_to_euc_jp(std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const auto lead = static_cast<uint8_t>(text[i]);
    const bool low_range = lead >= 0x81 && lead <= 0x9F;
    if (!low_range && !(lead >= 0xE0 && lead <= 0xFC)) continue;
    const auto trail = static_cast<uint8_t>(text[i + 1]);
    auto row = static_cast<uint8_t>(low_range ? 2 * lead + 0x20 : 2 * lead - 0x60);
    if (trail < 0x9F) --row;
    uint8_t cell;
    if (trail <= 0x7E) {
      cell = static_cast<uint8_t>(trail - 0x1F);
    } else if (trail <= 0x9E) {
      cell = static_cast<uint8_t>(trail - 0x20);
    } else {
      cell = static_cast<uint8_t>(trail - 0x7E);
    }
    text[i] = static_cast<char>(row | 0x80);
    text[++i] = static_cast<char>(cell | 0x80);
  }
}

}  // namespace sabla
