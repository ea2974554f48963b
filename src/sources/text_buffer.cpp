#include "sources/text_buffer.h"

#include <algorithm>

namespace sabla {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// Cuts `text` to at most `limit` units, never between the two halves of a surrogate pair: a
// half character would reach the editor and the file written from it.
void cut_whole(std::u16string& text, size_t limit) {
  if (text.size() <= limit) return;
  text.resize(limit);
  if (!text.empty() && is_high_surrogate(text.back())) text.pop_back();
}

// The text as the fixed buffer would hold it: up to the terminator, at most kMaxTextUnits.
void fit_buffer(std::u16string& text) {
  const size_t zero = text.find(u'\0');
  if (zero != std::u16string::npos) text.resize(zero);
  cut_whole(text, kMaxTextUnits);
}

}  // namespace

void normalize_line_ends(std::u16string& text) {
  fit_buffer(text);
  if (text.find_first_of(u"\r\n") == std::u16string::npos) return;
  std::u16string out;
  out.reserve(std::min(text.size() * 2, kMaxTextUnits));
  // One pass gives what removing CR before LF, turning LF into CR and putting LF behind every
  // CR give; the growing text is cut as it grows, so only its start survives (a unit past the
  // limit shows whether the cut falls inside a surrogate pair).
  for (size_t i = 0; i < text.size() && out.size() <= kMaxTextUnits; ++i) {
    const char16_t c = text[i];
    if (c == kCr || c == kLf) {
      if (c == kCr && i + 1 < text.size() && text[i + 1] == kLf) ++i;
      out += kCr;
      out += kLf;
    } else {
      out += c;
    }
  }
  cut_whole(out, kMaxTextUnits);
  text = std::move(out);
}

void swap_byte_order(std::u16string& text) {
  for (char16_t& unit : text) {
    if (unit == 0) break;
    unit = static_cast<char16_t>((unit >> 8) | ((unit & 0xFF) << 8));
  }
}

std::u16string text_from_utf16_bytes(std::span<const uint8_t> bytes, bool big_endian) {
  // One unit more than fits tells whether the cut falls inside a surrogate pair.
  const size_t units = std::min(bytes.size() / 2, kMaxTextUnits + 1);
  std::u16string text;
  text.reserve(units);
  for (size_t i = 0; i < units; ++i) {
    const auto unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (unit == 0) break;
    text += unit;
  }
  if (big_endian) swap_byte_order(text);
  cut_whole(text, kMaxTextUnits);
  return text;
}

std::u16string text_from_code_page(std::span<const uint8_t> bytes, const CodePage& code_page) {
  const auto zero = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<size_t>(zero - bytes.begin()));
  std::u16string decoded = code_page.decode(text);
  fit_buffer(decoded);
  return decoded;
}

std::vector<uint8_t> utf8_file_bytes(std::u16string_view text, bool mark) {
  std::vector<uint8_t> out;
  out.reserve(text.size() * 3 + 3);
  if (mark) out = {0xEF, 0xBB, 0xBF};
  const auto put = [&](uint32_t b) { out.push_back(static_cast<uint8_t>(b)); };
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (is_high_surrogate(text[i]) && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      put(c);
    } else if (c < 0x800) {
      put(0xC0 | (c >> 6));
      put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      put(0xE0 | (c >> 12));
      put(0x80 | ((c >> 6) & 0x3F));
      put(0x80 | (c & 0x3F));
    } else {
      put(0xF0 | (c >> 18));
      put(0x80 | ((c >> 12) & 0x3F));
      put(0x80 | ((c >> 6) & 0x3F));
      put(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace sabla
