#pragma once
#include <windows.h>
// Keep after windows.h, which it builds on.
#include <mmsystem.h>

#include <functional>
#include <optional>

#include "host/handler_services.h"
#include "host/host_resources_win32.h"
#include "ui/options_services_win32.h"

namespace sabla {

// The handler's services on Windows: the multimedia timer (or the time source given), the
// player given, GDI and GDI+ for the visualizer window, DirectInput for the wheel, message boxes
// and the settings file. `module` is the library whose resources hold the string table and the
// version.
class Win32HandlerServices : public HandlerServices {
 public:
  using TimeSource = std::function<uint32_t()>;

  Win32HandlerServices(
      PlayerBridge& player, HMODULE module,
      TimeSource time = [] { return static_cast<uint32_t>(timeGetTime()); })
      : player_(player), module_(module), time_(std::move(time)), options_services_(player) {}

  uint32_t now_ms() override { return time_(); }
  PlayerBridge& player() override { return player_; }

  void start_instance(PluginState& state) override;
  void end_instance(PluginState& state) override;
  bool open_window(PluginState& state, void* window) override;
  void close_window(PluginState& state) override;
  void open_wheel(PluginState& state) override;
  void delete_temp_artwork(PluginState& state) override;
  void create_options_dialog(PluginState& state) override;
  void close_options_window(PluginState& state) override;
  void warn(PluginState& state, std::u16string_view text) override;
  void load_settings(PluginState& state) override;
  bool save_settings(PluginState& state) override;
  bool load_song_lyrics(PluginState& state) override;
  bool save_document_lyrics(PluginState& state) override;
  void create_frame_surfaces(PluginState& state) override;
  void release_frame_surfaces(PluginState& state) override;
  void create_info_font(PluginState& state) override;
  void delete_info_font(PluginState& state) override;
  void layout_display(PluginState& state) override;
  void refresh_pointer(PluginState& state) override;
  void draw_frame(PluginState& state) override;
  void rebuild_item_fonts(PluginState& state) override;
  bool input_gate_open(PluginState& state) override;
  bool ask_yes_no(PluginState& state, std::u16string_view text) override;
  bool delete_file(std::u16string_view path) override;
  void read_keyboard_state(KeyboardState& keys) override;
  std::optional<std::u16string> modal_dialog_title() override;
  bool ask_beta_yes_no(PluginState& state, std::u16string_view text) override;
  bool export_panel_ipod_notes(PluginState& state) override;
  bool launch_search(PluginState& state, std::optional<std::u16string_view> artist,
                     std::optional<std::u16string_view> title,
                     std::optional<std::u16string_view> album, int slot) override;

 private:
  PlayerBridge& player_;
  HMODULE module_;
  TimeSource time_;
  std::optional<TimerPeriod> timer_period_;
  Win32OptionsServices options_services_;
};

// The top-level window a visualizer window sits in: the wheel and the keyboard gate look at it.
HWND owner_window_of(HWND window);

}  // namespace sabla
