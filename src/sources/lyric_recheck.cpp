#include "sources/lyric_recheck.h"

#include <utility>

namespace sabla {

RecheckJob make_recheck_job(const SongNames& song, const Settings& settings,
                            std::optional<uint64_t> recorded_write_time,
                            const UnknownNames& unknown) {
  return RecheckJob{make_lyric_search_query(song, settings, unknown), recorded_write_time};
}

std::optional<RecheckReport> recheck_lyrics(const RecheckJob& job, const LyricSearchFiles& files) {
  const std::optional<uint64_t> written = files.last_write_time(job.query.file_path);
  // A song file that cannot be opened has no time to compare; the search still runs.
  if (written && written != job.recorded_write_time) {
    return RecheckReport{job.query.file_path, std::nullopt};
  }
  std::optional<std::u16string> found = find_lyric_file(job.query, files);
  if (!found) return std::nullopt;
  return RecheckReport{job.query.file_path, std::move(found)};
}

bool apply_recheck_report(const RecheckReport& report, std::u16string_view file_path,
                          std::u16string& lyrics_path) {
  if (report.song_file_path != file_path) return false;
  if (report.lyrics_path) lyrics_path = *report.lyrics_path;
  return true;
}

LyricRecheck::~LyricRecheck() { wait(); }

bool LyricRecheck::start_if_due(uint32_t now_ms, RecheckJob job) {
  if (running()) return false;
  if (last_start_ms_ && now_ms - *last_start_ms_ <= kRecheckIntervalMs) return false;
  // The previous worker has cleared its mark, so this returns at once.
  wait();
  // Marked before the thread exists, so a second call cannot slip in before the worker runs.
  running_.store(true, std::memory_order_release);
  try {
    worker_ = std::thread([this, job = std::move(job)] { run(job); });
  } catch (...) {
    running_.store(false, std::memory_order_release);
    return false;
  }
  last_start_ms_ = now_ms;
  return true;
}

std::optional<RecheckReport> LyricRecheck::take_report() {
  const std::lock_guard lock(report_mutex_);
  return std::exchange(report_, std::nullopt);
}

void LyricRecheck::wait() {
  if (worker_.joinable()) worker_.join();
}

void LyricRecheck::run(const RecheckJob& job) noexcept {
  try {
    std::optional<RecheckReport> report = recheck_lyrics(job, files_);
    if (report) {
      const std::lock_guard lock(report_mutex_);
      report_ = std::move(report);
    }
  } catch (...) {
    // A failed check reports nothing; the next one starts two seconds later.
  }
  running_.store(false, std::memory_order_release);
}

}  // namespace sabla
