#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sources/lyric_listing_cache.h"

namespace sabla::test {

inline std::u16string upper(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return out;
}

// A case-insensitive file system in memory: folders list their entries in the order they were
// made, every change moves the folder's stamp to the clock (which only moves when the test says,
// like a coarse file system clock) and is reported to the watches of the folders above it. With
// reporting folder watches, each watch also counts its first change into changes_seen(), as the
// system's wait threads do.
class FakeTree final : public LyricSearchFiles, public FolderListingSource {
 public:
  struct Entry {
    std::u16string name;
    bool folder = false;
  };
  struct Folder {
    std::vector<Entry> entries;
    uint64_t stamp = 0;
    // Watches on this folder alone; they stay with it when it is renamed, as the system's do.
    std::vector<std::shared_ptr<std::atomic<bool>>> watches;
  };
  enum class Mode { subtree_watches, stamps, folder_watches, reporting_folder_watches };

  explicit FakeTree(bool watched) : mode_(watched ? Mode::subtree_watches : Mode::stamps) {}
  explicit FakeTree(Mode mode) : mode_(mode) {}

  // --- changes
  // Unnoticed: as a file the plug-in wrote, before any report of it arrives.
  void add(const std::u16string& parent, const std::u16string& name, bool folder,
           bool noticed = true) {
    const std::lock_guard lock(mutex_);
    Folder& into = folders_.at(upper(parent));
    into.entries.push_back({name, folder});
    if (noticed) touch_locked(parent);
    if (folder) folders_[upper(parent + u"\\" + name)] = Folder{{}, clock_, {}};
  }
  void remove(const std::u16string& parent, const std::u16string& name) {
    const std::lock_guard lock(mutex_);
    Folder& from = folders_.at(upper(parent));
    std::erase_if(from.entries, [&](const Entry& e) { return upper(e.name) == upper(name); });
    erase_below_locked(upper(parent + u"\\" + name));
    touch_locked(parent);
  }
  void rename(const std::u16string& parent, const std::u16string& name,
              const std::u16string& new_name) {
    const std::lock_guard lock(mutex_);
    Folder& in = folders_.at(upper(parent));
    for (Entry& e : in.entries) {
      if (upper(e.name) != upper(name)) continue;
      e.name = new_name;
      if (e.folder) {
        const std::u16string from = upper(parent + u"\\" + name);
        const std::u16string to = upper(parent + u"\\" + new_name);
        std::map<std::u16string, Folder> moved;
        for (auto it = folders_.begin(); it != folders_.end();) {
          if (it->first == from || it->first.rfind(from + u"\\", 0) == 0) {
            moved[to + it->first.substr(from.size())] = std::move(it->second);
            it = folders_.erase(it);
          } else {
            ++it;
          }
        }
        folders_.merge(moved);
      }
    }
    touch_locked(parent);
  }
  void make_root(const std::u16string& path) {
    const std::lock_guard lock(mutex_);
    folders_[upper(path)] = Folder{{}, clock_, {}};
  }
  void tick(uint64_t units) {
    const std::lock_guard lock(mutex_);
    clock_ += units;
  }
  std::set<std::u16string> unopenable;  // listed, but they do not open
  std::vector<std::u16string> subfolders_of(const std::u16string& folder) const {
    std::vector<std::u16string> out;
    const std::lock_guard lock(mutex_);
    const auto it = folders_.find(upper(folder));
    if (it == folders_.end()) return out;
    for (const Entry& e : it->second.entries) {
      if (e.folder) out.push_back(e.name);
    }
    return out;
  }
  std::vector<Entry> entries_of(const std::u16string& folder) const {
    const std::lock_guard lock(mutex_);
    const auto it = folders_.find(upper(folder));
    return it == folders_.end() ? std::vector<Entry>{} : it->second.entries;
  }
  int lists() const { return lists_.load(); }
  int stamps() const { return stamps_.load(); }
  // The plain answers asked for (opens and subfolder walks).
  int asks() const { return asks_.load(); }
  std::atomic<uint64_t> write_time{1};  // every file's

  // --- LyricSearchFiles: the plain answers
  bool can_open(std::u16string_view path) const override {
    ++asks_;
    const size_t cut = path.rfind(u'\\');
    if (cut == std::u16string_view::npos) return false;
    const std::lock_guard lock(mutex_);
    const auto it = folders_.find(upper(path.substr(0, cut)));
    if (it == folders_.end()) return false;
    const std::u16string name = upper(path.substr(cut + 1));
    for (const Entry& e : it->second.entries) {
      if (!e.folder && upper(e.name) == name) return unopenable.count(upper(path)) == 0;
    }
    return false;
  }
  void for_each_subfolder(std::u16string_view folder,
                          const std::function<bool(std::u16string_view)>& visit) const override {
    ++asks_;
    for (const std::u16string& name : subfolders_of(std::u16string(folder))) {
      if (visit(name)) return;
    }
  }
  std::optional<uint64_t> last_write_time(std::u16string_view) const override {
    return write_time.load();
  }
  bool read_text(std::u16string_view, std::u16string& text) const override {
    text.clear();
    return true;
  }

