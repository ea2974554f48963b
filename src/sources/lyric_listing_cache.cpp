#include "sources/lyric_listing_cache.h"

#include <algorithm>
#include <array>
#include <functional>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace sabla {
namespace {

constexpr char16_t kSeparator = u'\\';

bool device_name(std::u16string_view name) {
  // Windows opens these as devices whatever folder and extension they come with.
  std::u16string_view base = name.substr(0, name.find(u'.'));
  while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
  if (base.size() != 3 && base.size() != 4) return false;
  const auto stem_is = [&](std::u16string_view stem) {
    for (size_t i = 0; i < 3; ++i) {
      if (ascii_upper(base[i]) != stem[i]) return false;
    }
    return true;
  };
  if (base.size() == 3) {
    return stem_is(u"CON") || stem_is(u"PRN") || stem_is(u"AUX") || stem_is(u"NUL");
  }
  const char16_t digit = base[3];
  const bool numbered = (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' ||
                        digit == u'\u00B2' || digit == u'\u00B3';
  return numbered && (stem_is(u"COM") || stem_is(u"LPT"));
}

std::vector<std::u16string_view> split(std::u16string_view text) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(kSeparator, start);
    parts.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    if (end == std::u16string_view::npos) return parts;
    start = end + 1;
  }
}

// One thread's current search: listings checked against their stamps during it are not checked
// again until the next search of the same thread. Plain values, so that a worker thread leaving
// through FreeLibraryAndExitThread has nothing of this library to destroy.
thread_local const void* tl_search_owner = nullptr;
thread_local uint64_t tl_search_epoch = 0;
// Whether every answer of that search so far came from a listing kept under a watch, and the
// cache's count of changes as it began.
thread_local bool tl_search_watched = false;
thread_local uint64_t tl_search_changes = 0;

}  // namespace

bool plain_component(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  // Asked of every name tried in every subfolder: one switch per character.
  for (const char16_t c : name) {
    if (c < 0x20) return false;
    switch (c) {
      case u'\\':
      case u'/':
      case u':':
      case u'*':
      case u'?':
      case u'"':
      case u'<':
      case u'>':
      case u'|':
      // '~' may name an entry by its short name, which a listing does not show.
      case u'~':
        return false;
      default:
        break;
    }
  }
  if (name.back() == u'.' || name.back() == u' ') return false;
  return !device_name(name);
}

bool plain_drive_path(std::u16string_view path) {
  if (path.size() < 4 || path[1] != u':' || path[2] != kSeparator) return false;
  const char16_t drive = ascii_upper(path[0]);
  if (drive < u'A' || drive > u'Z') return false;
  for (const std::u16string_view part : split(path.substr(3))) {
    if (!plain_component(part)) return false;
  }
  return true;
}

namespace {

// A listing with its names folded for lookup. The folded names lie back to back in one buffer,
// ordered by their hash, so that keeping a folder costs a few allocations however many names it
// holds (the first search after "show" keeps thousands of folders while the host waits), and a
// lookup seldom compares more than one name.
struct Kept {
  struct Match {
    int file = -1;
    int folder = -1;
    int count = 0;  // more than one: a case-sensitive folder holds several spellings
  };
  struct Name {
    size_t hash = 0;
    uint32_t start = 0;
    uint32_t size = 0;
    Match match;
  };
  // What a lookup needs of the listing: the files' own names are not kept.
  std::vector<FolderListing::Subfolder> subfolders;
  std::u16string folded;
  std::vector<Name> names;  // by hash, then folded name; each folded name once
  uint64_t listed_at = 0;   // the clock just before the listing was taken

  static size_t hash_of(std::u16string_view folded_name) {
    return std::hash<std::u16string_view>{}(folded_name);
  }
  std::u16string_view text_of(const Name& name) const {
    return std::u16string_view(folded).substr(name.start, name.size);
  }
  // Whether `a` comes before the name `text` with hash `hash`.
  bool before(const Name& a, size_t hash, std::u16string_view text) const {
    return a.hash != hash ? a.hash < hash : text_of(a) < text;
  }

