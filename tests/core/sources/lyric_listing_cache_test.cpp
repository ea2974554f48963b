#include "sources/lyric_listing_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fake_folder_tree.h"
#include "sources/lyric_search.h"

namespace sabla {
namespace {

using test::FakeTree;
using test::upper;

const std::vector<std::u16string> kArtists = {u"Alpha", u"alpha", u"Beta Band", u"Gamma"};
const std::vector<std::u16string> kTitles = {u"One", u"ONE", u"Two Step", u"three", u"Ends."};
const std::vector<std::u16string> kAlbums = {u"First", u"Second", u""};
const std::vector<std::u16string> kExtensions = {u".kra", u".lrc", u".txt", u".LRC", u".mp3",
                                                 u".doc", u""};

template <typename T>
const T& pick(std::mt19937& random, const std::vector<T>& from) {
  return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
}

std::u16string random_name(std::mt19937& random) {
  switch (random() % 4) {
    case 0:
      return pick(random, kTitles);
    case 1:
      return pick(random, kArtists) + u" - " + pick(random, kTitles);
    case 2:
      return u"song" + std::u16string(1, static_cast<char16_t>(u'0' + random() % 4));
    default:
      return pick(random, kArtists);
  }
}

struct Library {
  std::vector<std::u16string> roots = {u"C:\\Lyrics", u"C:\\More\\Lyr"};
  std::vector<std::u16string> folders;  // every folder, roots included
};

void add_random_entry(FakeTree& tree, Library& library, std::mt19937& random) {
  const std::u16string parent = pick(random, library.folders);
  if (random() % 3 == 0) {
    const std::u16string name = random() % 2 ? pick(random, kArtists) : pick(random, kAlbums);
    if (name.empty()) return;
    for (const auto& e : tree.entries_of(parent)) {
      if (upper(e.name) == upper(name)) return;
    }
    tree.add(parent, name, true);
    library.folders.push_back(parent + u"\\" + name);
  } else {
    const std::u16string name = random_name(random) + pick(random, kExtensions);
    for (const auto& e : tree.entries_of(parent)) {
      if (upper(e.name) == upper(name)) return;
    }
    tree.add(parent, name, false);
    if (random() % 10 == 0) tree.unopenable.insert(upper(parent + u"\\" + name));
  }
}

void mutate(FakeTree& tree, Library& library, std::mt19937& random) {
  const std::u16string parent = pick(random, library.folders);
  const std::vector<FakeTree::Entry> entries = tree.entries_of(parent);
  const int kind = static_cast<int>(random() % 3);
  if (kind == 0 || entries.empty()) return add_random_entry(tree, library, random);
  const FakeTree::Entry& entry = pick(random, entries);
  if (kind == 1) {
    tree.remove(parent, entry.name);
  } else {
    const std::u16string new_name =
        entry.folder ? pick(random, kArtists) + u"x" : random_name(random) + u".lrc";
    for (const auto& e : entries) {
      if (upper(e.name) == upper(new_name)) return;
    }
    tree.rename(parent, entry.name, new_name);
  }
  // Forget folders that went; ones renamed into place are found again by the listing.
  library.folders.clear();
  std::vector<std::u16string> pending(library.roots.begin(), library.roots.end());
  while (!pending.empty()) {
    const std::u16string folder = pending.back();
    pending.pop_back();
    library.folders.push_back(folder);
    for (const std::u16string& sub : tree.subfolders_of(folder)) {
      pending.push_back(folder + u"\\" + sub);
    }
  }
}

LyricSearchQuery random_query(std::mt19937& random, const Library& library) {
  LyricSearchQuery query;
  query.title_safe = pick(random, kTitles);
  query.artist_safe = pick(random, kArtists);
  query.album_safe = pick(random, kAlbums);
  query.file_name = (random() % 2 ? u"song" + std::u16string(1, static_cast<char16_t>(
                                                                       u'0' + random() % 4))
                                  : query.title_safe) +
                    u".mp3";
  query.file_path = u"C:\\Music\\" + query.file_name;
  query.folders = library.roots;
  query.find_sdir = random() % 4 != 0;
  return query;
}

std::string text(const std::optional<std::u16string>& path) {
  if (!path) return "(none)";
  return std::string(path->begin(), path->end());
}

// The same winning path, or none, with the cache as without it, through random changes of the
// tree: added, removed and renamed files and folders at every depth.
void compare_through_changes(FakeTree::Mode mode, uint32_t seed) {
  std::mt19937 random(seed);
  FakeTree tree(mode);
  Library library;
  tree.make_root(u"C:\\Music");
  for (const std::u16string& root : library.roots) {
    tree.make_root(root);
    library.folders.push_back(root);
  }
  for (int i = 0; i < 120; ++i) add_random_entry(tree, library, random);
  tree.tick(10 * kStampSettleUnits);
  CachedLyricSearchFiles cache(tree, tree);
  for (int round = 0; round < 60; ++round) {
    for (int search = 0; search < 5; ++search) {
      const LyricSearchQuery query = random_query(random, library);
      const std::optional<std::u16string> expected = find_lyric_file(query, tree);
      ASSERT_EQ(text(find_lyric_file(query, cache)), text(expected))
          << "seed " << seed << " round " << round << " search " << search;
    }
    // Sometimes the background fill comes between two songs.
    if (random() % 3 == 0) cache.fill_job(library.roots, random() % 2)();
    const int changes = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < changes; ++i) mutate(tree, library, random);
    // Time passes between changes and the next song, or none at all (a coarse clock).
    if (random() % 2) tree.tick(random() % 2 ? 1 : 3 * kStampSettleUnits);
  }
}

TEST(LyricListingCache, SameResultsAsTheFileSystemThroughChanges) {
  const struct {
    const char* name;
    FakeTree::Mode mode;
  } cases[] = {
      {"the subtree is watched", FakeTree::Mode::subtree_watches},
      {"stamps only", FakeTree::Mode::stamps},
      {"stamps, and each folder watched once filled", FakeTree::Mode::folder_watches},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (uint32_t seed = 1; seed <= 3; ++seed) compare_through_changes(c.mode, seed);
  }
}

TEST(LyricListingCache, FilledFoldersWatchedOneByOneAreNotStampedAgain) {
  FakeTree tree(FakeTree::Mode::folder_watches);
  tree.make_root(u"C:\\L");
  for (const char16_t* sub : {u"a", u"b", u"c"}) tree.add(u"C:\\L", sub, true);
  tree.tick(3 * kStampSettleUnits);
  CachedLyricSearchFiles cache(tree, tree);
  LyricSearchQuery query;
  query.title_safe = u"T";
  query.file_name = u"f.mp3";
  query.folders = {u"C:\\L"};
  query.find_sdir = true;
  EXPECT_FALSE(find_lyric_file(query, cache));
  EXPECT_EQ(cache.watched_folders(), 0u);  // a search never waits for a watch to be set up
  EXPECT_FALSE(cache.filled());
  cache.fill_job(query.folders, true)();
  EXPECT_TRUE(cache.filled());
  EXPECT_EQ(cache.watched_folders(), 4u);
  const int listed = tree.lists();
  const int stamped = tree.stamps();
  tree.watches_asked = 0;
  EXPECT_FALSE(find_lyric_file(query, cache));
  EXPECT_EQ(tree.lists(), listed);
  EXPECT_EQ(tree.stamps(), stamped);
  EXPECT_EQ(tree.watches_asked, 4);  // once each, all together as the search began
  // A change in one subfolder: that one is listed again; the others stay watched.
  tree.add(u"C:\\L\\b", u"T.txt", false);
  EXPECT_EQ(text(find_lyric_file(query, cache)), "C:\\L\\b\\T.txt");
  EXPECT_EQ(tree.lists(), listed + 1);
  EXPECT_EQ(cache.watched_folders(), 3u);
  EXPECT_FALSE(cache.filled());
}

TEST(LyricListingCache, AnUnchangedLibraryIsListedOnceAndStampedOncePerSearch) {
  for (const bool watched : {true, false}) {
    SCOPED_TRACE(watched ? "watched" : "stamped");
    FakeTree tree(watched);
    tree.make_root(u"C:\\L");
    for (int i = 0; i < 20; ++i) {
      const std::u16string sub = u"Artist" + std::u16string(1, static_cast<char16_t>(u'A' + i));
      tree.add(u"C:\\L", sub, true);
      tree.add(u"C:\\L\\" + sub, u"x.txt", false);
    }
    tree.tick(3 * kStampSettleUnits);
    CachedLyricSearchFiles cache(tree, tree);
    LyricSearchQuery query;
    query.title_safe = u"Missing";
    query.file_name = u"m.mp3";
    query.folders = {u"C:\\L"};
    query.find_sdir = true;
    EXPECT_FALSE(find_lyric_file(query, cache));
    const int listed = tree.lists();
    EXPECT_EQ(listed, 21);  // the lyric folder and its 20 subfolders
    const int stamped = tree.stamps();
    EXPECT_FALSE(find_lyric_file(query, cache));
    EXPECT_EQ(tree.lists(), listed);
    // Watched: not a single look at the disk; stamped: one per folder used.
    EXPECT_EQ(tree.stamps() - stamped, watched ? 0 : 21);
    EXPECT_EQ(cache.cached_folders(), 21u);

    // A file the plug-in wrote, before any report of it arrives: its folder is listed again,
    // nothing else.
    tree.add(u"C:\\L\\ArtistC", u"Missing.lrc", false);
    cache.forget(u"C:\\L\\ArtistC\\Missing.lrc");
    const int before_save = tree.lists();
    EXPECT_EQ(text(find_lyric_file(query, cache)), "C:\\L\\ArtistC\\Missing.lrc");
    // Stamped: the lyric folder and ArtistC. Watched: the whole lyric folder's report drops it
    // all, and the search lists it again up to ArtistC.
    EXPECT_EQ(tree.lists() - before_save, watched ? 4 : 2);
    // The same in a folder the save made.
    tree.add(u"C:\\L", u"New", true);
    tree.add(u"C:\\L\\New", u"Deeper", true);
    tree.add(u"C:\\L\\New\\Deeper", u"Missing.kra", false);
    cache.forget(u"C:\\L\\New\\Deeper\\Missing.kra");
    query.artist_safe = u"New";
    query.album_safe = u"Deeper";
    EXPECT_EQ(text(find_lyric_file(query, cache)), "C:\\L\\New\\Deeper\\Missing.kra");
    query.artist_safe.clear();
    query.album_safe.clear();

    cache.clear();
    EXPECT_EQ(cache.cached_folders(), 0u);
  }
}

TEST(LyricListingCache, AFolderSwappedForOneWithTheSameStampIsListedAgain) {
  FakeTree tree(false);
  tree.make_root(u"C:\\L");
  // Made in the same tick of the clock, so both carry the same stamp (as an unpacked archive
  // leaves them).
  tree.add(u"C:\\L", u"Artist", true);
  tree.add(u"C:\\L", u"Other", true);
  tree.add(u"C:\\L\\Other", u"Title.lrc", false);
  tree.tick(3 * kStampSettleUnits);
  CachedLyricSearchFiles cache(tree, tree);
  LyricSearchQuery query;
  query.title_safe = u"Title";
  query.artist_safe = u"Artist";
  query.file_name = u"f.mp3";
  query.folders = {u"C:\\L"};
  EXPECT_FALSE(find_lyric_file(query, cache));
  tree.rename(u"C:\\L", u"Artist", u"Swap");
  tree.rename(u"C:\\L", u"Other", u"Artist");
  tree.rename(u"C:\\L", u"Swap", u"Other");
  tree.tick(3 * kStampSettleUnits);
  EXPECT_EQ(text(find_lyric_file(query, cache)), "C:\\L\\Artist\\Title.lrc");
}

TEST(LyricListingCache, FillListsTheFoldersAndTheirSubfoldersAndStopsWhenCleared) {
  FakeTree tree(true);
  tree.make_root(u"C:\\L");
  for (const char16_t* sub : {u"a", u"b", u"c"}) tree.add(u"C:\\L", sub, true);
  tree.tick(3 * kStampSettleUnits);
  CachedLyricSearchFiles cache(tree, tree);
  cache.fill_job({u"C:\\L", u"relative", u"C:\\Missing"}, true)();
  EXPECT_EQ(cache.cached_folders(), 4u);
  EXPECT_EQ(tree.lists(), 5);  // and the missing one tried once
  cache.fill_job({u"C:\\L"}, false)();
  EXPECT_EQ(tree.lists(), 5);  // already there

  // A fill made before a clear does nothing afterwards; nor one told to stop.
  const std::function<void()> stale = cache.fill_job({u"C:\\L"}, true);
  cache.clear();
  stale();
  EXPECT_EQ(cache.cached_folders(), 0u);
  auto stop = std::make_shared<std::atomic<bool>>(true);
  cache.fill_job({u"C:\\L"}, true, stop)();
  EXPECT_EQ(cache.cached_folders(), 0u);
}

TEST(LyricListingCache, PathsTheListingCannotSpeakForGoToTheFileSystem) {
  struct Case {
    std::u16string_view name;
    bool plain;
  };
  const Case cases[] = {
      {u"Song.lrc", true},       {u"日本語の歌.txt", true}, {u"a b", true},
      {u"", false},              {u".", false},            {u"..", false},
      {u"Ends.", false},         {u"Ends ", false},        {u"a/b", false},
      {u"a\\b", false},          {u"s.txt:x", false},      {u"SONG~1.TXT", false},
      {u"CON", false},           {u"con.txt", false},      {u"Lpt1.lrc", false},
      {u"COM9 .kra", false},     {u"Console", true},       {u"COM10", true},
      {u"a\x01", false},         {u"wild*", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plain_component(c.name), c.plain) << std::string(c.name.begin(), c.name.end());
  }
  EXPECT_TRUE(plain_drive_path(u"C:\\Lyrics\\J-Pop"));
  EXPECT_FALSE(plain_drive_path(u"C:\\"));
  EXPECT_FALSE(plain_drive_path(u"C:\\Lyrics\\"));
  EXPECT_FALSE(plain_drive_path(u"C:\\Lyrics\\\\x"));
  EXPECT_FALSE(plain_drive_path(u"\\\\server\\share"));
  EXPECT_FALSE(plain_drive_path(u"Lyrics"));
  EXPECT_FALSE(plain_drive_path(u"C:Lyrics"));

  // A name ending in '.' names the same file as the name without it on Windows: the cache
  // asks the file system instead of its listing.
  FakeTree tree(true);
  tree.make_root(u"C:\\L");
  CachedLyricSearchFiles cache(tree, tree);
  const std::vector<std::u16string> roots = {u"C:\\L"};
  cache.begin_search(roots);
  tree.add(u"C:\\L", u"x.txt", false);
  EXPECT_TRUE(cache.can_open(u"C:\\L\\x.txt"));
  EXPECT_TRUE(cache.can_open(u"C:\\L\\X.TXT"));
  EXPECT_FALSE(cache.can_open(u"C:\\L\\x.txt\\y"));
  EXPECT_FALSE(cache.can_open(u"C:\\L\\nothing\\y.txt"));
  tree.unopenable.insert(u"C:\\L\\X.TXT");
  EXPECT_FALSE(cache.can_open(u"C:\\L\\x.txt"));  // listed, but it does not open
}

TEST(LyricListingCache, NamesAreAnsweredFromAListingAsTheFileSystemAnswersThem) {
  // A folder of a case-sensitive file system: spellings that fold alike, a file and a folder of
  // one folded name, names that begin with others.
  FakeTree tree(false);
  const std::u16string root = u"C:\\L";
  tree.make_root(root);
  for (const char16_t* file : {u"a.txt", u"A.TXT", u"ab.txt", u"a", u"Both", u"song.lrc"}) {
    tree.add(root, file, false);
  }
  tree.add(root, u"BOTH", true);
  tree.add(root + u"\\BOTH", u"x.lrc", false);
  tree.add(root, u"Sub", true);
  tree.add(root + u"\\Sub", u"y.kra", false);
  tree.add(root + u"\\Sub", u"Y.KRA", false);
  tree.unopenable.insert(u"C:\\L\\SONG.LRC");
  tree.tick(3 * kStampSettleUnits);
  CachedLyricSearchFiles cache(tree, tree);
  const std::vector<std::u16string> roots = {root};

  const char16_t* paths[] = {
      u"C:\\L\\a.txt",
      u"C:\\L\\A.Txt",
      u"C:\\L\\ab.txt",
      u"C:\\L\\ab",
      u"C:\\L\\a",
      u"C:\\L\\b.txt",
      u"C:\\L\\both",
      u"C:\\L\\Both\\x.lrc",
      u"C:\\L\\Sub",
      u"C:\\L\\sub\\Y.kra",
      u"C:\\L\\Sub\\y",
      u"C:\\L\\song.lrc",
      u"C:\\L\\nothing\\y.kra",
  };
  for (const char16_t* path : paths) {
    SCOPED_TRACE(text(std::u16string(path)));
    cache.begin_search(roots);
    EXPECT_EQ(cache.can_open(path), tree.can_open(path));
  }
  const struct {
    std::u16string folder;
    std::vector<std::u16string> names;
  } lists[] = {
      {root, {u"b.txt", u"A", u"ab.TXT"}}, {root, {u"song.lrc", u"Sub", u"BOTH"}},
      {root, {u"x.lrc", u"c", u""}},       {root + u"\\SUB", {u"z.kra", u"Y.kra"}},
      {root + u"\\Both", {u"X.LRC"}},      {root + u"\\Gone", {u"y.kra"}},
  };
  for (const auto& list : lists) {
    SCOPED_TRACE(text(list.folder));
    cache.begin_search(roots);
    const std::optional<size_t> expected =
        tree.LyricSearchFiles::first_openable(list.folder, list.names);
    EXPECT_EQ(cache.first_openable(list.folder, list.names), expected);
  }
}

// A source that tells how often it was asked about lyric folders.
class CountingSource final : public FolderListingSource {
 public:
  explicit CountingSource(const FakeTree& tree) : tree_(tree) {}
  mutable std::vector<size_t> asked;  // how many lyric folders each question named

