#pragma once
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "sources/lyric_search_files.h"

namespace sabla::test {

// An in-memory file system for the lyric search: files that open, folder listings, file times
// and texts; it records every path it was asked to open.
class FakeLyricFiles : public LyricSearchFiles {
 public:
  std::set<std::u16string> files;
  std::map<std::u16string, std::vector<std::u16string>> subfolders;
  std::map<std::u16string, uint64_t> times;
  std::map<std::u16string, std::u16string> texts;

  bool can_open(std::u16string_view path) const override {
    const std::lock_guard lock(mutex_);
    probes_.emplace_back(path);
    return files.count(std::u16string(path)) > 0;
  }
  void for_each_subfolder(std::u16string_view folder,
                          const std::function<bool(std::u16string_view)>& visit) const override {
    const auto it = subfolders.find(std::u16string(folder));
    if (it == subfolders.end()) return;
    for (const auto& name : it->second) {
      if (visit(name)) return;
    }
  }
  std::optional<uint64_t> last_write_time(std::u16string_view path) const override {
    const auto it = times.find(std::u16string(path));
    if (it == times.end()) return std::nullopt;
    return it->second;
  }
  bool read_text(std::u16string_view path, std::u16string& text) const override {
    const auto it = texts.find(std::u16string(path));
    text = it == texts.end() ? std::u16string() : it->second;
    return it != texts.end();
  }

  std::vector<std::u16string> probes() const {
    const std::lock_guard lock(mutex_);
    return probes_;
  }
  void clear_probes() {
    const std::lock_guard lock(mutex_);
    probes_.clear();
  }

 private:
  mutable std::mutex mutex_;
  mutable std::vector<std::u16string> probes_;
};

}  // namespace sabla::test
