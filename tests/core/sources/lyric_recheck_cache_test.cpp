#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "fake_folder_tree.h"
#include "sources/lyric_listing_cache.h"
#include "sources/lyric_recheck.h"
#include "sources/lyric_search.h"
#include "state/worker_thread.h"

namespace sabla {
namespace {

using test::FakeTree;

std::string text(const std::optional<std::u16string>& path) {
  if (!path) return "(none)";
  return std::string(path->begin(), path->end());
}

std::string shown(const std::optional<RecheckReport>& report) {
  if (!report) return "(no report)";
  return report->lyrics_path ? text(report->lyrics_path) : "(song file changed)";
}

const char* mode_name(FakeTree::Mode mode) {
  switch (mode) {
    case FakeTree::Mode::subtree_watches:
      return "the lyric folder is watched";
    case FakeTree::Mode::stamps:
      return "stamps only";
    case FakeTree::Mode::folder_watches:
      return "each folder watched, asked one by one";
    case FakeTree::Mode::reporting_folder_watches:
      return "each folder watched, reporting itself";
  }
  return "";
}

// A lyric folder with three artist folders, filled as the plug-in fills it once shown, and a
// song in a music folder beside it.
struct Library {
  explicit Library(FakeTree::Mode mode, std::u16string lyric_folder = u"C:\\L") : tree(mode) {
    tree.make_root(u"C:\\Music");
    tree.add(u"C:\\Music", u"s.mp3", false);
    tree.make_root(u"C:\\L");
    for (const char16_t* artist : {u"A", u"B", u"C"}) {
      tree.add(u"C:\\L", artist, true);
      tree.add(u"C:\\L\\" + std::u16string(artist), u"other.txt", false);
    }
    tree.tick(3 * kStampSettleUnits);
    job.query.title_safe = u"T";
    job.query.artist_safe = u"Z";
    job.query.file_name = u"s.mp3";
    job.query.file_path = u"C:\\Music\\s.mp3";
    job.query.folders = {std::move(lyric_folder)};
    job.query.find_sdir = true;
    job.recorded_write_time = 1;
    cache.fill_job(job.query.folders, true)();
  }
  std::optional<RecheckReport> check() { return recheck_lyrics(job, cache, memory); }