  const Match* find(std::u16string_view key) const {
    const size_t hash = hash_of(key);
    const auto it = std::lower_bound(
        names.begin(), names.end(), key,
        [&](const Name& name, std::u16string_view wanted) { return before(name, hash, wanted); });
    return it != names.end() && it->hash == hash && text_of(*it) == key ? &it->match : nullptr;
  }
};

struct Slot {
  std::shared_ptr<const Kept> kept;
  uint64_t stamp = 0;
  bool settled = false;  // listed long enough after its folder's last change to be trusted
  uint64_t checked_epoch = 0;
  // Armed before the listing was taken or its stamp last compared: while it reports nothing,
  // the listing holds.
  std::unique_ptr<FolderWatch> watch;
};

enum class RootMode { uncached, watched, stamped };

struct Root {
  std::u16string text;
  std::u16string key;  // folded
  RootMode mode = RootMode::uncached;
  std::unique_ptr<FolderWatch> watch;
  // Moves whenever listings are dropped, so that a listing taken before cannot be stored after.
  uint64_t generation = 0;
  // The source's changes_seen() as the watches that report themselves were last all asked.
  std::optional<uint64_t> seen;
  // By the folded path below the root ("" for the root itself, "A\B" below it).
  std::unordered_map<std::u16string, Slot> folders;
};

}  // namespace

struct CachedLyricSearchFiles::Core {
  Core(const FolderListingSource& source, uint64_t settle) : source(source), settle(settle) {}

  const FolderListingSource& source;
  const uint64_t settle;
  mutable std::mutex mutex;
  std::vector<std::shared_ptr<Root>> roots;  // under `mutex`
  std::atomic<uint64_t> epoch{0};
  std::atomic<uint64_t> clears{0};
  // Moves with every drop, forget, clear and new lyric folder: whatever a search was told before
  // may no longer hold.
  mutable std::atomic<uint64_t> changes{0};
  mutable bool filled = false;  // under `mutex`

  enum class Found { missing, unknown, listed };
  struct Resolved {
    Found found = Found::unknown;
    std::shared_ptr<const Kept> kept;
  };
  struct Located {
    std::shared_ptr<Root> root;
    std::vector<std::u16string_view> parts;  // below the root, each plain
  };

  // The lyric folders `texts`, with what tells of changes below them. Made outside the lock: a
  // watch takes a moment to set up, and asking a drive what it is takes longer still.
  std::vector<std::shared_ptr<Root>> make_roots(std::span<const std::u16string> texts,
                                                std::span<const std::u16string> keys) const {
    std::vector<std::shared_ptr<Root>> made;
    std::vector<std::shared_ptr<Root>> plain;  // those a source is asked about
    std::vector<std::u16string> plain_texts;
    for (size_t i = 0; i < texts.size(); ++i) {
      auto root = std::make_shared<Root>();
      root->text = texts[i];
      root->key = keys[i];
      if (plain_drive_path(root->text)) {
        plain.push_back(root);
        plain_texts.push_back(root->text);
      }
      made.push_back(std::move(root));
    }
    std::vector<FolderListingSource::RootChanges> told = source.root_changes(plain_texts);
    for (size_t i = 0; i < plain.size() && i < told.size(); ++i) {
      if (told[i].watch) {
        plain[i]->watch = std::move(told[i].watch);
        plain[i]->mode = RootMode::watched;
      } else if (told[i].stamps) {
        plain[i]->mode = RootMode::stamped;
      }
    }
    return made;
  }

  std::shared_ptr<Root> root_locked(const std::u16string& key) const {
    for (const std::shared_ptr<Root>& root : roots) {
      if (root->key == key) return root;
    }
    return nullptr;
  }

