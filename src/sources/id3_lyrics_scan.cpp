// The tag is not parsed: the lyrics frames are found by their names and read at fixed offsets
// from them, as the frame layouts of ID3v2.2 (ULT) and ID3v2.3 (USLT) place the fields. Every
// size read from the file only limits a read; no read reaches past the file or a buffer.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sources/byte_scan.h"
#include "sources/lyrics_languages.h"
#include "sources/song_tag_scan.h"
#include "sources/text_buffer.h"

namespace sabla {
namespace {

constexpr uint8_t kUlt[] = {'U', 'L', 'T'};
constexpr uint8_t kUslt[] = {'U', 'S', 'L', 'T'};

// AIFF files begin with "FORM", whose fourth byte stands where an ID3 tag keeps its version.
constexpr uint8_t kAiffMarker = 'M';
// AIFF keeps its ID3 chunk at the end: large files are searched in their last 128 KiB only.
constexpr uint64_t kAiffTailBytes = 131072;
constexpr uint64_t kAiffWholeScanMaxSize = 262143;

constexpr size_t kMaxAnsiLyricsBytes = 65536;
constexpr size_t kMaxUtf16LyricsBytes = 2 * kMaxTextUnits;
constexpr size_t kDescriptorWindow = 256;

bool is_utf16_mark(uint8_t b) { return b == 0xFF || b == 0xFE; }

bool language_accepted(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 4 && is_lyrics_language(std::span<const uint8_t, 4>(bytes.data(), 4));
}

std::u16string ansi_lyrics(ByteSource& file, uint64_t offset, size_t count, const CodePage& ansi) {
  return text_from_code_page(read_range(file, offset, count), ansi);
}

// The mark byte FE means the units are stored big-endian.
std::u16string utf16_lyrics(ByteSource& file, uint64_t offset, uint8_t mark) {
  return text_from_utf16_bytes(read_range(file, offset, kMaxUtf16LyricsBytes), mark == 0xFE);
}

// The low 16 bits of a USLT frame's size (bytes 6 and 7 of its header); -1 past the file.
int32_t frame_size_low_half(ByteSource& file, uint64_t p) {
  const std::vector<uint8_t> bytes = read_range(file, p + 6, 2);
  if (bytes.size() < 2) return -1;
  return bytes[0] * 256 + bytes[1];
}

// ULT at p: encoding at p + 6, language at p + 7, then the descriptor and the text.
std::optional<std::u16string> read_ult_frame(ByteSource& file, uint64_t p, const CodePage& ansi) {
  const std::vector<uint8_t> head = read_range(file, p + 7, 4);
  if (head.size() < 4) return std::nullopt;
  if (language_accepted(head)) return ansi_lyrics(file, p + 11, kMaxAnsiLyricsBytes, ansi);
  // A UTF-16 descriptor: its mark, its terminator, then the text's own mark.
  if (is_utf16_mark(head[3])) return utf16_lyrics(file, p + 16, head[3]);
  return std::nullopt;
}

// USLT at p with an empty descriptor: encoding at p + 10, language at p + 11.
std::optional<std::u16string> read_uslt_frame(ByteSource& file, uint64_t p, const CodePage& ansi) {
  const std::vector<uint8_t> head = read_range(file, p + 11, 5);
  if (head.size() < 4) return std::nullopt;
  if (language_accepted(head)) {
    // The text fills the frame behind its encoding byte, language and descriptor terminator.
    // A size too small to hold those five bytes leaves no text to read.
    const int32_t size = frame_size_low_half(file, p);
    if (size < 5) return std::nullopt;
    const std::vector<uint8_t> text = read_range(file, p + 15, static_cast<size_t>(size - 5));
    const auto length = static_cast<int32_t>(std::find(text.begin(), text.end(), 0) - text.begin());
    // A zero before the last byte, or a frame cut off by the end of the file: no plain 8-bit
    // text; the reading with a descriptor takes over.
    if (length < size - 6) return std::nullopt;
    return text_from_code_page(text, ansi);
  }
  if (is_utf16_mark(head[3])) return utf16_lyrics(file, p + 20, head[3]);
  return std::nullopt;
}

// USLT at p with a descriptor: the text begins behind the descriptor's last zero byte.
std::optional<std::u16string> read_described_uslt_frame(ByteSource& file, uint64_t p,
                                                        const CodePage& ansi) {
  const std::vector<uint8_t> window = read_range(file, p + 11, kDescriptorWindow);
  size_t end = 0;
  while (end + 1 < window.size() && !(window[end] == 0 && window[end + 1] != 0)) ++end;
  if (end + 1 >= window.size()) return std::nullopt;
  const int64_t count = int64_t{frame_size_low_half(file, p)} - static_cast<int64_t>(end) - 2;
  // The frame ends before its descriptor does: there is no text.
  if (count < 0) return std::nullopt;
  const std::vector<uint8_t> text = read_range(file, p + end + 12, static_cast<size_t>(count));
  // Zero bytes inside the text make it UTF-16; a single zero at its end is the terminator
  // that taggers put behind 8-bit text.
  if (text.size() > 1 && std::find(text.begin(), text.end() - 1, 0) != text.end() - 1) {
    return text_from_utf16_bytes(text, false);
  }
  return text_from_code_page(text, ansi);
}

}  // namespace

std::optional<std::u16string> scan_id3_lyrics(ByteSource& file, const CodePage& ansi) {
  const std::vector<uint8_t> header = read_range(file, 0, 4);
  if (header.size() < 4) return std::nullopt;
  const uint8_t version = header[3];
  if (version == kAiffMarker || version < 3) {
    const bool aiff = version == kAiffMarker;
    const uint64_t start =
        aiff && file.size() > kAiffWholeScanMaxSize ? file.size() - kAiffTailBytes : 0;
    if (const auto p = find_name(file, start, kUlt, aiff ? kNoScanLimit : kScanByteLimit)) {
      if (auto text = read_ult_frame(file, *p, ansi)) return text;
    }
  }
  // Both USLT readings look at the first USLT in the file.
  const auto p = find_name(file, 0, kUslt);
  if (!p) return std::nullopt;
  if (auto text = read_uslt_frame(file, *p, ansi)) return text;
  return read_described_uslt_frame(file, *p, ansi);
}

}  // namespace sabla
