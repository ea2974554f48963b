#pragma once
// The host's side of a fuzzing child: loads the plug-in, registers it, keeps the visualizer
// window and plays sequences into the handler on this one thread, as a host does.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_sequence.h"
#include "host_session.h"
#include "plugin_library.h"
#include "progress.h"
#include "win32_handles.h"

namespace fuzz_host {

class FuzzHost {
 public:
  using Printer = std::function<void(std::string_view)>;

  // `progress` may be null (a replay in the foreground); `print` gets every step when verbose.
  // `check_heap`: every heap is validated after each step (see CampaignOptions::check_heap).
  FuzzHost(Progress* progress, Printer print, bool verbose, bool check_heap = false);
  ~FuzzHost();
  FuzzHost(const FuzzHost&) = delete;
  FuzzHost& operator=(const FuzzHost&) = delete;

  // Loads and registers the plug-in; false with `error` set when that fails.
  bool start(const std::wstring& plugin_path, std::string& error);

  // Plays one sequence, then "hide" and "clr " as a host does before it unloads.
  void run(const Sequence& sequence);

  int gdi_objects() const;

 private:
  struct Player;
  void play_step(const Step& step, size_t index);
  int32_t send(const Step& step);
  void close_visualizer();
  void pump();
  void wait(uint32_t ms);
  void check_heaps(size_t step_index);
  void* window_for(const Step& step) const;

  Progress* progress_;
  Printer print_;
  bool verbose_;
  bool check_heap_;
  HRESULT com_ = E_FAIL;
  standin::HostSession session_;
  standin::LoadedPlugin plugin_;
  sabla::VisualHandler handler_ = nullptr;
  void* instance_ = nullptr;
  standin::RegisteredClass window_class_;
  standin::UniqueWindow frame_;
  HWND view_ = nullptr;  // a child of frame_, destroyed with it
  HWND destroyed_ = nullptr;
  standin::UniqueGdiObject brush_;
  UINT_PTR dismiss_timer_ = 0;
  std::unique_ptr<Player> player_;
};

// Called from the dismissal timer: answers every message box of the plug-in on this thread
// ("No" where it asks, else OK), as a user would. Returns how many it answered.
int dismiss_message_boxes();

// Records a crash into `progress` and ends the process with the exception's code.
void install_crash_recorder(Progress* progress, HMODULE plugin);

}  // namespace fuzz_host
