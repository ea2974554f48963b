#include "sources/lyric_recheck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

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

TEST(LyricRecheck, StartsAtMostOnceEveryTwoSecondsAndNeverTwiceAtOnce) {
  GatedLyricFiles files;
  LyricRecheck recheck(files);
  const RecheckJob job =
      make_recheck_job(song(u"", u"T").names(), lyric_folder(u"R"), std::nullopt);

  ASSERT_TRUE(recheck.start_if_due(5000, job));
  files.wait_until_entered();
  EXPECT_TRUE(recheck.running());
  // Still running: no second check, however long ago the first started.
  EXPECT_FALSE(recheck.start_if_due(9000, job));
  files.open();
  wait_until_idle(recheck);

  EXPECT_FALSE(recheck.start_if_due(7000, job));  // exactly 2000 ms: not yet
  EXPECT_TRUE(recheck.start_if_due(7001, job));
  wait_until_idle(recheck);
  EXPECT_TRUE(recheck.start_if_due(7001 + kRecheckIntervalMs + 1, job));
  wait_until_idle(recheck);
  // The millisecond clock wraps around after 49.7 days.
  LyricRecheck wrapping(files);
  ASSERT_TRUE(wrapping.start_if_due(0xFFFFFF00u, job));
  wrapping.wait();
  EXPECT_FALSE(wrapping.start_if_due(0x00000100u, job));  // 512 ms later
  EXPECT_TRUE(wrapping.start_if_due(0x00000800u, job));   // 2304 ms later
  EXPECT_FALSE(recheck.take_report());                    // nothing was ever found
}

TEST(LyricRecheck, TheHostThreadMayRewriteTheSongWhileACheckRuns) {
  GatedLyricFiles files;
  files.files = {u"R\\old title.txt"};
  test::TestSong current = song(u"C:\\M\\old.mp3", u"old title");
  Settings settings = lyric_folder(u"R");
  LyricRecheck recheck(files);
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

TEST(LyricRecheck, DestroyingWaitsForTheRunningCheck) {
  GatedLyricFiles files;
  auto recheck = std::make_unique<LyricRecheck>(files);
  ASSERT_TRUE(recheck->start_if_due(
      3000, make_recheck_job(song(u"", u"T").names(), lyric_folder(u"R"), std::nullopt)));
  files.wait_until_entered();
  std::thread opener([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    files.open();
  });
  recheck.reset();  // returns only once the worker is done with `files`
  opener.join();
  EXPECT_FALSE(files.probes().empty());
}

}  // namespace
}  // namespace sabla