  // --- FolderListingSource
  std::optional<FolderListing> list(std::u16string_view folder) const override {
    ++lists_;
    const std::lock_guard lock(mutex_);
    const auto it = folders_.find(upper(folder));
    if (it == folders_.end()) return std::nullopt;
    FolderListing listing;
    for (const Entry& e : it->second.entries) {
      if (e.folder) {
        const auto child = folders_.find(upper(std::u16string(folder) + u"\\" + e.name));
        listing.subfolders.push_back({e.name, false,
                                      child == folders_.end()
                                          ? std::nullopt
                                          : std::optional<uint64_t>(child->second.stamp)});
      } else {
        listing.add_file(e.name);
      }
    }
    return listing;
  }
  std::optional<uint64_t> folder_stamp(std::u16string_view folder) const override {
    ++stamps_;
    const std::lock_guard lock(mutex_);
    const auto it = folders_.find(upper(folder));
    if (it == folders_.end()) return std::nullopt;
    return it->second.stamp;
  }
  uint64_t now() const override {
    const std::lock_guard lock(mutex_);
    return clock_;
  }
  void fold_into(std::u16string_view name, std::u16string& folded) const override {
    folded = upper(name);
  }
  struct Watch final : FolderWatch {
    std::shared_ptr<std::atomic<bool>> flag;
    std::atomic<int>* asked = nullptr;
    bool reporting = false;
    bool changed() override {
      if (asked) ++*asked;
      const bool fired = flag->exchange(false);
      // Like the system's one-shot wait: used up by the change it told of.
      if (fired) reporting = false;
      return fired;
    }
    bool reports_itself() const override { return reporting; }
  };
  mutable std::atomic<int> watches_asked{0};
  std::unique_ptr<FolderWatch> watch(std::u16string_view root) const override {
    if (mode_ != Mode::subtree_watches) return nullptr;
    const std::lock_guard lock(mutex_);
    auto made = std::make_unique<Watch>();
    made->flag = std::make_shared<std::atomic<bool>>(false);
    watches_.emplace_back(upper(root), made->flag);
    return made;
  }
  bool stamps_track_changes(std::u16string_view) const override {
    return mode_ != Mode::subtree_watches;
  }
  std::unique_ptr<FolderWatch> watch_folder(std::u16string_view folder) const override {
    if (mode_ != Mode::folder_watches && mode_ != Mode::reporting_folder_watches) return nullptr;
    const std::lock_guard lock(mutex_);
    const auto it = folders_.find(upper(folder));
    if (it == folders_.end()) return nullptr;
    auto made = std::make_unique<Watch>();
    made->flag = std::make_shared<std::atomic<bool>>(false);
    made->asked = &watches_asked;
    made->reporting = mode_ == Mode::reporting_folder_watches;
    it->second.watches.push_back(made->flag);
    return made;
  }
  uint64_t changes_seen() const override { return changes_seen_.load(); }

 private:
  void touch_locked(const std::u16string& folder) {
    Folder& touched = folders_.at(upper(folder));
    touched.stamp = clock_;
    for (const auto& flag : touched.watches) {
      if (!flag->exchange(true)) ++changes_seen_;
    }
    const std::u16string key = upper(folder);
    for (const auto& [root, flag] : watches_) {
      if (key == root || key.rfind(root + u"\\", 0) == 0) flag->store(true);
    }
  }
  void erase_below_locked(const std::u16string& key) {
    std::erase_if(folders_, [&](const auto& entry) {
      return entry.first == key || entry.first.rfind(key + u"\\", 0) == 0;
    });
  }

  const Mode mode_;
  mutable std::mutex mutex_;
  mutable std::map<std::u16string, Folder> folders_;
  uint64_t clock_ = 1'000'000'000;
  mutable std::vector<std::pair<std::u16string, std::shared_ptr<std::atomic<bool>>>> watches_;
  mutable std::atomic<int> lists_{0};
  mutable std::atomic<int> stamps_{0};
  mutable std::atomic<int> asks_{0};
  std::atomic<uint64_t> changes_seen_{0};
};

}  // namespace sabla::test
