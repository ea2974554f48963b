#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "state/input_state.h"
#include "host/later_stages.h"
#include "player/player_bridge.h"
#include "web/version_check.h"

namespace sabla {

struct PluginState;

// Everything the visual message handler needs from outside its own logic: the millisecond
// timer, the player, the platform's windows and drawing resources, and the stages of the other
// subsystems. The plug-in uses the Win32 services; tests script their own.
class HandlerServices {
 public:
  virtual ~HandlerServices() = default;

  // The multimedia timer, in milliseconds.
  virtual uint32_t now_ms() = 0;
  virtual PlayerBridge& player() = 0;

  // "init": the 1-millisecond timer period, the module handle, the own version, the temporary
  // artwork path and the string table. "clr " undoes it.
  virtual void start_instance(PluginState& state) = 0;
  virtual void end_instance(PluginState& state) = 0;

  // "show": GDI+, the window's device context and the memory device contexts for `window`.
  // False, with nothing made, when `window` is no window.
  virtual bool open_window(PluginState& state, void* window) = 0;
  // "hide": the device contexts and GDI+ go.
  virtual void close_window(PluginState& state) = 0;
  // The mouse wheel for the top-level window of the visualizer, acquired.
  virtual void open_wheel(PluginState& state) = 0;
  virtual void delete_temp_artwork(PluginState& state) = 0;
  // Makes the modeless options window over the visualizer window, once everything it shows is
  // loaded.
  virtual void create_options_dialog(PluginState& state) = 0;
  // Sends the options window the cancel command, which closes it.
  virtual void close_options_window(PluginState& state) = 0;
  // A warning message box captioned "Sabla" over the visualizer window.
  virtual void warn(PluginState& state, std::u16string_view text) = 0;

  // The settings file, loaded with the window's device context for the item fonts.
  virtual void load_settings(PluginState& state) = 0;
  virtual bool save_settings(PluginState& state) = 0;

  // The window's place on the screen and the mouse over it, for this idle call.
  virtual void refresh_pointer(PluginState& state) = 0;
  // Draws a frame when one is due.
  virtual void draw_frame(PluginState& state) = 0;
  // Items 0 to 13 make their fonts again.
  virtual void rebuild_item_fonts(PluginState& state) = 0;
  // Keys and clicks count only while the player's window is not the active one of the thread
  // and the options window is closed.
  virtual bool input_gate_open(PluginState& state) = 0;
  // A question with Yes and No, captioned "Sabla"; true for Yes.
  virtual bool ask_yes_no(PluginState& state, std::u16string_view text) = 0;
  virtual bool delete_file(std::u16string_view path) = 0;
  // The keyboard and mouse buttons as the host's thread sees them; all up when unreadable.
  virtual void read_keyboard_state(KeyboardState& keys) = 0;
  // The title of the player's modal dialog (window class "iTunesCustomModalDialog"), at most
  // 1024 characters; nothing when the player shows none.
  virtual std::optional<std::u16string> modal_dialog_title() = 0;
  // A warning with Yes and No, captioned "Sabla BETA", over the options window; true for Yes.
  virtual bool ask_beta_yes_no(PluginState& state, std::u16string_view text) = 0;

  // The stages of other subsystems. Tests override these to watch the handler call them.
  // The song-change pipeline: true when it ran to its end.
  virtual bool load_song_lyrics(PluginState& state) = 0;
  // Saves the lyrics panel with its timetags as the song's lyric file; true on success.
  virtual bool save_document_lyrics(PluginState& state) = 0;
  // Writes the lyrics panel's lines, without timetags, as the current song's iPod notes page.
  virtual bool export_panel_ipod_notes(PluginState& state) = 0;
  // Starts search slot `slot` (0 to 7) with the texts given; an absent text counts as empty.
  // False only when the slot holds neither a web address nor a program.
  virtual bool launch_search(PluginState& state, std::optional<std::u16string_view> artist,
                             std::optional<std::u16string_view> title,
                             std::optional<std::u16string_view> album, int slot) = 0;
  // The frame renderer's off-screen surfaces for the current drawing area.
  virtual void create_frame_surfaces(PluginState& state) = 0;
  virtual void release_frame_surfaces(PluginState& state) = 0;
  // The information font.
  virtual void create_info_font(PluginState& state) = 0;
  virtual void delete_info_font(PluginState& state) = 0;
  // Places every display item on the drawing area and lays out the lyrics panel's rows.
  virtual void layout_display(PluginState& state) = 0;
  virtual void start_release_version_check(PluginState& state) {
    sabla::start_release_version_check(state);
  }
  virtual void start_beta_version_check(PluginState& state) {
    sabla::start_beta_version_check(state);
  }
  virtual void idle_processing(PluginState& state) { sabla::idle_processing(state, *this); }
  virtual void open_options_window(PluginState& state, OptionsTrigger trigger) {
    sabla::open_options_window(state, *this, trigger);
  }
};

}  // namespace sabla