  // Registers the lyric folders and takes in what their watches report. Returns the roots in
  // the order given.
  std::vector<std::shared_ptr<Root>> begin(std::span<const std::u16string> folders) {
    std::vector<std::u16string> keys;
    keys.reserve(folders.size());
    for (const std::u16string& folder : folders) keys.push_back(source.fold(folder));
    std::vector<std::shared_ptr<Root>> found(folders.size());
    std::vector<std::u16string> new_texts;
    std::vector<std::u16string> new_keys;
    {
      const std::lock_guard lock(mutex);
      for (size_t i = 0; i < folders.size(); ++i) {
        found[i] = root_locked(keys[i]);
        if (!found[i] && std::find(new_keys.begin(), new_keys.end(), keys[i]) == new_keys.end()) {
          new_texts.push_back(folders[i]);
          new_keys.push_back(keys[i]);
        }
      }
    }
    if (!new_texts.empty()) {
      const std::vector<std::shared_ptr<Root>> made = make_roots(new_texts, new_keys);
      const std::lock_guard lock(mutex);
      for (size_t i = 0; i < folders.size(); ++i) {
        if (found[i]) continue;
        // Another thread may have made it meanwhile, or it is named twice.
        found[i] = root_locked(keys[i]);
        if (found[i]) continue;
        const size_t index = static_cast<size_t>(
            std::find(new_keys.begin(), new_keys.end(), keys[i]) - new_keys.begin());
        found[i] = made[index];
        roots.push_back(found[i]);
        changes.fetch_add(1, std::memory_order_acq_rel);
      }
    }
    const std::lock_guard lock(mutex);
    // Read before any watch is asked: a change reported meanwhile moves it past this.
    const uint64_t seen = source.changes_seen();
    std::vector<FolderWatch*> watches;
    std::vector<std::pair<Root*, const std::u16string*>> owners;
    for (const std::shared_ptr<Root>& root : found) {
      if (root->watch && root->watch->changed()) drop_locked(*root);
      // Asking thousands of watches one by one costs milliseconds (under Wine); those that
      // report themselves are asked only once one of them has.
      const bool quiet = root->seen == seen;
      root->seen = seen;
      for (const auto& [key, slot] : root->folders) {
        if (!slot.watch || (quiet && slot.watch->reports_itself())) continue;
        watches.push_back(slot.watch.get());
        owners.emplace_back(root.get(), &key);
      }
    }
    if (watches.empty()) return found;
    std::vector<std::pair<Root*, std::u16string>> changed;
    for (const size_t index : source.changed_watches(watches)) {
      if (index < owners.size()) changed.emplace_back(owners[index].first, *owners[index].second);
    }
    for (const auto& [root, key] : changed) drop_below_locked(*root, key);
    return found;
  }

  void drop_locked(Root& root) const {
    root.folders.clear();
    ++root.generation;
    filled = false;
    changes.fetch_add(1, std::memory_order_acq_rel);
  }

  // An answer of the current search of this thread did not come from a listing kept under a
  // watch.
  void unwatched_answer() const {
    if (tl_search_owner == this) tl_search_watched = false;
  }

  // The cached lyric folder `path` lies in, with the components below it; nothing when no
  // cached lyric folder holds it or a component is not plain.
  std::optional<Located> locate(std::u16string_view path) const {
    std::u16string folded;
    source.fold_into(path, folded);
    std::shared_ptr<Root> best;
    {
      const std::lock_guard lock(mutex);
      for (const std::shared_ptr<Root>& root : roots) {
        const std::u16string& key = root->key;
        const bool inside = folded.size() == key.size()
                                ? folded == key
                                : folded.size() > key.size() && folded[key.size()] == kSeparator &&
                                      std::u16string_view(folded).substr(0, key.size()) == key;
        if (inside && (!best || key.size() > best->key.size())) best = root;
      }
    }
    if (!best || best->mode == RootMode::uncached) return std::nullopt;
    Located located{best, {}};
    if (path.size() == best->key.size()) return located;
    located.parts = split(path.substr(best->key.size() + 1));
    for (const std::u16string_view part : located.parts) {
      if (!plain_component(part)) return std::nullopt;
    }
    return located;
  }

