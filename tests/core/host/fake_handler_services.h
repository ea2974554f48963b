#pragma once
// Handler services without a platform: the time is what the test says, the window and its
// resources are pretended, the settings are the defaults, and every stage call is counted.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/host/scripted_player.h"
#include "host/handler_services.h"
#include "host/message_handler.h"
#include "state/plugin_state.h"
#include "settings/settings_format.h"

namespace sabla::test {

class FakeHandlerServices : public HandlerServices {
 public:
  uint32_t time = 0;
  ScriptedPlayer scripted_player;
  bool window_opens = true;
  bool pipeline_succeeds = true;
  bool save_succeeds = true;
  std::map<std::string, int> calls;
  std::u16string last_warning;
  bool input_gate = true;
  bool answer_yes = false;
  std::u16string last_question;
  std::u16string deleted_file;
  KeyboardState keys{};  // what the next idle calls read
  std::optional<std::u16string> modal_title;
  bool answer_beta_yes = false;
  std::u16string last_beta_question;
  bool notes_export_succeeds = true;
  struct Search {
    std::optional<std::u16string> artist, title, album;
    int slot = -1;
  };
  std::vector<Search> searches;
  bool search_succeeds = true;

  uint32_t now_ms() override { return time; }
  PlayerBridge& player() override { return scripted_player; }
  void start_instance(PluginState&) override { ++calls["start_instance"]; }
  void end_instance(PluginState&) override { ++calls["end_instance"]; }
  bool open_window(PluginState&, void*) override {
    ++calls["open_window"];
    return window_opens;
  }
  void close_window(PluginState&) override { ++calls["close_window"]; }
  void open_wheel(PluginState&) override { ++calls["open_wheel"]; }
  void delete_temp_artwork(PluginState&) override { ++calls["delete_temp_artwork"]; }
  void close_options_window(PluginState&) override { ++calls["close_options_window"]; }
  void create_options_dialog(PluginState&) override { ++calls["create_options_dialog"]; }
  void warn(PluginState&, std::u16string_view text) override {
    ++calls["warn"];
    last_warning = text;
  }
  void load_settings(PluginState& state) override {
    ++calls["load_settings"];
    reset_settings(state.settings, SettingsDefaults{u"C:\\Documents", u"Face"});
    finish_settings_read(state.settings);
  }
  bool save_settings(PluginState&) override {
    ++calls["save_settings"];
    return true;
  }
  bool load_song_lyrics(PluginState&) override {
    ++calls["load_song_lyrics"];
    return pipeline_succeeds;
  }
  bool save_document_lyrics(PluginState&) override {
    ++calls["save_document_lyrics"];
    return save_succeeds;
  }
  void create_frame_surfaces(PluginState&) override { ++calls["create_frame_surfaces"]; }
  void release_frame_surfaces(PluginState&) override { ++calls["release_frame_surfaces"]; }
  void create_info_font(PluginState&) override { ++calls["create_info_font"]; }
  void delete_info_font(PluginState&) override { ++calls["delete_info_font"]; }
  void layout_display(PluginState&) override { ++calls["layout_display"]; }
  void start_release_version_check(PluginState&) override { ++calls["release_check"]; }
  void start_beta_version_check(PluginState&) override { ++calls["beta_check"]; }
  void idle_processing(PluginState&) override { ++calls["idle_processing"]; }
  void refresh_pointer(PluginState&) override { ++calls["refresh_pointer"]; }
  void draw_frame(PluginState&) override { ++calls["draw_frame"]; }
  void rebuild_item_fonts(PluginState&) override { ++calls["rebuild_item_fonts"]; }
  bool input_gate_open(PluginState&) override { return input_gate; }
  bool ask_yes_no(PluginState&, std::u16string_view text) override {
    ++calls["ask_yes_no"];
    last_question = text;
    return answer_yes;
  }
  bool delete_file(std::u16string_view path) override {
    deleted_file = path;
    return true;
  }
  void read_keyboard_state(KeyboardState& out) override { out = keys; }
  std::optional<std::u16string> modal_dialog_title() override { return modal_title; }
  bool ask_beta_yes_no(PluginState&, std::u16string_view text) override {
    ++calls["ask_beta_yes_no"];
    last_beta_question = text;
    return answer_beta_yes;
  }
  bool export_panel_ipod_notes(PluginState&) override {
    ++calls["export_panel_ipod_notes"];
    return notes_export_succeeds;
  }
  bool launch_search(PluginState&, std::optional<std::u16string_view> artist,
                     std::optional<std::u16string_view> title,
                     std::optional<std::u16string_view> album, int slot) override {
    const auto copy = [](std::optional<std::u16string_view> text) {
      return text ? std::optional<std::u16string>(*text) : std::nullopt;
    };
    searches.push_back(Search{copy(artist), copy(title), copy(album), slot});
    return search_succeeds;
  }
  // Records what asked for the options window; the opening itself is tested on its own.
  void open_options_window(PluginState&, OptionsTrigger trigger) override {
    ++calls["open_options"];
    options_triggers.push_back(trigger);
  }
  std::vector<OptionsTrigger> options_triggers;
};

// Sends one message as the host does, with the instance the handler handed out.
inline int32_t send(PluginState& state, HandlerServices& services, uint32_t message,
                    void* record = nullptr) {
  return handle_visual_message(state, services, message, record, state.instance.get());
}

}  // namespace sabla::test
