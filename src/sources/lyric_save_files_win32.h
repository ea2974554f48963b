#pragma once
#include "settings/atomic_file_win32.h"
#include "sources/lyric_save_files.h"

namespace sabla {

// Lyric files on the Windows file system. Every write goes through write_file_atomically, so a
// failed save leaves the previous lyric file as it was.
class SystemLyricSaveFiles final : public LyricSaveFiles {
 public:
  explicit SystemLyricSaveFiles(FileLayer& layer = system_file_layer()) : layer_(layer) {}

  bool write(std::u16string_view path, std::span<const uint8_t> bytes) override;
  bool remove(std::u16string_view path) override;
  void create_folder(std::u16string_view path) override;

 private:
  FileLayer& layer_;
};

}  // namespace sabla
