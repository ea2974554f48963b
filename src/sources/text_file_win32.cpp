#include "sources/text_file_win32.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "settings/atomic_file_win32.h"
#include "sources/text_file.h"

namespace sabla {
namespace {

// The start of the file, as far as decoding can look.
bool read_file_start(std::u16string_view path, std::vector<uint8_t>& bytes) {
  const std::wstring name(path.begin(), path.end());
  UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  bytes.resize(kTextFileReadLimit);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(bytes.size() - done);
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return true;
}

}  // namespace

bool read_text_file(std::u16string_view path, std::u16string& out, const CodePage& ansi) {
  out.clear();
  try {
    std::vector<uint8_t> bytes;
    if (!read_file_start(path, bytes)) return false;
    out = decode_text_file(bytes, ansi);
    return true;
  } catch (...) {
    out.clear();
    return false;
  }
}

TextFileEncoding text_file_encoding(std::u16string_view path) {
  try {
    std::vector<uint8_t> bytes;
    if (!read_file_start(path, bytes)) return TextFileEncoding::kCodePage;
    return detect_text_file_encoding(bytes);
  } catch (...) {
    return TextFileEncoding::kCodePage;
  }
}

bool read_text_file(std::u16string_view path, std::u16string& out) {
  out.clear();
  try {
    return read_text_file(path, out, *make_ansi_code_page());
  } catch (...) {
    return false;
  }
}

}  // namespace sabla
