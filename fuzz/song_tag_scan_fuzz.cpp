// Song file bytes in: the tag scans must not crash or read outside the file or their buffers
// (the sanitizers watch every read), and what they find must fit the lyric buffer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "settings/code_page.h"
#include "sources/byte_source.h"
#include "sources/song_tag_scan.h"
#include "sources/text_buffer.h"

namespace {

using namespace sabla;

void check_lyrics(const std::optional<std::u16string>& lyrics) {
  if (!lyrics) return;
  if (lyrics->size() > kMaxTextUnits || lyrics->find(u'\0') != std::u16string::npos) {
    std::fprintf(stderr, "lyrics do not fit the lyric buffer\n");
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto ansi = make_ansi_code_page();
  MemoryByteSource file(std::span<const uint8_t>(data, size));
  check_lyrics(scan_song_file(file, SongFileKind::kId3, *ansi));
  check_lyrics(scan_song_file(file, SongFileKind::kMp4, *ansi));
  check_lyrics(scan_id3_synced_lyrics(file));
  return 0;
}
