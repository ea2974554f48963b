#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/version.h"
#include "state/worker_thread.h"

namespace sabla {

struct PluginState;

// The two version-information files: releases, and beta or minor updates.
enum class VersionFile { kRelease, kBeta };

// A version file holds a number of 4 to 15 characters. This many bytes are read, so that a
// longer file shows itself by filling them all.
inline constexpr size_t kVersionReadSize = 16;

// The address of `file` on the version server `server` ("http://host[:port]", no trailing '/').
std::string version_file_url(std::string_view server, VersionFile file);

// Time-outs of one fetch: connecting, sending and each wait for an answer. An update notice is
// worth a few seconds at most, and a check still running when the host ends the plug-in is
// cancelled anyway.
inline constexpr uint32_t kVersionFetchTimeoutMs = 4000;
// How long the host thread waits, in all, for cancelled checks at "clr " before leaving them.
// Closing a check's handles ends a blocked call within milliseconds on Windows; under Wine the
// handles are not closed from the host thread (see fetch_version_file) and the check is left to
// its time-out.
inline constexpr uint32_t kVersionStopWaitMs = 50;

// Lets the owner of a running check end it at once. The fetch arms it with an abort (on Windows,
// closing its connection, which makes a call blocked on the network return); cancel() marks the
// check and runs that abort on the owner's thread.
class CheckCancel {
 public:
  // Owner side.
  void cancel() noexcept;
  bool cancelled() const noexcept;

  // Fetch side. False, and `abort` not kept, when the check is already cancelled.
  bool arm(std::function<void()> abort) noexcept;
  // Once this returns the abort is neither running nor will run.
  void disarm() noexcept;

 private:
  mutable std::mutex mutex_;
  bool cancelled_ = false;
  std::function<void()> abort_;
};

// Arms `cancel` (when given) with `abort` for its own lifetime.
class ArmedCancel {
 public:
  ArmedCancel(CheckCancel* cancel, std::function<void()> abort) noexcept
      : cancel_(cancel), armed_(!cancel || cancel->arm(std::move(abort))) {}
  ~ArmedCancel() {
    if (cancel_) cancel_->disarm();
  }
  ArmedCancel(const ArmedCancel&) = delete;
  ArmedCancel& operator=(const ArmedCancel&) = delete;
  // False when the check was cancelled before the abort could be armed.
  bool armed() const { return armed_; }

 private:
  CheckCancel* cancel_;
  bool armed_;
};

// Platform (WinINet on Windows, a plain socket client natively): the first kVersionReadSize bytes
// of the file at `url`, fewer when the file is shorter; fetched afresh, never from a cache.
// Nothing when the address does not open, the server answers with anything but success, a read
// fails, a time-out passes or `cancel` (when given) is cancelled.
std::optional<std::string> fetch_version_file(const std::string& url,
                                              CheckCancel* cancel = nullptr);

// The result flag from what was read: 1 when the published number is greater than
// `own_version_number`, 0 when it is not, -1 when the check failed (nothing read, a full
// kVersionReadSize bytes, text of 3 characters or fewer, or no number at its start).
int32_t version_check_flag(const std::optional<std::string>& read, int32_t own_version_number);

// The threads of the version checks. Used from the host thread only.
//
// A check's thread touches nothing but what it shares with this object (its flag, until it is
// abandoned). Abandoning is how this object lets go of a check it will not wait for: the thread
// runs on (keeping the library loaded, see WorkerThread) but no longer writes its flag, so the
// flag's owner may go.
class VersionChecks {
 public:
  VersionChecks() = default;
  // Abandons running checks without waiting and without cancelling: this runs in the library's
  // detach too, under the loader lock, where neither waiting for a thread nor calling WinINet is
  // safe.
  ~VersionChecks();
  VersionChecks(const VersionChecks&) = delete;
  VersionChecks& operator=(const VersionChecks&) = delete;

  // Runs `check` on a thread of its own and stores its result in `flag` (-1 if it throws; nothing
  // if it was cancelled, which is no answer). Not started, and false, while an earlier check for
  // the same flag still runs: its answer will do, and an unreachable server must not gather
  // threads with every "show".
  bool start(std::atomic<int32_t>& flag, std::function<int32_t(CheckCancel&)> check);
  bool start(std::atomic<int32_t>& flag, std::function<int32_t()> check);
  // Whether a check for `flag` is still running.
  bool running(const std::atomic<int32_t>& flag) const;
  // Waits, without limit, for every check that was started.
  void wait();
  // The host thread's stop ("clr "): cancels every running check, waits at most `wait_ms` in
  // all for them to end, and abandons those still running. True when all had ended.
  bool stop(uint32_t wait_ms = kVersionStopWaitMs);

 private:
  struct Shared;
  struct Worker {
    std::unique_ptr<WorkerThread> thread;
    const std::atomic<int32_t>* flag = nullptr;
    std::shared_ptr<Shared> shared;
  };
  void drop_finished();
  static void abandon(Worker& worker);

  std::vector<Worker> workers_;
};

// The release or beta check with the plug-in's own version number, on a thread of its own; the
// result goes to `new_version_pending` or `new_beta_pending`. `server` is the version server.
bool start_version_check(PluginState& state, VersionFile file,
                         std::string_view server = kVersionServerUrl);
void start_release_version_check(PluginState& state);
void start_beta_version_check(PluginState& state);

// The same check on the calling thread (the about page's button): sets the flag and returns it.
int32_t run_version_check(PluginState& state, VersionFile file,
                          std::string_view server = kVersionServerUrl);

}  // namespace sabla
