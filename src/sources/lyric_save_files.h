#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace sabla {

// What saving lyrics and exporting notes ask of the file system.
class LyricSaveFiles {
 public:
  virtual ~LyricSaveFiles() = default;
  // Replaces the file at `path` with `bytes`. Never leaves a truncated or half-written file: on
  // failure the old file, if any, is untouched.
  virtual bool write(std::u16string_view path, std::span<const uint8_t> bytes) = 0;
  virtual bool remove(std::u16string_view path) = 0;
  // Creates one folder level; an existing folder or a failure is not reported.
  virtual void create_folder(std::u16string_view path) = 0;
};

}  // namespace sabla
