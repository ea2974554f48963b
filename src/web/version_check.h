#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "state/version.h"

namespace sabla {

struct PluginState;

// The two version-information files: releases, and beta or minor updates.
enum class VersionFile { kRelease, kBeta };

// A version file holds a number of 4 to 15 characters. This many bytes are read, so that a
// longer file shows itself by filling them all.
inline constexpr size_t kVersionReadSize = 16;

// The address of `file` on the version server `server` ("http://host[:port]", no trailing '/').
std::string version_file_url(std::string_view server, VersionFile file);

// Platform (WinINet on Windows, a plain socket client natively): the first kVersionReadSize bytes
// of the file at `url`, fewer when the file is shorter; fetched afresh, never from a cache.
// Nothing when the address does not open, the server answers with anything but success, or a
// read fails.
std::optional<std::string> fetch_version_file(const std::string& url);

// The result flag from what was read: 1 when the published number is greater than
// `own_version_number`, 0 when it is not, -1 when the check failed (nothing read, a full
// kVersionReadSize bytes, text of 3 characters or fewer, or no number at its start).
int32_t version_check_flag(const std::optional<std::string>& read, int32_t own_version_number);

// The threads of the version checks. The library must not be unloaded while one runs, so the
// owner waits for them (wait() at the handler's "clr ", and the destructor). Used from the host
// thread only; each worker touches nothing but its own flag and its own finished mark.
class VersionChecks {
 public:
  VersionChecks() = default;
  ~VersionChecks() { wait(); }
  VersionChecks(const VersionChecks&) = delete;
  VersionChecks& operator=(const VersionChecks&) = delete;

  // Runs `check` on a thread of its own and stores its result in `flag` (-1 if it throws). Not
  // started, and false, while an earlier check for the same flag still runs: its answer will
  // do, and an unreachable server must not gather threads with every "show".
  bool start(std::atomic<int32_t>& flag, std::function<int32_t()> check);
  // Whether a check for `flag` is still running.
  bool running(const std::atomic<int32_t>& flag) const;
  // Waits for every check that was started.
  void wait();

 private:
  struct Worker {
    std::thread thread;
    const std::atomic<int32_t>* flag = nullptr;
    std::atomic<bool> finished{false};
  };
  void join_finished();

  std::vector<std::unique_ptr<Worker>> workers_;
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
