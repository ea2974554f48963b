#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sources/lyric_search_files.h"

namespace sabla {

// What a folder held when it was listed, in the order the file system lists it.
class FolderListing {
 public:
  struct Subfolder {
    std::u16string name;
    // A link to a folder elsewhere: changes behind it are not changes of the lyric folder, so
    // nothing below it is ever answered from memory.
    bool linked = false;
    // Its last-write time as the listing showed it, when the listing shows one.
    std::optional<uint64_t> stamp;
  };
  std::vector<Subfolder> subfolders;

  // The files' names lie back to back in one buffer: a first search after "show" lists tens of
  // thousands of them while the host waits, and a string apiece would cost an allocation each.
  void add_file(std::u16string_view name) {
    file_names_.append(name);
    file_ends_.push_back(file_names_.size());
  }
  size_t file_count() const { return file_ends_.size(); }
  std::u16string_view file(size_t index) const {
    const size_t start = index == 0 ? 0 : file_ends_[index - 1];
    return std::u16string_view(file_names_).substr(start, file_ends_[index] - start);
  }
  // Room for `files` names of `units` code units in all, when a count is known or likely.
  void reserve_files(size_t files, size_t units) {
    file_ends_.reserve(files);
    file_names_.reserve(units);
  }

 private:
  std::u16string file_names_;
  std::vector<size_t> file_ends_;
};

// Tells whether anything changed below a lyric folder since it was last asked.
class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
  // Without waiting; also arms the watch again, so each change is told once.
  virtual bool changed() = 0;
  // What the platform waits on, so that many watches can be asked at once.
  virtual void* wait_handle() const { return nullptr; }
  // Whether the watch, when it sees a change, moves its source's changes_seen() on its own: while
  // that count stands still it need not be asked. It may stop doing so once it has reported a
  // change.
  virtual bool reports_itself() const { return false; }
};

// The file system under the cache: listing folders and telling when they change.
class FolderListingSource {
 public:
  virtual ~FolderListingSource() = default;
  // Nothing when the folder cannot be listed.
  virtual std::optional<FolderListing> list(std::u16string_view folder) const = 0;
  // A folder's last-write time (100 ns units), which moves when an entry of it is added,
  // removed or renamed; nothing when it cannot be read.
  virtual std::optional<uint64_t> folder_stamp(std::u16string_view folder) const = 0;
  // The clock the stamps are written with.
  virtual uint64_t now() const = 0;
  // A name as the file system compares it: two names are the same file name exactly when their
  // folded forms are equal (a fold coarser than the file system's is also fine, since every
  // name found is opened for real before it is reported).
  virtual void fold_into(std::u16string_view name, std::u16string& folded) const = 0;
  std::u16string fold(std::u16string_view name) const {
    std::u16string folded;
    fold_into(name, folded);
    return folded;
  }
  // How changes below the lyric folder `root` (a plain absolute path) can be told: a watch when
  // the system reports them for the whole subtree; otherwise nothing, and `stamps_track_changes`
  // says whether the folders' last-write times can be relied on instead.
  virtual std::unique_ptr<FolderWatch> watch(std::u16string_view root) const = 0;
  virtual bool stamps_track_changes(std::u16string_view root) const = 0;
  // Both of the above for each of `roots`, in order: a watch, or else whether the stamps serve.
  // Asked for all the lyric folders a search names at once, so that a source can ask what they
  // share (their drive, as a rule) only once.
  struct RootChanges {
    std::unique_ptr<FolderWatch> watch;
    bool stamps = false;
  };
  virtual std::vector<RootChanges> root_changes(std::span<const std::u16string> roots) const {
    std::vector<RootChanges> all(roots.size());
    for (size_t i = 0; i < roots.size(); ++i) {
      all[i].watch = watch(roots[i]);
      if (!all[i].watch) all[i].stamps = stamps_track_changes(roots[i]);
    }
    return all;
  }
  // Where a subtree cannot be watched: a watch on the entries of `folder` itself, or nothing
  // where the system offers none (or an open folder would be in the user's way). Setting one up
  // may be slow, so only the fill does.
  virtual std::unique_ptr<FolderWatch> watch_folder(std::u16string_view folder) const {
    (void)folder;
    return nullptr;
  }
  // The indices of the `watches` (made by this source) that report a change; each is armed
  // again.
  virtual std::vector<size_t> changed_watches(std::span<FolderWatch* const> watches) const {
    std::vector<size_t> changed;
    for (size_t i = 0; i < watches.size(); ++i) {
      if (watches[i]->changed()) changed.push_back(i);
    }
    return changed;
  }
  // A count that moves, from any thread, whenever a watch of this source that reports itself
  // sees a change.
  virtual uint64_t changes_seen() const { return 0; }
};