  std::shared_ptr<const Kept> make_kept(FolderListing listing, uint64_t listed_at) const {
    auto kept = std::make_shared<Kept>();
    kept->listed_at = listed_at;
    const size_t files = listing.file_count();
    const size_t count = files + listing.subfolders.size();
    const auto name_at = [&](size_t i) -> std::u16string_view {
      return i < files ? listing.file(i) : listing.subfolders[i - files].name;
    };
    size_t units = 0;
    for (size_t i = 0; i < count; ++i) units += name_at(i).size();
    kept->folded.reserve(units);
    // Every name in listing order (files, then folders), each with its listing index until the
    // spellings of one folded name are merged below.
    std::vector<Kept::Name>& names = kept->names;
    names.resize(count);
    std::u16string scratch;
    for (size_t i = 0; i < count; ++i) {
      source.fold_into(name_at(i), scratch);
      names[i].hash = Kept::hash_of(scratch);
      names[i].start = static_cast<uint32_t>(kept->folded.size());
      names[i].size = static_cast<uint32_t>(scratch.size());
      names[i].match.file = static_cast<int>(i);
      kept->folded += scratch;
    }
    std::sort(names.begin(), names.end(), [&](const Kept::Name& a, const Kept::Name& b) {
      if (a.hash != b.hash) return a.hash < b.hash;
      const int compared = kept->text_of(a).compare(kept->text_of(b));
      return compared != 0 ? compared < 0 : a.match.file < b.match.file;
    });
    // One entry per folded name, telling the first file and the first folder listed under it.
    size_t merged = 0;
    for (size_t i = 0; i < count; ++i) {
      const Kept::Name entry = names[i];
      const size_t index = static_cast<size_t>(entry.match.file);
      if (merged == 0 || names[merged - 1].hash != entry.hash ||
          kept->text_of(names[merged - 1]) != kept->text_of(entry)) {
        names[merged++] = Kept::Name{entry.hash, entry.start, entry.size, Kept::Match{}};
      }
      Kept::Match& match = names[merged - 1].match;
      if (index < files) {
        if (match.file < 0) match.file = static_cast<int>(index);
      } else if (match.folder < 0) {
        match.folder = static_cast<int>(index - files);
      }
      ++match.count;
    }
    names.resize(merged);
    kept->subfolders = std::move(listing.subfolders);
    return kept;
  }

  uint64_t current_epoch() const {
    return tl_search_owner == this ? tl_search_epoch : 0;
  }

  // The listing of the folder `text` (key `key` below `root`): kept, checked or taken anew.
  // A subfolder's stamp as its parent's listing showed it, and when that listing was taken:
  // read before anything of the subfolder is, so it serves as the stamp of a first listing of
  // it and spares a look at the disk for each.
  struct StampHint {
    uint64_t stamp = 0;
    uint64_t taken_at = 0;
  };

  std::shared_ptr<const Kept> folder(const std::shared_ptr<Root>& root, const std::u16string& key,
                                     const std::u16string& text,
                                     std::optional<StampHint> hint = std::nullopt) const {
    const uint64_t epoch = current_epoch();
    std::shared_ptr<const Kept> kept;
    uint64_t kept_stamp = 0;
    {
      const std::lock_guard lock(mutex);
      const auto it = root->folders.find(key);
      if (it != root->folders.end()) {
        Slot& slot = it->second;
        if (root->mode == RootMode::watched) return slot.kept;
        if (slot.watch) {
          // Within a search the watches were all asked as it began.
          if (epoch != 0 || !slot.watch->changed()) return slot.kept;
          drop_below_locked(*root, key);
        } else if (slot.settled && epoch != 0 && slot.checked_epoch == epoch) {
          unwatched_answer();
          return slot.kept;
        } else if (slot.settled) {
          kept = slot.kept;
          kept_stamp = slot.stamp;
        } else {
          // Listed too soon after a change to tell a later one by the stamp, or its watch
          // reported one: taken again, and with it what lies below.
          drop_below_locked(*root, key);
        }
      }
    }
    unwatched_answer();
    if (kept) {
      const std::optional<uint64_t> stamp = source.folder_stamp(text);
      const std::lock_guard lock(mutex);
      const auto it = root->folders.find(key);
      if (stamp == kept_stamp) {
        if (it != root->folders.end() && it->second.kept == kept) it->second.checked_epoch = epoch;
        return kept;
      }
      // Something in this folder was added, removed or renamed, perhaps a whole folder below it
      // replaced by another of the same name: nothing kept below it holds either.
      drop_below_locked(*root, key);
    }
    // A kept listing that failed its check needs the stamp of now, not the parent's.
    return list(root, key, text, epoch, kept ? std::nullopt : hint);
  }

  void drop_below_locked(Root& root, const std::u16string& key) const {
    filled = false;
    changes.fetch_add(1, std::memory_order_acq_rel);
    std::erase_if(root.folders, [&](const auto& entry) {
      const std::u16string& other = entry.first;
      return key.empty() || other == key ||
             (other.size() > key.size() && other[key.size()] == kSeparator &&
              std::u16string_view(other).substr(0, key.size()) == key);
    });
    ++root.generation;
  }

