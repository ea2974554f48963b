#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "sources/lyric_search.h"
#include "sources/lyric_search_files.h"
#include "sources/lyric_search_names.h"

namespace sabla {

// Start rule of the background check: at most one start in this many milliseconds.
inline constexpr uint32_t kRecheckIntervalMs = 2000;

// What one check works on. It is a copy: the host thread keeps rewriting the song record, the
// recorded time and the settings while the check runs, so the worker never reads them.
struct RecheckJob {
  LyricSearchQuery query;
  // The song file's last-write time when its lyrics were last loaded; nothing when it could not
  // be read then.
  std::optional<uint64_t> recorded_write_time;
};

RecheckJob make_recheck_job(const SongNames& song, const Settings& settings,
                            std::optional<uint64_t> recorded_write_time,
                            const UnknownNames& unknown = {});

// A change the check noticed, for the song it was started for.
struct RecheckReport {
  std::u16string song_file_path;              // the song the check looked for
  std::optional<std::u16string> lyrics_path;  // the file found; nothing when the song file changed
};

// The background look for lyrics while the panel shows none.
//
// Threads: the host thread starts checks and polls for reports; one worker thread runs each
// check. The worker only ever sees its own RecheckJob, copied on the host thread before the
// worker starts, and the file system seam, which is stateless. Its only outputs are the running
// mark (an atomic flag) and the report, which it stores under a mutex before clearing the mark.
// The host thread takes the report on its next poll and applies it to the song record itself
// (apply_recheck_report), after checking that the record still describes the same song; so no
// field of the song record or the settings is ever shared between threads.
class LyricRecheck {
 public:
  explicit LyricRecheck(const LyricSearchFiles& files) : files_(files) {}
  // Waits for a running check.
  ~LyricRecheck();
  LyricRecheck(const LyricRecheck&) = delete;
  LyricRecheck& operator=(const LyricRecheck&) = delete;

  // Host thread: starts a check of `job` unless one is running or the previous start was no
  // more than kRecheckIntervalMs before `now_ms` (a millisecond clock that may wrap). True when a
  // check was started; its start time is then noted.
  bool start_if_due(uint32_t now_ms, RecheckJob job);

  // Whether a check is running.
  bool running() const { return running_.load(std::memory_order_acquire); }

  // Host thread: the report of a finished check that noticed a change, once; nothing otherwise.
  std::optional<RecheckReport> take_report();

  // Host thread: waits until a running check has finished. The owner calls it before the
  // library is unloaded, where waiting for a thread could otherwise deadlock.
  void wait();

 private:
  void run(const RecheckJob& job) noexcept;

  const LyricSearchFiles& files_;
  std::thread worker_;
  std::atomic<bool> running_{false};
  std::mutex report_mutex_;
  std::optional<RecheckReport> report_;
  std::optional<uint32_t> last_start_ms_;
};

// One check, run where it is called: a report when the song file's last-write time differs from
// the recorded one, or when a lyric file is now found.
std::optional<RecheckReport> recheck_lyrics(const RecheckJob& job, const LyricSearchFiles& files);

// Host thread: takes `report` into the current song's record when it is about the same song
// file (`file_path`), setting its `lyrics_path` to the file found. True when the song-change
// pipeline should run again (`reload_lyrics_request`); a report about a song that has meanwhile
// been replaced is dropped, since the new song's pipeline has already looked.
bool apply_recheck_report(const RecheckReport& report, std::u16string_view file_path,
                          std::u16string& lyrics_path);

}  // namespace sabla
