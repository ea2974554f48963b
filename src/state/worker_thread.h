#pragma once
// The plug-in's worker threads (version checks, the lyric re-check), as their owners hold them.
#include <cstdint>
#include <functional>
#include <memory>

namespace sabla {

inline constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

// A started worker thread.
//
// Dropping it never waits for the thread: a thread still running is left to end on its own. The
// owners can be torn down from the library's detach, under the loader lock, where waiting for a
// thread deadlocks (the thread cannot end without that lock) and where a worker might even be the
// very thread running the detach. So a body must own, or share ownership of, everything it
// touches once its owner may have gone.
//
// In the DLL the thread holds a reference to the library from before it starts until its last
// instruction (FreeLibraryAndExitThread), so the library's code stays mapped while any worker
// runs it, however the host unloads: a host's FreeLibrary then only drops the host's reference,
// and the detach runs when the last worker lets go.
class WorkerThread {
 public:
  virtual ~WorkerThread() = default;
  // Waits at most `timeout_ms` (kWaitForever: no limit) for the thread to end; true when it has.
  virtual bool wait_for(uint32_t timeout_ms) = 0;
};

// Starts `body` on a new thread; nothing when no thread could be started. An exception leaving
// `body` ends the body, never the process.
std::unique_ptr<WorkerThread> start_worker_thread(std::function<void()> body);

// How code that must stay portable (and so cannot name the platform's starter) is handed one.
using WorkerStarter = std::unique_ptr<WorkerThread> (*)(std::function<void()> body);

}  // namespace sabla