  std::shared_ptr<const Kept> list(const std::shared_ptr<Root>& root, const std::u16string& key,
                                   const std::u16string& text, uint64_t epoch,
                                   std::optional<StampHint> hint) const {
    uint64_t generation = 0;
    {
      const std::lock_guard lock(mutex);
      generation = root->generation;
    }
    const bool stamped = root->mode == RootMode::stamped;
    // Read before the listing, so that a change during it leaves a stamp that differs later.
    const uint64_t listed_at = source.now();
    uint64_t now = listed_at;
    std::optional<uint64_t> stamp = 0;
    if (stamped && hint) {
      stamp = hint->stamp;
      now = hint->taken_at;
    } else if (stamped) {
      stamp = source.folder_stamp(text);
    }
    std::optional<FolderListing> listing = source.list(text);
    if (!listing) return nullptr;
    std::shared_ptr<const Kept> kept = make_kept(std::move(*listing), listed_at);
    if (!stamp) return kept;  // used for this look only
    const bool settled = !stamped || (*stamp < now && now - *stamp > settle);
    const std::lock_guard lock(mutex);
    if (root->generation == generation) {
      root->folders[key] = Slot{kept, *stamp, settled, epoch, nullptr};
    }
    return kept;
  }

  // The listing of a folder the fill reaches, with a watch of its own where the source offers
  // one. The watch is armed before the listing is taken or its stamp compared, so no change
  // after either goes unreported.
  std::shared_ptr<const Kept> watched_folder(const std::shared_ptr<Root>& root,
                                             const std::u16string& key,
                                             const std::u16string& text) {
    std::shared_ptr<const Kept> kept;
    uint64_t kept_stamp = 0;
    uint64_t generation = 0;
    {
      const std::lock_guard lock(mutex);
      generation = root->generation;
      const auto it = root->folders.find(key);
      if (it != root->folders.end()) {
        if (it->second.watch || root->mode == RootMode::watched) return it->second.kept;
        if (it->second.settled) {
          kept = it->second.kept;
          kept_stamp = it->second.stamp;
        }
      }
    }
    if (root->mode != RootMode::stamped) return folder(root, key, text);
    std::unique_ptr<FolderWatch> watch = source.watch_folder(text);
    if (!watch) return folder(root, key, text);
    if (kept && source.folder_stamp(text) == kept_stamp) {
      const std::lock_guard lock(mutex);
      const auto it = root->folders.find(key);
      if (it != root->folders.end() && it->second.kept == kept && !it->second.watch) {
        it->second.watch = std::move(watch);
        // It may have reported a change before it was kept here: it is asked once.
        root->seen.reset();
      }
      return kept;
    }
    {
      const std::lock_guard lock(mutex);
      // Changed since it was listed: what lies below may have been replaced too.
      if (root->folders.count(key)) drop_below_locked(*root, key);
      generation = root->generation;
    }
    std::optional<FolderListing> listing = source.list(text);
    if (!listing) return nullptr;
    kept = make_kept(std::move(*listing), source.now());
    const std::lock_guard lock(mutex);
    if (root->generation == generation) {
      root->folders[key] = Slot{kept, 0, false, 0, std::move(watch)};
      root->seen.reset();
    }
    return kept;
  }

  Resolved resolve(const Located& at, size_t count) const {
    std::u16string key;
    std::u16string text = at.root->text;
    std::shared_ptr<const Kept> kept = folder(at.root, key, text);
    std::u16string name;
    for (size_t i = 0; i < count; ++i) {
      if (!kept) return {};
      source.fold_into(at.parts[i], name);
      const Kept::Match* match = kept->find(name);
      if (!match) return {Found::missing, nullptr};
      if (match->count > 1) return {};
      if (match->folder < 0) return {Found::missing, nullptr};
      const FolderListing::Subfolder& sub = kept->subfolders[static_cast<size_t>(match->folder)];
      if (sub.linked) return {};
      std::optional<StampHint> hint;
      if (sub.stamp) hint = StampHint{*sub.stamp, kept->listed_at};
      if (!key.empty()) key += kSeparator;
      key += name;
      text += kSeparator;
      text += at.parts[i];
      kept = folder(at.root, key, text, hint);
    }
    if (!kept) return {};
    return {Found::listed, kept};
  }

