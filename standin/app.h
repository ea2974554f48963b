#pragma once
// The stand-in as a whole: reads the track, loads and registers the plug-in, shows the window,
// takes the screenshot and decides the exit code.
#include <windows.h>

#include <optional>

#include "command_line.h"
#include "console.h"
#include "exit_codes.h"
#include "host_session.h"
#include "main_window.h"
#include "plugin_library.h"
#include "playlist.h"

namespace standin {

class App {
 public:
  App(HINSTANCE instance, Options options, const Console& console);
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  int run();

 private:
  ExitCode load_track();
  ExitCode load_and_register_plugin();
  ExitCode create_window();
  int message_loop();
  void on_window_settled();
  ExitCode take_screenshot();
  void unload_plugin();

  HINSTANCE instance_;
  Options options_;
  const Console& console_;
  std::optional<PlaylistTrack> track_;
  HostSession session_;
  LoadedPlugin plugin_;
  MainWindow window_;
  ExitCode exit_code_ = kExitOk;
};

}  // namespace standin
