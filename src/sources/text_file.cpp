#include "sources/text_file.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "sources/text_buffer.h"
#include "sources/utf8_code_page.h"

namespace sabla {
namespace {

constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kLf = 0x0A;
constexpr uint8_t kEndOfFile = 0x1A;

// Why a real Shift_JIS lyric file is never taken for UTF-8: in UTF-8 the bytes 80-BF only ever
// follow a lead byte C2-F4, while Shift_JIS puts its most frequent lead bytes exactly there
// (81-9F: every kana, 81 itself for the ideographic space and punctuation, 88-9F the common
// kanji) and its single-byte half-width katakana at A1-DF. Every lyric line starts behind an
// ASCII line end, so the first non-ASCII character after a line start, a space or a Latin word
// must be a UTF-8 lead followed by exactly the right number of 80-BF bytes; a Shift_JIS
// character there would need a lead byte E0-EF (rare kanji only) followed by two bytes in
// 80-BF, and the next character the same again, for every character of the file. A few bytes
// can line up by chance (the Shift_JIS "繧ｱ", E3 82 B1, is the UTF-8 "ケ"); a lyric text of
// kana and kanji cannot.
constexpr uint8_t kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

bool has_utf8_mark(std::span<const uint8_t> file) {
  return file.size() >= 3 && file[0] == kUtf8Mark[0] && file[1] == kUtf8Mark[1] &&
         file[2] == kUtf8Mark[2];
}

// Continuation bytes a lead byte needs, and the range its first one must fall in so that the
// sequence is neither overlong, a surrogate nor past U+10FFFF; 0 for a byte that leads nothing.
struct Lead {
  int continuation = 0;
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
};

Lead utf8_lead(uint8_t b) {
  if (b >= 0xC2 && b <= 0xDF) return {1};
  if (b == 0xE0) return {2, 0xA0, 0xBF};
  if (b == 0xED) return {2, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {2};
  if (b == 0xF0) return {3, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {3};
  if (b == 0xF4) return {3, 0x80, 0x8F};
  return {};
}

}  // namespace

bool is_multibyte_utf8(std::string_view text, bool cut_short) {
  bool multibyte = false;
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<uint8_t>(text[i++]);
    if (b < 0x80) continue;
    const Lead lead = utf8_lead(b);
    if (lead.continuation == 0) return false;
    for (int k = 0; k < lead.continuation; ++k, ++i) {
      if (i == text.size()) return cut_short && multibyte;
      const auto c = static_cast<uint8_t>(text[i]);
      const uint8_t low = k == 0 ? lead.low : 0x80;
      const uint8_t high = k == 0 ? lead.high : 0xBF;
      if (c < low || c > high) return false;
    }
    multibyte = true;
  }
  return multibyte;
}

namespace {

// The encoding of a file with no mark, from the bytes a text-mode read of it gives.
TextFileEncoding unmarked_encoding(const std::string& bytes) {
  // A file longer than what is read may have its last character cut in two by the limit.
  const bool cut_short = bytes.size() == kMaxTextModeBytes;
  return is_multibyte_utf8(bytes, cut_short) ? TextFileEncoding::kUtf8 : TextFileEncoding::kCodePage;
}

// The encoding a mark at the start of the file names, if it has one.
std::optional<TextFileEncoding> marked_encoding(std::span<const uint8_t> file) {
  if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xFE)
    return TextFileEncoding::kUtf16LittleEndian;
  if (file.size() >= 2 && file[0] == 0xFE && file[1] == 0xFF)
    return TextFileEncoding::kUtf16BigEndian;
  if (has_utf8_mark(file)) return TextFileEncoding::kUtf8WithMark;
  return std::nullopt;
}

}  // namespace

TextFileEncoding detect_text_file_encoding(std::span<const uint8_t> file) {
  if (const auto marked = marked_encoding(file)) return *marked;
  return unmarked_encoding(text_mode_bytes(file));
}

std::string text_mode_bytes(std::span<const uint8_t> file) {
  std::string bytes;
  bytes.reserve(std::min(file.size(), kMaxTextModeBytes));
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
  static const Utf8CodePage utf8;
  std::u16string text;
  // Without a mark the bytes that decide the encoding are the ones decoded: read them once.
  std::string unmarked_bytes;
  const std::optional<TextFileEncoding> marked = marked_encoding(file);
  if (!marked) unmarked_bytes = text_mode_bytes(file);
  const TextFileEncoding encoding = marked ? *marked : unmarked_encoding(unmarked_bytes);
  switch (encoding) {
    case TextFileEncoding::kUtf16LittleEndian:
    case TextFileEncoding::kUtf16BigEndian:
      text = text_from_utf16_bytes(file.subspan(2),
                                   encoding == TextFileEncoding::kUtf16BigEndian);
      break;
    default: {
      const std::string bytes =
          marked ? text_mode_bytes(file.subspan(sizeof(kUtf8Mark))) : std::move(unmarked_bytes);
      const bool is_utf8 = encoding != TextFileEncoding::kCodePage;
      text = text_from_code_page(
          std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
          is_utf8 ? static_cast<const CodePage&>(utf8) : ansi);
    }
  }
  normalize_line_ends(text);
  return text;
}

}  // namespace sabla