  void fill(const std::vector<std::u16string>& folders, bool subfolders,
            const std::shared_ptr<const std::atomic<bool>>& stop, uint64_t clears_at_start) {
    const auto stopped = [&] {
      return clears.load(std::memory_order_acquire) != clears_at_start ||
             (stop && stop->load(std::memory_order_acquire));
    };
    if (stopped()) return;
    tl_search_owner = this;
    tl_search_epoch = epoch.fetch_add(1) + 1;
    const std::vector<std::shared_ptr<Root>> found = begin(folders);
    {
      // Any drop from here on clears it again.
      const std::lock_guard lock(mutex);
      filled = true;
    }
    for (const std::shared_ptr<Root>& root : found) {
      if (stopped()) break;
      if (root->mode == RootMode::uncached) continue;
      const std::shared_ptr<const Kept> kept = watched_folder(root, u"", root->text);
      if (!kept || !subfolders) continue;
      for (const FolderListing::Subfolder& sub : kept->subfolders) {
        if (stopped()) break;
        if (sub.linked || !plain_component(sub.name)) continue;
        watched_folder(root, source.fold(sub.name), root->text + kSeparator + sub.name);
      }
    }
    tl_search_owner = nullptr;
    if (stopped()) {
      const std::lock_guard lock(mutex);
      filled = false;
    }
  }
};

CachedLyricSearchFiles::CachedLyricSearchFiles(const LyricSearchFiles& system,
                                               const FolderListingSource& source,
                                               uint64_t settle_units)
    : system_(system), core_(std::make_shared<Core>(source, settle_units)) {}

CachedLyricSearchFiles::~CachedLyricSearchFiles() { clear(); }

void CachedLyricSearchFiles::begin_search(std::span<const std::u16string> lyric_folders) const {
  tl_search_owner = core_.get();
  tl_search_epoch = core_->epoch.fetch_add(1) + 1;
  tl_search_watched = true;
  const std::vector<std::shared_ptr<Root>> roots = core_->begin(lyric_folders);
  // Read after the watches were asked and what they reported dropped.
  tl_search_changes = core_->changes.load(std::memory_order_acquire);
  for (const std::shared_ptr<Root>& root : roots) {
    // A lyric folder that is not cached is asked of the disk itself.
    if (root->mode == RootMode::uncached) tl_search_watched = false;
  }
}

std::optional<uint64_t> CachedLyricSearchFiles::search_mark() const {
  if (tl_search_owner != core_.get() || !tl_search_watched) return std::nullopt;
  return tl_search_changes;
}

bool CachedLyricSearchFiles::begin_search_unchanged(std::span<const std::u16string> lyric_folders,
                                                    uint64_t mark) const {
  begin_search(lyric_folders);
  // Nothing was dropped since the marked search began, and its watches, asked again just now,
  // report nothing: every listing it was answered from is still kept, and still right.
  return tl_search_watched && tl_search_changes == mark;
}

void CachedLyricSearchFiles::forget(std::u16string_view path) const {
  const std::optional<Core::Located> at = core_->locate(path);
  if (at && !at->parts.empty()) {
    // The file's folder and every folder above it in the lyric folder: a save may have made
    // the folders it goes in. What lies beside them has not changed.
    std::vector<std::u16string> keys = {u""};
    for (size_t i = 0; i + 1 < at->parts.size(); ++i) {
      std::u16string key = keys.back();
      if (!key.empty()) key += kSeparator;
      key += core_->source.fold(at->parts[i]);
      keys.push_back(std::move(key));
    }
    const std::lock_guard lock(core_->mutex);
    for (const std::u16string& key : keys) at->root->folders.erase(key);
    ++at->root->generation;
    core_->filled = false;
    core_->changes.fetch_add(1, std::memory_order_acq_rel);
    return;
  }
  // A path the listings cannot speak for: everything of the lyric folders it lies in goes.
  const std::u16string folded = core_->source.fold(path);
  const std::lock_guard lock(core_->mutex);
  for (const std::shared_ptr<Root>& root : core_->roots) {
    const std::u16string& key = root->key;
    if (folded.size() > key.size() && folded[key.size()] == kSeparator &&
        std::u16string_view(folded).substr(0, key.size()) == key) {
      core_->drop_locked(*root);
    }
  }
}

bool CachedLyricSearchFiles::can_open(std::u16string_view path) const {
  const std::optional<Core::Located> at = core_->locate(path);
  const Core::Resolved folder =
      at && !at->parts.empty() ? core_->resolve(*at, at->parts.size() - 1) : Core::Resolved{};
  if (folder.found == Core::Found::missing) return false;
  if (folder.found == Core::Found::listed) {
    const Kept::Match* match = folder.kept->find(core_->source.fold(at->parts.back()));
    // A folder does not open as a file.
    if (!match || match->file < 0) return false;
  }
  // A listed file is opened for real: one that is there but does not open (yet) tells no
  // watch when it does.
  core_->unwatched_answer();
  return system_.can_open(path);
}

