#include <windows.h>
#include <process.h>

#include <utility>

#include "state/worker_thread.h"

namespace sabla {
namespace {

// An owned thread handle.
class ThreadHandle {
 public:
  explicit ThreadHandle(HANDLE handle) : handle_(handle) {}
  ~ThreadHandle() {
    if (handle_) CloseHandle(handle_);
  }
  ThreadHandle(const ThreadHandle&) = delete;
  ThreadHandle& operator=(const ThreadHandle&) = delete;
  ThreadHandle& operator=(ThreadHandle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A reference to the library that holds this code, dropped unless handed to the thread.
class ModuleReference {
 public:
  explicit ModuleReference(const void* address) {
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            static_cast<LPCWSTR>(address), &module_)) {
      module_ = nullptr;
    }
  }
  ~ModuleReference() {
    if (module_) FreeLibrary(module_);
  }
  ModuleReference(const ModuleReference&) = delete;
  ModuleReference& operator=(const ModuleReference&) = delete;
  HMODULE get() const { return module_; }
  HMODULE release() { return std::exchange(module_, nullptr); }

 private:
  HMODULE module_ = nullptr;
};

struct StartBlock {
  std::function<void()> body;
  HMODULE module = nullptr;
};

unsigned __stdcall run_worker(void* argument) {
  HMODULE module = nullptr;
  {
    std::unique_ptr<StartBlock> block(static_cast<StartBlock*>(argument));
    module = block->module;
    try {
      block->body();
    } catch (...) {
    }
    // The body and what it captured are destroyed here, while the library is surely loaded.
  }
  // Never returns into the library, which this call may unload. The C runtime is the DLL one,
  // which frees its per-thread data at the thread's detach, so skipping _endthreadex loses
  // nothing.
  FreeLibraryAndExitThread(module, 0);
  return 0;
}

class Win32Worker final : public WorkerThread {
 public:
  void adopt(HANDLE thread) noexcept { thread_ = ThreadHandle(thread); }
  bool wait_for(uint32_t timeout_ms) override {
    return !thread_.get() || WaitForSingleObject(thread_.get(), timeout_ms) == WAIT_OBJECT_0;
  }

 private:
  ThreadHandle thread_{nullptr};
};

}  // namespace

std::unique_ptr<WorkerThread> start_worker_thread(std::function<void()> body) {
  try {
    ModuleReference module(reinterpret_cast<const void*>(&run_worker));
    if (!module.get()) return nullptr;
    auto block = std::make_unique<StartBlock>();
    block->body = std::move(body);
    block->module = module.get();
    auto worker = std::make_unique<Win32Worker>();
    // Everything that can fail is done before the thread exists; from here on the block and
    // the reference belong to the thread.
    const uintptr_t thread = _beginthreadex(nullptr, 0, &run_worker, block.get(), 0, nullptr);
    if (!thread) return nullptr;
    block.release();
    module.release();
    worker->adopt(reinterpret_cast<HANDLE>(thread));
    return worker;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace sabla
