#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sabla {

// What the lyric search asks of the file system. The background re-check calls it from its own
// thread, so implementations keep no unsynchronised state.
class LyricSearchFiles {
 public:
  virtual ~LyricSearchFiles() = default;

  // A search for lyrics in `lyric_folders` (in order) starts: a file system that keeps what it
  // saw may check here, once, whether it is still so.
  virtual void begin_search(std::span<const std::u16string> lyric_folders) const {
    (void)lyric_folders;
  }

  // After a search on this thread: a mark that stays good for as long as every answer that
  // search was given still holds, because each came from what the file system keeps and watches.
  // Nothing (this default) when some answer came from the disk itself, which nothing watches.
  virtual std::optional<uint64_t> search_mark() const { return std::nullopt; }

  // Starts a search of the same `lyric_folders` as the one `mark` was made after (as
  // begin_search does), and tells whether every answer that search was given still holds. False,
  // as this default says, whenever that cannot be told.
  virtual bool begin_search_unchanged(std::span<const std::u16string> lyric_folders,
                                      uint64_t mark) const {
    (void)mark;
    begin_search(lyric_folders);
    return false;
  }

  // The plug-in itself has just written or removed the file at `path`; what was kept about its
  // folder no longer holds.
  virtual void forget(std::u16string_view path) const { (void)path; }

  // Whether the file at `path` can be opened for reading (a folder cannot).
  virtual bool can_open(std::u16string_view path) const = 0;

  // The index of the first of `names` that is a file in `folder` and can be opened; nothing
  // when none is. The same answer as can_open on each "folder\name" in turn, which is what this
  // default does; a file system may answer it more cheaply by listing the folder once.
  virtual std::optional<size_t> first_openable(std::u16string_view folder,
                                               std::span<const std::u16string> names) const {
    for (size_t i = 0; i < names.size(); ++i) {
      std::u16string path(folder);
      path += u'\\';
      path += names[i];
      if (can_open(path)) return i;
    }
    return std::nullopt;
  }

  // Calls `visit` with the name of every folder directly inside `folder` except "." and "..", in
  // the order the file system lists them, until `visit` returns true.
  virtual void for_each_subfolder(
      std::u16string_view folder,
      const std::function<bool(std::u16string_view name)>& visit) const = 0;

  // The last-write time of the file at `path` (100 ns units, as FILETIME counts), or nothing when
  // it cannot be opened.
  virtual std::optional<uint64_t> last_write_time(std::u16string_view path) const = 0;

  // Reads a lyric file into `text` with CR LF line ends; false when it cannot be opened.
  virtual bool read_text(std::u16string_view path, std::u16string& text) const = 0;
};

}  // namespace sabla