std::optional<size_t> CachedLyricSearchFiles::first_openable(
    std::u16string_view folder, std::span<const std::u16string> names) const {
  const std::optional<Core::Located> at = core_->locate(folder);
  const Core::Resolved listed = at ? core_->resolve(*at, at->parts.size()) : Core::Resolved{};
  if (listed.found == Core::Found::missing) return std::nullopt;
  if (listed.found == Core::Found::unknown) {
    core_->unwatched_answer();
    return system_.first_openable(folder, names);
  }
  const auto path_of = [&](const std::u16string& name) {
    std::u16string path;
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    path += kSeparator;
    path += name;
    return path;
  };
  std::u16string scratch;  // one buffer for every name
  for (size_t i = 0; i < names.size(); ++i) {
    if (!plain_component(names[i])) {
      if (can_open(path_of(names[i]))) return i;
      continue;
    }
    // Nearly every name is missing: only a listed one costs a path and an open.
    core_->source.fold_into(names[i], scratch);
    const Kept::Match* match = listed.kept->find(scratch);
    if (!match || match->file < 0) continue;
    core_->unwatched_answer();
    if (system_.can_open(path_of(names[i]))) return i;
  }
  return std::nullopt;
}

void CachedLyricSearchFiles::for_each_subfolder(
    std::u16string_view folder, const std::function<bool(std::u16string_view name)>& visit) const {
  const std::optional<Core::Located> at = core_->locate(folder);
  const Core::Resolved listed = at ? core_->resolve(*at, at->parts.size()) : Core::Resolved{};
  if (listed.found == Core::Found::missing) return;
  if (listed.found == Core::Found::unknown) {
    core_->unwatched_answer();
    return system_.for_each_subfolder(folder, visit);
  }
  // `listed` holds the listing while `visit` searches inside the subfolders.
  for (const FolderListing::Subfolder& sub : listed.kept->subfolders) {
    if (visit(sub.name)) return;
  }
}

std::optional<uint64_t> CachedLyricSearchFiles::last_write_time(std::u16string_view path) const {
  return system_.last_write_time(path);
}

bool CachedLyricSearchFiles::read_text(std::u16string_view path, std::u16string& text) const {
  return system_.read_text(path, text);
}

void CachedLyricSearchFiles::clear() {
  std::vector<std::shared_ptr<Root>> gone;
  {
    const std::lock_guard lock(core_->mutex);
    core_->clears.fetch_add(1, std::memory_order_acq_rel);
    core_->changes.fetch_add(1, std::memory_order_acq_rel);
    // Emptied under the lock; the watches are closed after it, so a search never waits for that.
    for (const std::shared_ptr<Root>& root : core_->roots) {
      ++root->generation;
      std::unordered_map<std::u16string, Slot> folders;
      folders.swap(root->folders);
      gone.push_back(std::make_shared<Root>());
      gone.back()->folders = std::move(folders);
    }
    core_->filled = false;
    gone.insert(gone.end(), core_->roots.begin(), core_->roots.end());
    core_->roots.clear();
  }
}

bool CachedLyricSearchFiles::filled() const {
  const std::lock_guard lock(core_->mutex);
  return core_->filled;
}

size_t CachedLyricSearchFiles::watched_folders() const {
  const std::lock_guard lock(core_->mutex);
  size_t count = 0;
  for (const std::shared_ptr<Root>& root : core_->roots) {
    for (const auto& entry : root->folders) count += entry.second.watch ? 1 : 0;
  }
  return count;
}

std::function<void()> CachedLyricSearchFiles::fill_job(
    std::vector<std::u16string> lyric_folders, bool subfolders,
    std::shared_ptr<const std::atomic<bool>> stop) const {
  return [core = core_, folders = std::move(lyric_folders), subfolders, stop = std::move(stop),
          clears = core_->clears.load(std::memory_order_acquire)]() {
    core->fill(folders, subfolders, stop, clears);
  };
}

size_t CachedLyricSearchFiles::cached_folders() const {
  const std::lock_guard lock(core_->mutex);
  size_t count = 0;
  for (const std::shared_ptr<Root>& root : core_->roots) count += root->folders.size();
  return count;
}

}  // namespace sabla
