#pragma once
#include "sources/lyric_search_files.h"

namespace sabla {

// The lyric search over the Windows file system. Stateless, so one instance serves the host
// thread and the background re-check at once.
class SystemLyricSearchFiles final : public LyricSearchFiles {
 public:
  bool can_open(std::u16string_view path) const override;
  std::optional<size_t> first_openable(std::u16string_view folder,
                                       std::span<const std::u16string> names) const override;
  void for_each_subfolder(
      std::u16string_view folder,
      const std::function<bool(std::u16string_view name)>& visit) const override;
  std::optional<uint64_t> last_write_time(std::u16string_view path) const override;
  bool read_text(std::u16string_view path, std::u16string& text) const override;
};

}  // namespace sabla
