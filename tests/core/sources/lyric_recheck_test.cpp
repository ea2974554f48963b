#include "sources/lyric_recheck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <memory>
#include <thread>
#include <vector>

#include "lyric_search_fakes.h"
#include "lyric_search_test_song.h"

namespace sabla {
namespace {

using test::FakeLyricFiles;

// Holds every search inside `can_open` until the test opens the gate.
class GatedLyricFiles final : public FakeLyricFiles {
 public:
  bool can_open(std::u16string_view path) const override {
    std::unique_lock lock(gate_mutex_);
    entered_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
    lock.unlock();
    return FakeLyricFiles::can_open(path);
  }
  void wait_until_entered() const {
    std::unique_lock lock(gate_mutex_);
    changed_.wait(lock, [this] { return entered_; });
  }
  void open() {
    const std::lock_guard lock(gate_mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  mutable std::mutex gate_mutex_;
  mutable std::condition_variable changed_;
  mutable bool entered_ = false;
  bool open_ = false;
};

test::TestSong song(std::u16string path, std::u16string title) {
  return test::make_song(std::move(path), std::move(title), u"", u"");
}

Settings lyric_folder(std::u16string folder) {
  Settings settings;
  settings.path[0] = std::move(folder);
  return settings;
}

void wait_until_idle(const LyricRecheck& recheck) {
  while (recheck.running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(LyricRecheck, ReportsAChangedSongFileOrANewLyricFile) {
  FakeLyricFiles files;
  const test::TestSong s = song(u"C:\\M\\a.mp3", u"T");
  files.times[u"C:\\M\\a.mp3"] = 100;

  // Same time, nothing found: no report.
  EXPECT_FALSE(recheck_lyrics(make_recheck_job(s.names(), lyric_folder(u"R"), 100), files));

  // The song file was rewritten (say, by the player storing lyrics in it): a report, without
  // searching.
  files.clear_probes();
  const auto changed = recheck_lyrics(make_recheck_job(s.names(), lyric_folder(u"R"), 99), files);
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->song_file_path, u"C:\\M\\a.mp3");
  EXPECT_FALSE(changed->lyrics_path);
  EXPECT_TRUE(files.probes().empty());
  // No time recorded at loading, but now there is one: also a change.
  EXPECT_TRUE(recheck_lyrics(make_recheck_job(s.names(), lyric_folder(u"R"), std::nullopt), files));

  // A lyric file appeared.
  files.files = {u"R\\T.lrc"};
  const auto found = recheck_lyrics(make_recheck_job(s.names(), lyric_folder(u"R"), 100), files);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->lyrics_path, std::optional<std::u16string>(u"R\\T.lrc"));

  // A song file that cannot be opened has no time to compare, but the search still runs.
  files.times.clear();
  EXPECT_TRUE(recheck_lyrics(make_recheck_job(s.names(), lyric_folder(u"R"), 100), files));
}

TEST(LyricRecheck, NeverTwiceAtOnceAndTwoSecondsFromTheEndOfThePreviousCheck) {
  struct Call {
    uint32_t now_ms;
    bool starts;
  };
  struct Case {
    const char* name;
    uint32_t start_ms;
    uint32_t end_ms;  // the clock as the check ends
    std::vector<Call> calls;
  };
  const Case cases[] = {
      // Counting from the start would have allowed the next check at once, at 9000.
      {"a slow check", 5000, 9000, {{9000, false}, {11000, false}, {11001, true}}},
      {"a quick check", 30000, 30010, {{32010, false}, {32011, true}}},
      // The worker read the clock after the idle call did: the end counts as that call.
      {"an end read late", 19000, 20000, {{19990, false}, {21990, false}, {21991, true}}},
      // The millisecond clock wraps around after 49.7 days.
      {"across the wrap", 0xFFFFFE00u, 0xFFFFFF00u, {{0x00000100u, false}, {0x00000800u, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GatedLyricFiles files;
    auto clock_ms = std::make_shared<std::atomic<uint32_t>>(c.start_ms);
    LyricRecheck recheck(files, [clock_ms] { return clock_ms->load(); }, &start_worker_thread);
    const RecheckJob job =
        make_recheck_job(song(u"", u"T").names(), lyric_folder(u"R"), std::nullopt);
    ASSERT_TRUE(recheck.start_if_due(c.start_ms, job));
    files.wait_until_entered();
    EXPECT_TRUE(recheck.running());
    // The job copies the song record: made only for a check that starts.
    int jobs_made = 0;
    const auto make_job = [&] {
      ++jobs_made;
      return job;
    };
    // Still running: no second check, however long ago the first started.
    EXPECT_FALSE(recheck.start_if_due(c.start_ms + 10 * kRecheckIntervalMs, make_job));
    EXPECT_EQ(jobs_made, 0);
    clock_ms->store(c.end_ms);
    files.open();
    recheck.wait();
    for (const Call& call : c.calls) {
      jobs_made = 0;
      EXPECT_EQ(recheck.start_if_due(call.now_ms, make_job), call.starts) << call.now_ms;
      EXPECT_EQ(jobs_made, call.starts ? 1 : 0) << call.now_ms;
    }
    recheck.wait();
    EXPECT_FALSE(recheck.take_report());  // nothing was ever found
  }
}

TEST(LyricRecheck, TheHostThreadMayRewriteTheSongWhileACheckRuns) {
  GatedLyricFiles files;
  files.files = {u"R\\old title.txt"};
  test::TestSong current = song(u"C:\\M\\old.mp3", u"old title");
  Settings settings = lyric_folder(u"R");
  LyricRecheck recheck(files, [] { return 10000u; }, &start_worker_thread);
  ASSERT_TRUE(
      recheck.start_if_due(10000, make_recheck_job(current.names(), settings, std::nullopt)));
  files.wait_until_entered();

  // While the worker is inside its search the track changes: the record and the folders are
  // rewritten (and their buffers freed) on this thread.
  current = song(u"C:\\M\\new.mp3", std::u16string(400, u'n'));
  settings.path[0] = std::u16string(300, u'x');
  settings.path[1] = std::u16string(u"S");
  files.open();
  wait_until_idle(recheck);

  // The worker searched with the names it copied at its start.
  const std::optional<RecheckReport> report = recheck.take_report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->song_file_path, u"C:\\M\\old.mp3");
  EXPECT_EQ(report->lyrics_path, std::optional<std::u16string>(u"R\\old title.txt"));
  EXPECT_FALSE(recheck.take_report());  // taken once

  // The report belongs to the song that has gone: it is dropped, nothing is reloaded.
  EXPECT_FALSE(apply_recheck_report(*report, current.file_path, current.lyrics_path));
  EXPECT_TRUE(current.lyrics_path.empty());

  // For the same song it sets the path and asks for the pipeline to run again.
  test::TestSong same = song(u"C:\\M\\old.mp3", u"old title");
  EXPECT_TRUE(apply_recheck_report(*report, same.file_path, same.lyrics_path));
  EXPECT_EQ(same.lyrics_path, u"R\\old title.txt");
}

TEST(LyricRecheck, DroppingItLeavesARunningCheckToEndAlone) {
  GatedLyricFiles files;  // outlives the check, as the library's static one does
  auto ended = std::make_shared<std::atomic<bool>>(false);
  auto recheck = std::make_unique<LyricRecheck>(
      files,
      [ended] {
        ended->store(true);
        return 0u;
      },
      &start_worker_thread);
  ASSERT_TRUE(recheck->start_if_due(
      3000, make_recheck_job(song(u"", u"T").names(), lyric_folder(u"R"), std::nullopt)));
  files.wait_until_entered();
  recheck.reset();  // returns while the check is still held inside the search
  EXPECT_FALSE(ended->load());
  files.open();
  // The check ends on its own, writing only what it shares (the sanitizers watch for more).
  for (int i = 0; i < 5000 && !ended->load(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(ended->load());
  EXPECT_FALSE(files.probes().empty());
}

}  // namespace
}  // namespace sabla
