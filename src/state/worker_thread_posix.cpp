// Worker threads of the native build. There is no loader lock to fear here, but the contract is
// the same: dropping a thread never waits for it.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "state/worker_thread.h"

namespace sabla {
namespace {

struct EndMark {
  std::mutex mutex;
  std::condition_variable changed;
  bool ended = false;
};

class PosixWorker final : public WorkerThread {
 public:
  PosixWorker(std::shared_ptr<EndMark> end, std::thread thread)
      : end_(std::move(end)), thread_(std::move(thread)) {}
  ~PosixWorker() override {
    if (!wait_for(0) && thread_.joinable()) thread_.detach();
  }

  bool wait_for(uint32_t timeout_ms) override {
    {
      std::unique_lock lock(end_->mutex);
      const auto ended = [this] { return end_->ended; };
      if (timeout_ms == kWaitForever) {
        end_->changed.wait(lock, ended);
      } else if (!end_->changed.wait_for(lock, std::chrono::milliseconds(timeout_ms), ended)) {
        return false;
      }
    }
    // The body has returned; what is left of the thread is its return.
    if (thread_.joinable()) thread_.join();
    return true;
  }

 private:
  std::shared_ptr<EndMark> end_;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<WorkerThread> start_worker_thread(std::function<void()> body) {
  try {
    auto end = std::make_shared<EndMark>();
    std::thread thread([end, body = std::move(body)]() mutable noexcept {
      try {
        body();
      } catch (...) {
      }
      body = nullptr;  // what it captured goes before the owner can see the end
      {
        const std::lock_guard lock(end->mutex);
        end->ended = true;
      }
      end->changed.notify_all();
    });
    try {
      return std::make_unique<PosixWorker>(std::move(end), std::move(thread));
    } catch (...) {
      thread.detach();
      return nullptr;
    }
  } catch (...) {
    return nullptr;
  }
}

}  // namespace sabla
