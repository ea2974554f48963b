#include "sources/lyric_save_files_win32.h"

#include <windows.h>

#include <string>

namespace sabla {
namespace {

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

bool SystemLyricSaveFiles::write(std::u16string_view path, std::span<const uint8_t> bytes) {
  if (path.empty()) return false;
  return write_file_atomically(wide(path), bytes, layer_);
}

bool SystemLyricSaveFiles::remove(std::u16string_view path) {
  if (path.empty()) return false;
  return layer_.remove(wide(path));
}

void SystemLyricSaveFiles::create_folder(std::u16string_view path) {
  if (!path.empty()) CreateDirectoryW(wide(path).c_str(), nullptr);
}

}  // namespace sabla