  std::optional<FolderListing> list(std::u16string_view folder) const override {
    return tree_.list(folder);
  }
  std::optional<uint64_t> folder_stamp(std::u16string_view folder) const override {
    return tree_.folder_stamp(folder);
  }
  uint64_t now() const override { return tree_.now(); }
  void fold_into(std::u16string_view name, std::u16string& folded) const override {
    tree_.fold_into(name, folded);
  }
  std::unique_ptr<FolderWatch> watch(std::u16string_view root) const override {
    return tree_.watch(root);
  }
  bool stamps_track_changes(std::u16string_view root) const override {
    return tree_.stamps_track_changes(root);
  }
  std::vector<RootChanges> root_changes(std::span<const std::u16string> roots) const override {
    asked.push_back(roots.size());
    return FolderListingSource::root_changes(roots);
  }

 private:
  const FakeTree& tree_;
};

TEST(LyricListingCache, TheLyricFoldersOfASearchAreAskedAboutTogether) {
  FakeTree tree(false);
  for (const char16_t* root : {u"C:\\A", u"C:\\B", u"D:\\C"}) tree.make_root(root);
  tree.add(u"C:\\B", u"Title.lrc", false);
  tree.tick(3 * kStampSettleUnits);
  const CountingSource source(tree);
  CachedLyricSearchFiles cache(tree, source);
  LyricSearchQuery query;
  query.title_safe = u"Title";
  query.file_name = u"f.mp3";
  // A relative folder cannot be cached, so nobody is asked about it; one named twice is one.
  query.folders = {u"C:\\A", u"Relative", u"C:\\B", u"D:\\C", u"c:\\a"};
  EXPECT_EQ(text(find_lyric_file(query, cache)), "C:\\B\\Title.lrc");
  EXPECT_EQ(source.asked, std::vector<size_t>{3});
  EXPECT_EQ(cache.cached_folders(), 2u);  // A and B; the search ended in B
  EXPECT_EQ(text(find_lyric_file(query, cache)), "C:\\B\\Title.lrc");
  EXPECT_EQ(source.asked, std::vector<size_t>{3});
  cache.clear();
  cache.fill_job(query.folders, false)();
  EXPECT_EQ(source.asked, (std::vector<size_t>{3, 3}));
  EXPECT_EQ(cache.cached_folders(), 3u);
}

TEST(LyricListingCache, SearchesFromTwoThreadsWhileTheTreeChanges) {
  FakeTree tree(false);
  Library library;
  std::mt19937 random(77);
  for (const std::u16string& root : library.roots) {
    tree.make_root(root);
    library.folders.push_back(root);
  }
  for (int i = 0; i < 80; ++i) add_random_entry(tree, library, random);
  CachedLyricSearchFiles cache(tree, tree);
  std::atomic<bool> done{false};
  const LyricSearchQuery query = random_query(random, library);
  std::thread worker([&] {
    while (!done.load()) {
      find_lyric_file(query, cache);
      cache.fill_job(library.roots, true)();
    }
  });
  for (int i = 0; i < 200; ++i) {
    find_lyric_file(query, cache);
    if (i % 10 == 0) cache.clear();
  }
  done.store(true);
  worker.join();
  tree.tick(3 * kStampSettleUnits);
  EXPECT_EQ(text(find_lyric_file(query, cache)), text(find_lyric_file(query, tree)));
}

}  // namespace
}  // namespace sabla
