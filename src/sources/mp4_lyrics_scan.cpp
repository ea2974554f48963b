#include <cstdint>
#include <optional>
#include <string>

#include "sources/byte_scan.h"
#include "sources/song_tag_scan.h"
#include "sources/text_buffer.h"
#include "sources/utf8_code_page.h"

namespace sabla {
namespace {

constexpr uint8_t kLyricsAtom[] = {0xA9, 'l', 'y', 'r'};
// Behind the atom type: the child data atom's size and type, its version and flags, and a
// reserved word.
constexpr uint64_t kTextOffset = 20;
constexpr size_t kMaxLyricsBytes = 65536;

}  // namespace

std::optional<std::u16string> scan_mp4_lyrics(ByteSource& file) {
  const auto p = find_name(file, 0, kLyricsAtom);
  if (!p) return std::nullopt;
  return text_from_code_page(read_range(file, *p + kTextOffset, kMaxLyricsBytes), Utf8CodePage{});
}

}  // namespace sabla
