#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sources/lyric_save_files.h"

namespace sabla::test {

// Lyric files in memory. Writes fail below a folder that does not exist, as on disk.
class FakeSaveFiles final : public LyricSaveFiles {
 public:
  std::map<std::u16string, std::vector<uint8_t>> files;
  std::set<std::u16string> folders;
  std::vector<std::u16string> log;  // "write <path>", "remove <path>", "mkdir <path>"
  std::set<std::u16string> failing;  // writes to these fail, leaving the file as it was

  bool write(std::u16string_view path, std::span<const uint8_t> bytes) override {
    log.push_back(u"write " + std::u16string(path));
    if (failing.count(std::u16string(path))) return false;
    const size_t separator = path.rfind(u'\\');
    if (separator != std::u16string_view::npos &&
        !folders.count(std::u16string(path.substr(0, separator)))) {
      return false;
    }
    files[std::u16string(path)] = std::vector<uint8_t>(bytes.begin(), bytes.end());
    return true;
  }
  bool remove(std::u16string_view path) override {
    log.push_back(u"remove " + std::u16string(path));
    return files.erase(std::u16string(path)) > 0;
  }
  void create_folder(std::u16string_view path) override {
    log.push_back(u"mkdir " + std::u16string(path));
    const size_t separator = path.rfind(u'\\');
    if (separator == std::u16string_view::npos ||
        folders.count(std::u16string(path.substr(0, separator)))) {
      folders.emplace(path);
    }
  }
};

inline std::vector<uint8_t> bytes_of(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

inline std::vector<uint8_t> utf16_file(std::u16string_view text) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  for (const char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

}  // namespace sabla::test
