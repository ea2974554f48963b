#include "sources/lyric_listing_cache_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "lyric_files_win32_util.h"
#include "sources/lyric_recheck.h"
#include "sources/lyric_search.h"
#include "sources/lyric_search_files_win32.h"
#include "state/worker_thread.h"
#include "win32/settings/temp_folder.h"

namespace sabla {
namespace {

using test::make_file;
using test::make_folder;
using test::TempFolder;
using test::u16;
using test::wide;

template <typename T>
const T& pick(std::mt19937& random, const std::vector<T>& from) {
  return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
}

// Names the songs are searched by, in other cases than the files carry them.
struct Words {
  std::vector<std::wstring> artists = {L"Alpha", L"ALPHA", L"beta band", L"Gamma"};
  std::vector<std::wstring> titles = {L"One", L"one", L"Two Step", L"THREE"};
  std::vector<std::wstring> albums = {L"First", L"second"};
  std::vector<std::wstring> extensions = {L".kra", L".lrc", L".txt", L".LRC", L".Txt",
                                          L".mp3", L".doc", L""};
};

// A generated library of lyric folders on disk, with every folder it holds.
class Library {
 public:
  Library(const TempFolder& temp, bool japanese) {
    if (japanese) {
      words_.artists.push_back(L"歌手");
      words_.titles.push_back(L"夜の歌");
      words_.albums.push_back(L"アルバム");
    }
    for (const wchar_t* name : {L"Lyrics", L"More"}) {
      roots_.push_back(temp / name);
      make_folder(roots_.back());
    }
  }

  const Words& words() const { return words_; }
  const std::vector<std::wstring>& roots() const { return roots_; }

  std::wstring random_name(std::mt19937& random) const {
    switch (random() % 4) {
      case 0:
        return pick(random, words_.titles);
      case 1:
        return pick(random, words_.artists) + L" - " + pick(random, words_.titles);
      case 2:
        return L"song" + std::to_wstring(random() % 4);
      default:
        return L"other " + std::to_wstring(random() % 50);
    }
  }

  void add_random(std::mt19937& random) {
    const std::wstring parent = pick(random, folders());
    if (random() % 3 == 0) {
      const std::wstring name = random() % 2 ? pick(random, words_.artists)
                                             : (random() % 2 ? pick(random, words_.albums)
                                                             : L"sub " + std::to_wstring(random() % 9));
      make_folder(parent + L"\\" + name);
    } else {
      make_file(parent + L"\\" + random_name(random) + pick(random, words_.extensions));
    }
  }

  void mutate(std::mt19937& random) {
    const std::wstring parent = pick(random, folders());
    const std::vector<std::wstring> entries = TempFolder::list(parent);
    const int kind = static_cast<int>(random() % 3);
    if (kind == 0 || entries.empty()) return add_random(random);
    const std::wstring path = parent + L"\\" + pick(random, entries);
    const bool folder = GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY;
    if (kind == 1) {
      if (folder) {
        remove_tree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } else {
      const std::wstring to = parent + L"\\" +
                              (folder ? pick(random, words_.artists) + L" x"
                                      : random_name(random) + pick(random, words_.extensions));
      MoveFileW(path.c_str(), to.c_str());
    }
  }

  // Every folder of the library, the lyric folders first.
  std::vector<std::wstring> folders() const {
    std::vector<std::wstring> all = roots_;
    for (size_t i = 0; i < all.size(); ++i) {
      for (const std::wstring& name : TempFolder::list(all[i])) {
        const std::wstring path = all[i] + L"\\" + name;
        if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) all.push_back(path);
      }
    }
    return all;
  }

  // Every folder's last-write time put back to an old moment, different each time: what was
  // listed then is trusted from now on only while its time stays as it was.
  void age_folders(int round) const {
    FILETIME old{};
    SYSTEMTIME when{2020, 1, 0, 1, 0, 0, static_cast<WORD>(round % 60), 0};
    SystemTimeToFileTime(&when, &old);
    for (const std::wstring& folder : folders()) {
      const HANDLE handle = CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
      if (handle == INVALID_HANDLE_VALUE) continue;
      SetFileTime(handle, nullptr, nullptr, &old);
      CloseHandle(handle);
    }
  }

  LyricSearchQuery random_query(std::mt19937& random) const {
    LyricSearchQuery query;
    query.title_safe = u16(pick(random, words_.titles));
    query.artist_safe = u16(pick(random, words_.artists));
    query.album_safe = u16(pick(random, words_.albums));
    query.file_name = u"song" + u16(std::to_wstring(random() % 4)) + u".mp3";
    for (const std::wstring& root : roots_) query.folders.push_back(u16(root));
    query.find_sdir = random() % 4 != 0;
    return query;
  }