  FakeTree tree;
  CachedLyricSearchFiles cache{tree, tree};
  RecheckJob job;
  RecheckMemory memory;
};

// The song's own folder: three names, each with three extensions.
constexpr int kSongFolderProbes = 9;

TEST(LyricRecheckCache, NothingChangedSearchesNothingAndEveryChangeIsFound) {
  struct Case {
    const char* name;
    std::function<void(Library&)> before;  // before the first check
    bool remembered;                       // whether the second check skips the search
    std::function<void(Library&)> change;
    std::string expected;
  };
  const auto nothing = [](Library&) {};
  const Case cases[] = {
      {"a file added in a kept subfolder", nothing, true,
       [](Library& l) { l.tree.add(u"C:\\L\\B", u"T.lrc", false); }, "C:\\L\\B\\T.lrc"},
      {"a subfolder added, with the file", nothing, true,
       [](Library& l) {
         l.tree.add(u"C:\\L", u"D", true);
         l.tree.add(u"C:\\L\\D", u"Z - T.txt", false);
       },
       "C:\\L\\D\\Z - T.txt"},
      {"a file in the lyric folder itself", nothing, true,
       [](Library& l) { l.tree.add(u"C:\\L", u"s.kra", false); }, "C:\\L\\s.kra"},
      {"a file next to the song", nothing, true,
       [](Library& l) { l.tree.add(u"C:\\Music", u"T.txt", false); }, "C:\\Music\\T.txt"},
      {"written by the plug-in, forgotten before any report", nothing, true,
       [](Library& l) {
         l.tree.add(u"C:\\L\\C", u"T.lrc", false, false);
         l.cache.forget(u"C:\\L\\C\\T.lrc");
       },
       "C:\\L\\C\\T.lrc"},
      {"the cache cleared", nothing, true,
       [](Library& l) {
         l.tree.add(u"C:\\L\\A", u"T.lrc", false, false);
         l.cache.clear();
       },
       "C:\\L\\A\\T.lrc"},
      {"another song or other settings", nothing, true,
       [](Library& l) { l.job.query.title_safe = u"other"; }, "C:\\L\\A\\other.txt"},
      {"the song file rewritten", nothing, true, [](Library& l) { l.tree.write_time = 2; },
       "(song file changed)"},
      {"a listed file that did not open",
       [](Library& l) {
         l.tree.add(u"C:\\L\\A", u"T.kra", false);
         l.tree.unopenable.insert(u"C:\\L\\A\\T.KRA");
         l.tree.tick(3 * kStampSettleUnits);
         l.cache.fill_job(l.job.query.folders, true)();
       },
       false, [](Library& l) { l.tree.unopenable.clear(); }, "C:\\L\\A\\T.kra"},
  };
  for (const FakeTree::Mode mode :
       {FakeTree::Mode::subtree_watches, FakeTree::Mode::folder_watches,
        FakeTree::Mode::reporting_folder_watches, FakeTree::Mode::stamps}) {
    SCOPED_TRACE(mode_name(mode));
    const bool watched = mode != FakeTree::Mode::stamps;
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      Library library(mode);
      c.before(library);
      EXPECT_EQ(shown(library.check()), "(no report)");
      const bool remembered = watched && c.remembered;
      EXPECT_EQ(library.memory.query.has_value(), remembered);

      const int lists = library.tree.lists();
      const int stamps = library.tree.stamps();
      const int asks = library.tree.asks();
      library.tree.watches_asked = 0;
      EXPECT_EQ(shown(library.check()), "(no report)");
      if (remembered) {
        EXPECT_EQ(library.tree.lists(), lists);
        EXPECT_EQ(library.tree.stamps(), stamps);
        EXPECT_EQ(library.tree.asks() - asks, kSongFolderProbes);
        // Watches that report themselves are not asked while none has.
        const bool polled = mode == FakeTree::Mode::folder_watches;
        EXPECT_EQ(library.tree.watches_asked.load(), polled ? 4 : 0);
      } else {
        EXPECT_GT(library.tree.stamps() + library.tree.asks() - stamps - asks, kSongFolderProbes);
      }

      c.change(library);
      EXPECT_EQ(shown(library.check()), c.expected);
      EXPECT_FALSE(library.memory.query);
    }
  }
}

TEST(LyricRecheckCache, ALyricFolderTheCacheCannotKeepIsSearchedEveryTime) {
  for (const FakeTree::Mode mode :
       {FakeTree::Mode::subtree_watches, FakeTree::Mode::reporting_folder_watches}) {
    SCOPED_TRACE(mode_name(mode));
    // A relative path: the cache hands every question about it to the file system.
    Library library(mode, u"L");
    library.tree.make_root(u"L");
    EXPECT_EQ(shown(library.check()), "(no report)");
    EXPECT_FALSE(library.memory.query);
    library.tree.add(u"L", u"T.txt", false);
    EXPECT_EQ(shown(library.check()), "L\\T.txt");
  }
}

// The re-check remembering through the cache reports what a search of the file system itself
// finds, through random changes of the library, forgets, clears, fills and other songs.
TEST(LyricRecheckCache, ReportsWhatTheUncachedSearchFindsThroughChanges) {
  const std::vector<std::u16string> names = {u"T", u"Z - T", u"s", u"U", u"Z", u"Y"};
  const std::vector<std::u16string> extensions = {u".txt", u".lrc", u".kra", u".doc"};
  for (const FakeTree::Mode mode :
       {FakeTree::Mode::subtree_watches, FakeTree::Mode::folder_watches,
        FakeTree::Mode::reporting_folder_watches, FakeTree::Mode::stamps}) {
    SCOPED_TRACE(mode_name(mode));
    for (uint32_t seed = 1; seed <= 4; ++seed) {
      SCOPED_TRACE(seed);
      std::mt19937 random(seed);
      const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
      Library library(mode);
      library.job.query.folders.push_back(u"C:\\M");
      library.tree.make_root(u"C:\\M");
      std::vector<std::u16string> folders = {u"C:\\Music", u"C:\\L",    u"C:\\L\\A",
                                             u"C:\\L\\B",  u"C:\\L\\C", u"C:\\M"};
      int from_memory = 0;
      for (int round = 0; round < 150; ++round) {
        const int lists = library.tree.lists();
        const std::optional<RecheckReport> report = library.check();
        if (library.tree.write_time != library.job.recorded_write_time) {
          ASSERT_EQ(shown(report), "(song file changed)") << round;
          library.job.recorded_write_time = library.tree.write_time.load();  // loaded again
        } else {
          const std::optional<std::u16string> expected =
              find_lyric_file(library.job.query, library.tree);
          ASSERT_EQ(shown(report), expected ? text(expected) : "(no report)") << round;
          if (library.memory.query && library.tree.lists() == lists) ++from_memory;
          if (expected) {
            // Gone again, so that the checks go on finding nothing for a while.
            const size_t cut = expected->rfind(u'\\');
            library.tree.remove(expected->substr(0, cut), expected->substr(cut + 1));
          }
        }
        // Mostly nothing happens between two checks; now and then the library changes.
        switch (random() % 12) {
          case 0: {
            const std::u16string folder = pick(folders);
            const std::u16string name = pick(names) + pick(extensions);
            if (!library.tree.can_open(folder + u"\\" + name))
              library.tree.add(folder, name, false);
            break;
          }
          case 1: {
            const std::u16string parent = pick(folders);
            if (parent == u"C:\\Music") break;
            const std::u16string name = pick(names);
            bool there = false;
            for (const auto& e : library.tree.entries_of(parent)) {
              there = there || test::upper(e.name) == test::upper(name);
            }
            if (there) break;
            library.tree.add(parent, name, true);
            folders.push_back(parent + u"\\" + name);
            break;
          }
          case 2: {
            const std::u16string folder = pick(folders);
            const auto entries = library.tree.entries_of(folder);
            if (entries.empty()) break;
            const auto& entry = pick(entries);
            if (entry.folder) break;  // folders stay, so the list above stays right
            library.tree.remove(folder, entry.name);
            break;
          }
          case 3: {
            // Written by the plug-in: unnoticed until it says so.
            const std::u16string folder = pick(folders);
            const std::u16string name = pick(names) + pick(extensions);
            if (library.tree.can_open(folder + u"\\" + name)) break;
            library.tree.add(folder, name, false, false);
            library.cache.forget(folder + u"\\" + name);
            break;
          }
          case 4:
            library.cache.fill_job(library.job.query.folders, true)();
            break;
          case 5:
            if (random() % 4 == 0) library.cache.clear();
            break;
          case 6:
            library.job.query.title_safe = pick(names);
            library.job.query.find_sdir = random() % 4 != 0;
            break;
          case 7:
            if (random() % 4 == 0) library.tree.write_time = library.tree.write_time + 1;
            break;
          case 8:
            library.tree.tick(random() % 2 ? 1 : 3 * kStampSettleUnits);
            break;
          default:
            break;
        }
      }
      // Otherwise no check above proved anything about the remembered search.
      if (mode != FakeTree::Mode::stamps) {
        EXPECT_GT(from_memory, 10);
      } else {
        EXPECT_EQ(from_memory, 0);
      }
    }
  }
}

TEST(LyricRecheckCache, TheBackgroundChecksRememberFromOneToTheNext) {
  Library library(FakeTree::Mode::reporting_folder_watches);
  LyricRecheck recheck(
      library.cache, [] { return 0u; }, &start_worker_thread);
  uint32_t now = 0;
  const auto check = [&] {
    now += kRecheckIntervalMs + 1;
    EXPECT_TRUE(recheck.start_if_due(now, library.job));
    recheck.wait();
    return recheck.take_report();
  };
  EXPECT_FALSE(check());
  const int lists = library.tree.lists();
  const int asks = library.tree.asks();
  EXPECT_FALSE(check());
  EXPECT_EQ(library.tree.lists(), lists);
  EXPECT_EQ(library.tree.asks() - asks, kSongFolderProbes);
  library.tree.add(u"C:\\L\\C", u"s.txt", false);
  const std::optional<RecheckReport> report = check();
  EXPECT_EQ(shown(report), "C:\\L\\C\\s.txt");
}

}  // namespace
}  // namespace sabla
