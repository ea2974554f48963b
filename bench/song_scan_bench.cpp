// How long the song-file scan takes on the host's thread for a song that holds no lyrics, the
// case that reads the most: a 2,000,000-byte MP3 (ID3v2.3 tag without a lyrics frame, then
// MPEG frames) and an MP4 file of the same size.
#include <memory>
#include <string>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "bench_harness.h"
#include "settings/code_page.h"
#include "sources/byte_source.h"
#include "sources/song_tag_scan.h"
#ifdef _WIN32
#include "sources/file_byte_source_win32.h"
#endif

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

#ifdef _WIN32
// The song written to the temporary folder: the plug-in scans files, so the scan reads through
// the file system here too, and the baseline is reading the same bytes from the page cache.
std::wstring write_temp(const Bytes& bytes, const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + name;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return written == bytes.size() ? path : std::wstring();
}

void read_whole(const std::wstring& path, Bytes& buffer) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD read = 0;
  ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);
  CloseHandle(file);
}
#endif

bool measure(const char* figure, const Bytes& file, SongFileKind kind, const CodePage& ansi,
             [[maybe_unused]] const wchar_t* temp_name) {
  bool found = false;
#ifdef _WIN32
  const std::wstring path = write_temp(file, temp_name);
  if (path.empty()) {
    std::printf("cannot write the song file\n");
    return false;
  }
  const std::u16string path16(path.begin(), path.end());
  const bench::Samples scan = bench::time_runs(kRuns, 3, [&] {
    std::unique_ptr<ByteSource> source = open_file_byte_source(path16);
    if (source) found = scan_song_file(*source, kind, ansi).has_value() || found;
  });
  Bytes buffer(file.size());
  const bench::Samples read = bench::time_runs(kRuns, 3, [&] { read_whole(path, buffer); });
  bench::report(figure, scan, "page-cache read of the whole file", &read, bench::Goal{});
  DeleteFileW(path.c_str());
#else
  const bench::Samples scan = bench::time_runs(kRuns, 3, [&] {
    MemoryByteSource source(file);
    found = scan_song_file(source, kind, ansi).has_value() || found;
  });
  bench::report_plain(figure, scan);
#endif
  if (found) std::printf("lyrics found where there are none\n");
  return !found;
}

}  // namespace

int main() {
  const auto ansi = make_ansi_code_page();
  bool ok = measure("song file scan, 2 MB MP3 without lyrics", mp3_without_lyrics(),
                    SongFileKind::kId3, *ansi, L"sabla_scan_bench.mp3");
  ok = measure("song file scan, 2 MB M4A without lyrics", mp4_without_lyrics(), SongFileKind::kMp4,
               *ansi, L"sabla_scan_bench.m4a") && ok;
  return ok ? 0 : 1;
}