 private:
  static void remove_tree(const std::wstring& folder) {
    for (const std::wstring& name : TempFolder::list(folder)) {
      const std::wstring path = folder + L"\\" + name;
      if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    }
    RemoveDirectoryW(folder.c_str());
  }

  Words words_;
  std::vector<std::wstring> roots_;
};

std::string shown(const std::optional<std::u16string>& path) {
  if (!path) return "(none)";
  std::string out;
  for (const char16_t c : *path) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

TEST(LyricListingCacheWin32, FindsWhatTheFileSystemFindsThroughChangesAtEveryDepth) {
  const TempFolder temp;
  const bool japanese = test::non_ascii_names_work(temp);
  const SystemLyricSearchFiles system;
  const SystemFolderListingSource source;
  for (const uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    const TempFolder place;
    std::mt19937 random(seed);
    Library library(place, japanese);
    for (int i = 0; i < 150; ++i) library.add_random(random);
    library.age_folders(0);
    const CachedLyricSearchFiles cache(system, source);
    for (int round = 1; round <= 20; ++round) {
      for (int search = 0; search < 4; ++search) {
        const LyricSearchQuery query = library.random_query(random);
        const std::optional<std::u16string> expected = find_lyric_file(query, system);
        ASSERT_EQ(shown(find_lyric_file(query, cache)), shown(expected))
            << "round " << round << " search " << search;
      }
      // Otherwise every search above listed afresh and proved nothing about the cache.
      ASSERT_GT(cache.cached_folders(), 0u);
      // Now and then the background fill comes between two songs, watching the folders one by
      // one where the system cannot watch a subtree.
      if (random() % 3 == 0) {
        std::vector<std::u16string> roots;
        for (const std::wstring& root : library.roots()) roots.push_back(u16(root));
        cache.fill_job(roots, true)();
        if (!subtree_changes_reported()) {
          ASSERT_GT(cache.watched_folders(), 0u);
        }
      }
      const int changes = 1 + static_cast<int>(random() % 3);
      for (int i = 0; i < changes; ++i) library.mutate(random);
      // Half the time the changed folders keep a time the cache has not seen and count as
      // settled; otherwise they carry the present moment, too recent to be trusted.
      if (random() % 2) library.age_folders(round);
    }
  }
}

TEST(LyricListingCacheWin32, NamesFoldAsTheFileSystemComparesThem) {
  using Upcase = WCHAR(WINAPI*)(WCHAR);
  const auto upcase = reinterpret_cast<Upcase>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar")));
  ASSERT_NE(upcase, nullptr);
  const SystemFolderListingSource source;
  std::u16string every;
  for (uint32_t c = 1; c <= 0xFFFF; ++c) every += static_cast<char16_t>(c);
  const std::u16string folded = source.fold(every);
  ASSERT_EQ(folded.size(), every.size());
  for (size_t i = 0; i < every.size(); ++i) {
    ASSERT_EQ(static_cast<WCHAR>(folded[i]), upcase(static_cast<WCHAR>(every[i])))
        << "U+" << std::hex << static_cast<int>(every[i]);
  }
  EXPECT_EQ(source.fold(u"Artist - ｓｏｎｇ é.txt"), u"ARTIST - ＳＯＮＧ É.TXT");
}

TEST(LyricListingCacheWin32, LyricFoldersAskedTogetherAreToldWhatEachIsToldAlone) {
  const TempFolder temp;
  const std::wstring lyrics = temp / L"Lyrics";
  make_folder(lyrics);
  std::wstring lower = lyrics;
  lower[0] = static_cast<wchar_t>(towlower(lower[0]));
  const std::vector<std::u16string> roots = {u16(lyrics), u16(temp / L"More"), u16(lower),
                                             u"Q:\\Lyrics", u16(lyrics)};
  const SystemFolderListingSource source;
  const std::vector<FolderListingSource::RootChanges> together = source.root_changes(roots);
  ASSERT_EQ(together.size(), roots.size());
  for (size_t i = 0; i < roots.size(); ++i) {
    SCOPED_TRACE(shown(roots[i]));
    const bool watched = source.watch(roots[i]) != nullptr;
    EXPECT_EQ(together[i].watch != nullptr, watched);
    EXPECT_EQ(together[i].stamps, !watched && source.stamps_track_changes(roots[i]));
  }
  // A lyric folder on the local drive is cached one way or the other.
  EXPECT_TRUE(together[0].watch || together[0].stamps);
}

TEST(LyricListingCacheWin32, AFileThatIsListedButCannotBeOpenedIsNotFound) {
  const TempFolder temp;
  const SystemLyricSearchFiles system;
  const SystemFolderListingSource source;
  const CachedLyricSearchFiles cache(system, source);
  const std::wstring root = temp / L"Lyrics";
  make_folder(root);
  const std::wstring locked = root + L"\\Title.kra";
  make_file(locked);
  make_file(root + L"\\Title.lrc");
  LyricSearchQuery query;
  query.title_safe = u"Title";
  query.file_name = u"x.mp3";
  query.folders = {u16(root)};
  EXPECT_EQ(shown(find_lyric_file(query, cache)), shown(u16(locked)));
  // Held open by someone who shares nothing: listed, but it does not open.
  const HANDLE held = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(shown(find_lyric_file(query, cache)), shown(u16(root + L"\\Title.lrc")));
  CloseHandle(held);
}

TEST(LyricListingCacheWin32, TheRecheckAndTheHostThreadSearchTogether) {
  const TempFolder temp;
  std::mt19937 random(5);
  Library library(temp, false);
  for (int i = 0; i < 100; ++i) library.add_random(random);
  const SystemLyricSearchFiles system;
  const SystemFolderListingSource source;
  CachedLyricSearchFiles cache(system, source);
  const LyricSearchQuery query = library.random_query(random);

  auto clock_ms = std::make_shared<std::atomic<uint32_t>>(0);
  LyricRecheck recheck(cache, [clock_ms] { return clock_ms->load(); }, &start_worker_thread);
  std::atomic<bool> done{false};
  std::thread filler([&] {
    while (!done.load()) {
      std::vector<std::u16string> folders(query.folders.begin(), query.folders.end());
      cache.fill_job(folders, true)();
    }
  });
  uint32_t now = 0;
  for (int i = 0; i < 60; ++i) {
    now += kRecheckIntervalMs + 1;
    clock_ms->store(now);
    recheck.start_if_due(now, [&] { return RecheckJob{query, std::nullopt}; });
    find_lyric_file(query, cache);
    if (i % 7 == 0) library.mutate(random);
    if (i % 11 == 0) cache.clear();
    recheck.wait();
  }
  done.store(true);
  filler.join();
  recheck.wait();
  // Everything changed settles: the answers agree.
  library.age_folders(99);
  EXPECT_EQ(shown(find_lyric_file(query, cache)), shown(find_lyric_file(query, system)));
}

TEST(LyricListingCacheWin32, ARememberedRecheckFindsAFileMadeInAWatchedSubfolder) {
  const TempFolder temp;
  const std::wstring root = temp / L"Lyrics";
  const std::wstring music = temp / L"Music";
  make_folder(root);
  make_folder(music);
  for (int i = 0; i < 5; ++i) {
    const std::wstring artist = root + L"\\Artist " + std::to_wstring(i);
    make_folder(artist);
    make_file(artist + L"\\Other.txt");
  }
  make_file(music + L"\\song.mp3");
  const SystemLyricSearchFiles system;
  const SystemFolderListingSource source;
  CachedLyricSearchFiles cache(system, source);
  RecheckJob job;
  job.query.title_safe = u"Title";
  job.query.artist_safe = u"Nobody";
  job.query.file_name = u"song.mp3";
  job.query.file_path = u16(music + L"\\song.mp3");
  job.query.folders = {u16(root)};
  job.query.find_sdir = true;
  job.recorded_write_time = system.last_write_time(job.query.file_path);
  // As the plug-in fills it once shown: the lyric folder watched whole where the system reports
  // a subtree's changes, otherwise each folder watched on its own.
  cache.fill_job(job.query.folders, true)();

  RecheckMemory memory;
  EXPECT_FALSE(recheck_lyrics(job, cache, memory));
  ASSERT_TRUE(memory.query);
  EXPECT_FALSE(recheck_lyrics(job, cache, memory));
  EXPECT_TRUE(memory.query);  // still remembered: nothing changed

  const std::wstring made = root + L"\\Artist 3\\Title.lrc";
  ASSERT_TRUE(make_file(made));
  // The change is told by the system's own threads, which may take a moment; the plug-in's
  // next check comes two seconds later.
  std::optional<RecheckReport> report;
  for (int tries = 0; tries < 200 && !report; ++tries) {
    report = recheck_lyrics(job, cache, memory);
    if (!report) Sleep(10);
  }
  ASSERT_TRUE(report) << "uncached search: " << shown(find_lyric_file(job.query, system))
                      << ", cached search: " << shown(find_lyric_file(job.query, cache))
                      << ", changes told: " << source.changes_seen();
  EXPECT_EQ(shown(report->lyrics_path), shown(u16(made)));
  EXPECT_FALSE(memory.query);
}

}  // namespace
}  // namespace sabla
