#pragma once
#include "sources/lyric_listing_cache.h"

namespace sabla {

// Folder listings, last-write times and change notifications of the Windows file system.
// Stateless apart from what it learns once per process (whether a subtree's changes are
// reported), so one instance serves every thread.
class SystemFolderListingSource final : public FolderListingSource {
 public:
  std::optional<FolderListing> list(std::u16string_view folder) const override;
  std::optional<uint64_t> folder_stamp(std::u16string_view folder) const override;
  uint64_t now() const override;
  void fold_into(std::u16string_view name, std::u16string& folded) const override;
  std::unique_ptr<FolderWatch> watch(std::u16string_view root) const override;
  bool stamps_track_changes(std::u16string_view root) const override;
  std::vector<RootChanges> root_changes(std::span<const std::u16string> roots) const override;
  std::unique_ptr<FolderWatch> watch_folder(std::u16string_view folder) const override;
  std::vector<size_t> changed_watches(std::span<FolderWatch* const> watches) const override;
  uint64_t changes_seen() const override;
};

// Whether a change notification on a folder with its subtree reports a file made two levels
// down, right away. Tried once per process in a folder of its own under the temporary folder:
// Wine 8 reports only the folder's own entries.
bool subtree_changes_reported();

}  // namespace sabla
