#pragma once
// The stand-in as a whole: reads the playlist and scenario, serves the player's automation
// object, loads and registers the plug-in, shows the window, drives the visual messages through
// the playback loop and decides the exit code.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation_server.h"
#include "busy_window.h"
#include "command_line.h"
#include "console.h"
#include "exit_codes.h"
#include "host_driver.h"
#include "host_session.h"
#include "main_window.h"
#include "player/com_apartment_win32.h"
#include "player_model.h"
#include "plugin_library.h"
#include "scenario.h"
#include "visual_host.h"

namespace standin {

struct Capture;

class App final : public WindowListener {
 public:
  App(HINSTANCE instance, Options options, const Console& console);
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  int run();

  // WindowListener
  void on_play_pause() override;
  void on_previous() override;
  void on_next() override;
  void on_seek(uint32_t position_ms) override;
  void on_visualizer_resized() override { window_changed_ = true; }
  void on_visualizer_exposed() override { exposed_ = true; }
  void on_close_requested() override { quit_ = true; }

 private:
  ExitCode load_playlist();
  ExitCode load_scenario();
  ExitCode start_automation();
  ExitCode load_and_register_plugin();
  ExitCode create_window();
  ExitCode start_visualizer();
  void loop();
  void shut_down();

  // The scenario's steps whose time has come.
  void run_due_steps(uint64_t now);
  void run_step(const Step& step, uint64_t now);
  // A failed screenshot or file step ends the run with its exit code: what follows relied on it.
  void end_run_if_failed(ExitCode code) {
    if (code == kExitOk) return;
    exit_code_ = code;
    quit_ = true;
  }
  void show_visualizer();
  void hide_visualizer();
  void report_gdi_objects();
  void set_busy(bool busy);
  ExitCode take_screenshot(const std::string& path);
  ExitCode count_colour(uint32_t colour);
  ExitCode run_copy(const Step& step);
  ExitCode run_delete(const Step& step);
  // The steps on the plug-in's options window.
  ExitCode run_dialog_step(const Step& step);
  ExitCode save_dialog_picture(HWND dialog, const std::string& path);
  // The client area as it is now, with the stand-in's own lines brought up to date first.
  bool capture_window(Capture& capture, std::string& error);
  // Sends what the window and the player did since the last turn of the loop.
  void deliver();
  void refresh_window();
  sabla::DrawingRect drawing_rect() const;
  void print(std::string_view text) const { console_.out(text); }

  HINSTANCE instance_;
  Options options_;
  const Console& console_;
  sabla::ComApartment apartment_;
  PlayerModel model_;
  std::vector<TrackFiles> files_;
  std::vector<std::string> locations_;  // UTF-8, for the track records
  std::vector<Step> steps_;
  bool scripted_ = false;  // the steps end the run
  std::unique_ptr<PlayerAutomation> automation_;
  HostSession session_;
  LoadedPlugin plugin_;
  std::unique_ptr<VisualHost> visual_;
  std::unique_ptr<HostDriver> driver_;
  MainWindow window_;
  BusyWindow busy_;

  size_t next_step_ = 0;
  uint64_t resume_at_ = 0;  // the current step (a wait, a held key) lasts until then
  std::optional<KeyChord> held_key_;
  // GDI objects alive after the scenario's last "hide", so each cycle's growth is reported.
  std::optional<int> gdi_after_last_hide_;
  bool quit_ = false;
  bool window_changed_ = false;
  bool exposed_ = false;
  ExitCode exit_code_ = kExitOk;
  // What the last modal dialog step found, when it failed after its step had ended.
  ExitCode modal_result_ = kExitOk;
};

}  // namespace standin
