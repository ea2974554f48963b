// The synchronised lyrics frame of ID3v2.3 and 2.4 (SYLT), read into timed lines. Unlike the
// USLT readings this one parses the frame: its size bounds every read, and every count in it
// is checked against the bytes actually there.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lyrics/timetag.h"
#include "sources/byte_scan.h"
#include "sources/song_tag_scan.h"
#include "sources/text_buffer.h"
#include "sources/utf8_code_page.h"

namespace sabla {
namespace {

constexpr uint8_t kSylt[] = {'S', 'Y', 'L', 'T'};
constexpr size_t kFrameHeaderBytes = 10;
// A frame is read no further than this: far more than a song's timed text needs.
constexpr size_t kMaxFrameBytes = 1 << 20;
// Millisecond timestamps; format 1 counts MPEG frames, whose length the tag does not tell.
constexpr uint8_t kMillisecondStamps = 2;

uint32_t big_endian(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) |
         b[at + 3];
}

// ID3v2.4 writes frame sizes as four 7-bit bytes; 2.3 as a plain 32-bit number.
uint32_t frame_size(const std::vector<uint8_t>& b, size_t at, bool syncsafe) {
  if (!syncsafe) return big_endian(b, at);
  return (uint32_t{b[at] & 0x7Fu} << 21) | (uint32_t{b[at + 1] & 0x7Fu} << 14) |
         (uint32_t{b[at + 2] & 0x7Fu} << 7) | (b[at + 3] & 0x7Fu);
}

// The terminated string at `pos` in ID3 encoding `encoding` (0 Latin-1, 1 UTF-16 with a mark,
// 2 UTF-16 big-endian, 3 UTF-8); `pos` moves behind its terminator, or to the end when there
// is none.
std::u16string read_string(const std::vector<uint8_t>& b, size_t& pos, uint8_t encoding) {
  std::u16string text;
  if (encoding == 1 || encoding == 2) {
    bool big = encoding == 2;
    if (encoding == 1 && pos + 1 < b.size() && (b[pos] == 0xFE || b[pos] == 0xFF) &&
        b[pos] + b[pos + 1] == 0xFE + 0xFF) {
      big = b[pos] == 0xFE;
      pos += 2;
    }
    while (pos + 1 < b.size()) {
      const auto unit = static_cast<char16_t>(big ? (b[pos] << 8) | b[pos + 1]
                                                  : b[pos] | (b[pos + 1] << 8));
      pos += 2;
      if (unit == 0) return text;
      text += unit;
    }
    pos = b.size();
    return text;
  }
  const size_t end = std::min<size_t>(
      b.size(), static_cast<size_t>(std::find(b.begin() + static_cast<std::ptrdiff_t>(pos),
                                              b.end(), 0) - b.begin()));
  const std::string_view bytes(reinterpret_cast<const char*>(b.data()) + pos, end - pos);
  pos = std::min(end + 1, b.size());
  if (encoding == 3) return Utf8CodePage().decode(bytes);
  for (const char c : bytes) text += static_cast<char16_t>(static_cast<uint8_t>(c));
  return text;
}

struct Entry {
  std::u16string text;
  uint32_t ms;
};

// One timed line per entry; when taggers mark the starts of lines with a line end in front of
// a syllable, the syllables in between are joined into the line of the first.
std::u16string timed_lines(const std::vector<Entry>& entries) {
  const bool syllables = std::any_of(entries.begin(), entries.end(), [](const Entry& e) {
    return !e.text.empty() && (e.text[0] == u'\n' || e.text[0] == u'\r');
  });
  std::u16string out;
  for (size_t k = 0; k < entries.size() && out.size() < kMaxTextUnits; ++k) {
    std::u16string piece = entries[k].text;
    const bool starts_line =
        !syllables || k == 0 || (!piece.empty() && (piece[0] == u'\n' || piece[0] == u'\r'));
    while (!piece.empty() && (piece[0] == u'\n' || piece[0] == u'\r')) piece.erase(0, 1);
    std::replace_if(piece.begin(), piece.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; },
                    u' ');
    if (starts_line) {
      if (!out.empty()) out += u"\r\n";
      const int32_t ms = static_cast<int32_t>(std::min<uint32_t>(entries[k].ms, kMaxTagTimeMs));
      out += format_tag(ms, TagForm::kLong).view();
    }
    out += piece;
  }
  if (out.size() > kMaxTextUnits) out.resize(kMaxTextUnits);
  return out;
}

}  // namespace

std::optional<std::u16string> scan_id3_synced_lyrics(ByteSource& file) {
  const std::vector<uint8_t> header = read_range(file, 0, 4);
  if (header.size() < 4 || header[0] != 'I' || header[1] != 'D' || header[2] != '3') {
    return std::nullopt;
  }
  const bool syncsafe = header[3] >= 4;
  const auto p = find_name(file, 0, kSylt);
  if (!p) return std::nullopt;
  const std::vector<uint8_t> frame_header = read_range(file, *p, kFrameHeaderBytes);
  if (frame_header.size() < kFrameHeaderBytes) return std::nullopt;
  const size_t size = std::min<size_t>(frame_size(frame_header, 4, syncsafe), kMaxFrameBytes);
  // A size past the end of the file only gets what the file holds.
  const std::vector<uint8_t> body = read_range(file, *p + kFrameHeaderBytes, size);
  if (body.size() < 6 || body[0] > 3 || body[4] != kMillisecondStamps) return std::nullopt;
  const uint8_t encoding = body[0];
  size_t pos = 6;
  read_string(body, pos, encoding);  // the content descriptor
  std::vector<Entry> entries;
  // Each entry takes at least its terminator and its four timestamp bytes, so the loop ends.
  while (pos < body.size()) {
    Entry entry{read_string(body, pos, encoding), 0};
    if (body.size() - pos < 4) break;
    entry.ms = big_endian(body, pos);
    pos += 4;
    entries.push_back(std::move(entry));
  }
  if (entries.empty()) return std::nullopt;
  std::u16string text = timed_lines(entries);
  normalize_line_ends(text);
  return text;
}

}  // namespace sabla