// How long after a folder's last change its listing is still taken again on its next use: a
// change in the same tick of the file system's clock as the listing would leave the stamp as it
// was. Two seconds covers the coarsest clock (FAT's).
inline constexpr uint64_t kStampSettleUnits = 2 * 10'000'000ull;

// The lyric search's file system with the folder listings kept in memory, so that a search in a
// library that has not changed asks the disk almost nothing. It answers for the folders below
// the lyric folders the searches name (begin_search); everything else, and every name it finds,
// goes to `system`, so a file is reported only when it really opens.
//
// A lyric folder's listings are kept while a watch on it reports no change. Where the system
// cannot watch a whole subtree, each listing is kept with its folder's last-write time and
// checked once per search, until the fill sets up a watch on that folder alone; the watches of
// all such folders are then asked at once, at the start of each search (or, when they report
// changes themselves, only once one of them has). A lyric folder that can
// be neither watched nor stamped (a network drive, a relative path) is never cached.
//
// Thread-safe: the re-check's worker, the filling worker and the host thread use one instance.
// Nothing is listed or stamped under the lock.
class CachedLyricSearchFiles final : public LyricSearchFiles {
 public:
  CachedLyricSearchFiles(const LyricSearchFiles& system, const FolderListingSource& source,
                         uint64_t settle_units = kStampSettleUnits);
  ~CachedLyricSearchFiles() override;
  CachedLyricSearchFiles(const CachedLyricSearchFiles&) = delete;
  CachedLyricSearchFiles& operator=(const CachedLyricSearchFiles&) = delete;

  void begin_search(std::span<const std::u16string> lyric_folders) const override;
  // A search is marked only when every answer it was given came from a listing kept under a
  // watch (a whole lyric folder's, or the folder's own), not from a stamp or the disk; every
  // drop, forget or clear after its start spoils the mark.
  std::optional<uint64_t> search_mark() const override;
  bool begin_search_unchanged(std::span<const std::u16string> lyric_folders,
                              uint64_t mark) const override;
  void forget(std::u16string_view path) const override;
  bool can_open(std::u16string_view path) const override;
  std::optional<size_t> first_openable(std::u16string_view folder,
                                       std::span<const std::u16string> names) const override;
  void for_each_subfolder(
      std::u16string_view folder,
      const std::function<bool(std::u16string_view name)>& visit) const override;
  std::optional<uint64_t> last_write_time(std::u16string_view path) const override;
  bool read_text(std::u16string_view path, std::u16string& text) const override;

  // Drops every listing and watch, and ends a fill in progress at its next folder.
  void clear();

  // Lists the lyric folders and, with `subfolders`, their direct subfolders, into memory. Run
  // on a worker: it stops early when clear() is called or `stop` becomes true. Holds a share of
  // what it fills, so the object may go while it runs.
  std::function<void()> fill_job(std::vector<std::u16string> lyric_folders, bool subfolders,
                                 std::shared_ptr<const std::atomic<bool>> stop = nullptr) const;

  // Whether every folder a fill lists is in memory and watched since the last fill ended; false
  // once a change dropped some, so that a fill is worth starting again.
  bool filled() const;

  // How many listings are kept, and how many of them are watched one by one (for tests and
  // benchmarks).
  size_t cached_folders() const;
  size_t watched_folders() const;

  struct Core;

 private:
  const LyricSearchFiles& system_;
  std::shared_ptr<Core> core_;
};

// a-z as A-Z, every other unit as it is: how file systems compare ASCII letters.
inline char16_t ascii_upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Whether `name` is one plain path component that names the same entry on every Windows file
// system: none of . .. or a device name, no separator, wildcard, stream or short-name mark, no
// control character, and no '.' or ' ' at its end (which Windows drops).
bool plain_component(std::u16string_view name);

// Whether `path` is an absolute path on a drive ("X:\a\b", no separator at its end) made of
// plain components.
bool plain_drive_path(std::u16string_view path);

}  // namespace sabla
