#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "sources/lyric_search.h"
#include "sources/lyric_search_files.h"
#include "sources/lyric_search_names.h"
#include "state/worker_thread.h"

namespace sabla {

// Spacing of the background checks: a check starts only this many milliseconds after the
// previous one ended.
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

// What the last check found nothing with: its query, and the mark the file system gave that
// search (LyricSearchFiles::search_mark).
struct RecheckMemory {
  std::optional<LyricSearchQuery> query;
  uint64_t mark = 0;
};

// The millisecond clock the host thread passes to start_if_due (it may wrap). The check's thread
// reads it once, as it ends, so it must be safe to call from any thread.
using RecheckClock = std::function<uint32_t()>;

// The background look for lyrics while the panel shows none.
//
// Threads: the host thread starts checks and polls for reports; one worker thread runs each
// check. The worker only ever sees its own RecheckJob, copied on the host thread before the
// worker starts, the file system seam, which is stateless, and the clock. Its only outputs are
// the end time and the running mark (atomics) and the report, which it stores under a mutex
// before clearing the mark, and what it found nothing with, which the next check reads after
// the mark was cleared; all of it lives in a block the worker shares, so the object may go
// while a check runs. The host thread takes the report on its next poll and applies it to the
// song record itself (apply_recheck_report), after checking that the record still describes the
// same song; so no field of the song record or the settings is ever shared between threads.
class LyricRecheck {
 public:
  // `files` must outlive every check started (the DLL's is static; tests wait()).
  LyricRecheck(const LyricSearchFiles& files, RecheckClock clock, WorkerStarter start);
  // Never waits (see WorkerThread): a running check is left to end on its own.
  ~LyricRecheck() = default;
  LyricRecheck(const LyricRecheck&) = delete;
  LyricRecheck& operator=(const LyricRecheck&) = delete;

  // Host thread: starts a check of `job` unless one is running or the previous check ended no
  // more than kRecheckIntervalMs before `now_ms`. The spacing counts from the end, so a search
  // that takes long (a slow or network drive) still leaves the disk alone for two seconds. True
  // when a check was started.
  bool start_if_due(uint32_t now_ms, RecheckJob job);
  // The same, with the job made by `make_job` only when a check does start: the job copies the
  // song record and the settings, which most idle calls have no use for.
  bool start_if_due(uint32_t now_ms, const std::function<RecheckJob()>& make_job);

  // Whether a check is running.
  bool running() const;

  // Host thread: the report of a finished check that noticed a change, once; nothing otherwise.
  std::optional<RecheckReport> take_report();

  // Host thread: waits at most `timeout_ms` (kWaitForever: no limit) for a running check to
  // end; true when none runs.
  bool wait(uint32_t timeout_ms = kWaitForever);

 private:
  struct Shared {
    std::atomic<bool> running{false};
    std::atomic<uint32_t> end_ms{0};
    std::mutex report_mutex;
    std::optional<RecheckReport> report;
    // Only ever touched by the check's worker; checks never overlap.
    RecheckMemory memory;
  };

  const LyricSearchFiles& files_;
  RecheckClock clock_;
  WorkerStarter start_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  std::unique_ptr<WorkerThread> worker_;
  bool due(uint32_t now_ms);

  bool started_once_ = false;
  // The previous check's end on the host's clock, once the host thread has seen it.
  std::optional<uint32_t> last_end_ms_;
};

// One check, run where it is called: a report when the song file's last-write time differs from
// the recorded one, or when a lyric file is now found.
std::optional<RecheckReport> recheck_lyrics(const RecheckJob& job, const LyricSearchFiles& files);

// The same check, which skips the search of the lyric folders when `memory` holds the same query
// and the file system tells that nothing those folders answered has changed since. The song's
// own folder, which no listing covers, is asked each time. `memory` is updated for the next check.
std::optional<RecheckReport> recheck_lyrics(const RecheckJob& job, const LyricSearchFiles& files,
                                            RecheckMemory& memory);

// Host thread: takes `report` into the current song's record when it is about the same song
// file (`file_path`), setting its `lyrics_path` to the file found. True when the song-change
// pipeline should run again (`reload_lyrics_request`); a report about a song that has meanwhile
// been replaced is dropped, since the new song's pipeline has already looked.
bool apply_recheck_report(const RecheckReport& report, std::u16string_view file_path,
                          std::u16string& lyrics_path);

}  // namespace sabla
