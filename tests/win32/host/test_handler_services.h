#pragma once
// The real Windows services of the handler with a scripted timer and player, the settings file
// in a temporary folder, no message boxes, and every stage call of other subsystems counted.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "core/host/scripted_player.h"
#include "host/handler_services_win32.h"
#include "host/message_handler.h"
#include "state/window_drawing_win32.h"
#include "settings/settings_store.h"
#include "win32/settings/temp_folder.h"

namespace sabla::test {

class TestHandlerServices : public Win32HandlerServices {
 public:
  explicit TestHandlerServices(HMODULE module)
      : Win32HandlerServices(scripted_player, module, [this] { return time; }) {
    CreateDirectoryW((temp / L"AppData").c_str(), nullptr);
  }

  uint32_t time = 0;
  ScriptedPlayer scripted_player;
  std::map<std::string, int> calls;
  std::u16string last_warning;
  bool save_succeeds = false;
  // Runs inside the song-change pipeline, while the handler is busy with a message.
  std::function<void(PluginState&)> during_pipeline;

  void warn(PluginState&, std::u16string_view text) override {
    ++calls["warn"];
    last_warning = text;
  }
  void load_settings(PluginState& state) override {
    ++calls["load_settings"];
    sabla::load_settings(state, where, window_dc(state));
  }
  bool save_settings(PluginState& state) override {
    ++calls["save_settings"];
    return sabla::save_settings(state);
  }
  bool load_song_lyrics(PluginState& state) override {
    ++calls["load_song_lyrics"];
    if (during_pipeline) during_pipeline(state);
    return true;
  }
  bool save_document_lyrics(PluginState&) override {
    ++calls["save_document_lyrics"];
    return save_succeeds;
  }
  void create_frame_surfaces(PluginState&) override { ++calls["create_frame_surfaces"]; }
  void release_frame_surfaces(PluginState&) override { ++calls["release_frame_surfaces"]; }
  void layout_display(PluginState&) override { ++calls["layout_display"]; }
  void start_release_version_check(PluginState&) override { ++calls["release_check"]; }
  void start_beta_version_check(PluginState&) override { ++calls["beta_check"]; }
  void idle_processing(PluginState&) override { ++calls["idle_processing"]; }
  void open_options_window(PluginState&, OptionsTrigger) override { ++calls["open_options"]; }

  TempFolder temp;
  SettingsLocation where{temp / L"AppData\\Sabla\\Sabla.ini", temp / L"module\\Sabla.ini",
                         temp / L"Documents"};
};

}  // namespace sabla::test
