#include "sources/lyric_recheck.h"

#include <utility>

namespace sabla {

RecheckJob make_recheck_job(const SongNames& song, const Settings& settings,
                            std::optional<uint64_t> recorded_write_time,
                            const UnknownNames& unknown) {
  return RecheckJob{make_lyric_search_query(song, settings, unknown), recorded_write_time};
}

std::optional<RecheckReport> recheck_lyrics(const RecheckJob& job, const LyricSearchFiles& files) {
  RecheckMemory none;
  return recheck_lyrics(job, files, none);
}

std::optional<RecheckReport> recheck_lyrics(const RecheckJob& job, const LyricSearchFiles& files,
                                            RecheckMemory& memory) {
  const std::optional<uint64_t> written = files.last_write_time(job.query.file_path);
  // A song file that cannot be opened has no time to compare; the search still runs.
  if (written && written != job.recorded_write_time) {
    memory = {};
    return RecheckReport{job.query.file_path, std::nullopt};
  }
  const std::vector<std::u16string>& folders = job.query.folders;
  const bool remembered = memory.query && *memory.query == job.query;
  // Either call starts the search, so that what the song's folder is asked below is answered
  // as of now even where that folder lies inside a lyric folder.
  const bool unchanged = remembered && files.begin_search_unchanged(folders, memory.mark);
  if (!remembered) files.begin_search(folders);
  std::optional<std::u16string> found = find_in_song_folder(job.query, files);
  if (!found && unchanged) return std::nullopt;
  memory = {};
  if (!found) {
    // Started again, so that the mark speaks for the lyric folders only: the song's folder was
    // asked above, first, as the full search asks it, and no listing covers it.
    files.begin_search(folders);
    found = find_in_lyric_folders(job.query, files);
    if (!found) {
      if (const std::optional<uint64_t> mark = files.search_mark()) {
        memory.query = job.query;
        memory.mark = *mark;
      }
      return std::nullopt;
    }
  }
  return RecheckReport{job.query.file_path, std::move(found)};
}

bool apply_recheck_report(const RecheckReport& report, std::u16string_view file_path,
                          std::u16string& lyrics_path) {
  if (report.song_file_path != file_path) return false;
  if (report.lyrics_path) lyrics_path = *report.lyrics_path;
  return true;
}

LyricRecheck::LyricRecheck(const LyricSearchFiles& files, RecheckClock clock,
                           WorkerStarter start)
    : files_(files), clock_(std::move(clock)), start_(start) {}

bool LyricRecheck::running() const { return shared_->running.load(std::memory_order_acquire); }

bool LyricRecheck::start_if_due(uint32_t now_ms, RecheckJob job) {
  return start_if_due(now_ms, [&job] { return std::move(job); });
}

bool LyricRecheck::due(uint32_t now_ms) {
  if (running()) return false;
  if (started_once_ && !last_end_ms_) {
    const uint32_t end = shared_->end_ms.load(std::memory_order_relaxed);
    // The worker's clock reading may come after this idle call's; an end "ahead" of now (or
    // more than 24 days behind it, which the wrap cannot tell apart) counts as now, which only
    // ever makes the pause longer.
    last_end_ms_ = static_cast<int32_t>(now_ms - end) < 0 ? now_ms : end;
  }
  if (last_end_ms_ && now_ms - *last_end_ms_ <= kRecheckIntervalMs) return false;
  return start_ && clock_;
}

bool LyricRecheck::start_if_due(uint32_t now_ms, const std::function<RecheckJob()>& make_job) {
  if (!due(now_ms) || !make_job) return false;
  RecheckJob job;
  try {
    job = make_job();
  } catch (...) {
    return false;
  }
  // Marked before the thread exists, so a second call cannot slip in before the worker runs.
  shared_->running.store(true, std::memory_order_release);
  try {
    // The previous worker has ended its check; its thread is left to return on its own.
    worker_ = start_([shared = shared_, &files = files_, clock = clock_,
                      job = std::move(job)]() noexcept {
      try {
        std::optional<RecheckReport> report = recheck_lyrics(job, files, shared->memory);
        if (report) {
          const std::lock_guard lock(shared->report_mutex);
          shared->report = std::move(report);
        }
      } catch (...) {
        // A failed check reports nothing; the next one starts two seconds after it.
      }
      uint32_t end = 0;
      try {
        end = clock();
      } catch (...) {
      }
      shared->end_ms.store(end, std::memory_order_relaxed);
      shared->running.store(false, std::memory_order_release);
    });
  } catch (...) {
    worker_.reset();
  }
  if (!worker_) {
    shared_->running.store(false, std::memory_order_release);
    return false;
  }
  started_once_ = true;
  last_end_ms_.reset();
  return true;
}

std::optional<RecheckReport> LyricRecheck::take_report() {
  const std::lock_guard lock(shared_->report_mutex);
  return std::exchange(shared_->report, std::nullopt);
}

bool LyricRecheck::wait(uint32_t timeout_ms) {
  return !worker_ || worker_->wait_for(timeout_ms);
}

}  // namespace sabla
