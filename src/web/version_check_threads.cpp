// The threads of the version checks. Built with the platform's fetch and thread starter.
#include <chrono>
#include <utility>

#include "web/version_check.h"

namespace sabla {

// What a check's thread shares with its owner; the thread holds it for as long as it runs.
struct VersionChecks::Shared {
  CheckCancel cancel;
  std::mutex mutex;
  bool abandoned = false;  // under `mutex`: the flag may be gone
  std::atomic<bool> finished{false};
};

VersionChecks::~VersionChecks() {
  for (Worker& worker : workers_) abandon(worker);
}

bool VersionChecks::start(std::atomic<int32_t>& flag, std::function<int32_t()> check) {
  if (!check) return false;
  return start(flag, [check = std::move(check)](CheckCancel&) { return check(); });
}

bool VersionChecks::start(std::atomic<int32_t>& flag,
                          std::function<int32_t(CheckCancel&)> check) {
  drop_finished();
  if (running(flag) || !check) return false;
  try {
    workers_.reserve(workers_.size() + 1);  // so that the push below cannot fail
    auto shared = std::make_shared<Shared>();
    std::unique_ptr<WorkerThread> thread =
        start_worker_thread([shared, &flag, check = std::move(check)]() noexcept {
          int32_t result = -1;
          try {
            result = check(shared->cancel);
          } catch (...) {
          }
          const std::lock_guard lock(shared->mutex);
          if (!shared->abandoned && !shared->cancel.cancelled()) flag.store(result);
          shared->finished.store(true, std::memory_order_release);
        });
    if (!thread) return false;
    workers_.push_back(Worker{std::move(thread), &flag, std::move(shared)});
  } catch (...) {
    return false;
  }
  return true;
}

bool VersionChecks::running(const std::atomic<int32_t>& flag) const {
  for (const Worker& worker : workers_) {
    if (worker.flag == &flag && !worker.shared->finished.load(std::memory_order_acquire)) {
      return true;
    }
  }
  return false;
}

void VersionChecks::drop_finished() {
  // A finished check has written its flag and touches nothing more of ours; its thread is left
  // to return on its own.
  std::erase_if(workers_, [](const Worker& worker) {
    return worker.shared->finished.load(std::memory_order_acquire);
  });
}

void VersionChecks::abandon(Worker& worker) {
  const std::lock_guard lock(worker.shared->mutex);
  worker.shared->abandoned = true;
}

void VersionChecks::wait() {
  for (Worker& worker : workers_) worker.thread->wait_for(kWaitForever);
  workers_.clear();
}

bool VersionChecks::stop(uint32_t wait_ms) {
  for (Worker& worker : workers_) worker.shared->cancel.cancel();
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(wait_ms);
  bool all_ended = true;
  for (Worker& worker : workers_) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const uint32_t left_ms = left.count() > 0 ? static_cast<uint32_t>(left.count()) : 0;
    if (!worker.thread->wait_for(left_ms)) {
      abandon(worker);
      all_ended = false;
    }
  }
  workers_.clear();
  return all_ended;
}

}  // namespace sabla
