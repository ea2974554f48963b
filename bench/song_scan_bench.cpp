// How long the song-file scan takes on the host's thread for a song that holds no lyrics, the
// case that reads the most: a 2,000,000-byte MP3 (ID3v2.3 tag without a lyrics frame, then
// MPEG frames) and an MP4 file of the same size. Prints the median and the spread of the runs.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "settings/code_page.h"
#include "sources/byte_source.h"
#include "sources/song_tag_scan.h"

namespace {

using namespace sabla;
using Bytes = std::vector<uint8_t>;

constexpr size_t kFileSize = 2000000;
constexpr int kRuns = 51;

void append(Bytes& out, std::initializer_list<uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

// Audio bytes that look like compressed data: random, from a fixed seed.
void fill_random(Bytes& out, size_t size) {
  std::mt19937 random(1234);
  while (out.size() < size) out.push_back(static_cast<uint8_t>(random()));
}

Bytes mp3_without_lyrics() {
  Bytes file;
  append(file, {'I', 'D', '3', 3, 0, 0, 0, 0, 0x08, 0});  // a 1024-byte tag
  append(file, {'T', 'I', 'T', '2', 0, 0, 0, 6, 0, 0, 0, 'T', 'i', 't', 'l', 'e'});
  append(file, {'T', 'P', 'E', '1', 0, 0, 0, 7, 0, 0, 0, 'A', 'r', 't', 'i', 's', 't'});
  file.resize(10 + 1024, 0);
  std::mt19937 random(99);
  while (file.size() < kFileSize) {
    append(file, {0xFF, 0xFB, 0x90, 0x64});
    for (int i = 0; i < 413 && file.size() < kFileSize; ++i) {
      file.push_back(static_cast<uint8_t>(random()));
    }
  }
  file.resize(kFileSize);
  return file;
}

Bytes mp4_without_lyrics() {
  Bytes file;
  append(file, {0, 0, 0, 0x18, 'f', 't', 'y', 'p', 'M', '4', 'A', ' ', 0, 0, 0, 0});
  append(file, {'M', '4', 'A', ' ', 'm', 'p', '4', '2'});
  fill_random(file, kFileSize);
  return file;
}

double median_ms(const Bytes& file, SongFileKind kind, const CodePage& ansi, bool& found) {
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    MemoryByteSource source(file);
    const auto start = std::chrono::steady_clock::now();
    found = scan_song_file(source, kind, ansi).has_value() || found;
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::sort(times.begin(), times.end());
  std::printf("  runs %d, fastest %.3f ms, median %.3f ms, slowest %.3f ms\n", kRuns, times.front(),
              times[times.size() / 2], times.back());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  const auto ansi = make_ansi_code_page();
  bool found = false;
  std::printf("ID3 scan of a %zu-byte MP3 without lyrics\n", kFileSize);
  median_ms(mp3_without_lyrics(), SongFileKind::kId3, *ansi, found);
  std::printf("MP4 scan of a %zu-byte M4A without lyrics\n", kFileSize);
  median_ms(mp4_without_lyrics(), SongFileKind::kMp4, *ansi, found);
  if (found) {
    std::printf("lyrics found where there are none\n");
    return 1;
  }
  return 0;
}
