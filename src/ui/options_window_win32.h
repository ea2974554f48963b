#pragma once
#include <windows.h>
// Keep after windows.h, which it builds on.
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "sources/song_change.h"
#include "state/plugin_state.h"
#include "ui/about_tab_win32.h"
#include "ui/basic_settings_tab_win32.h"
#include "ui/design_tab_win32.h"
#include "ui/dialog_win32.h"
#include "ui/lyric_editor_page_win32.h"
#include "ui/options_services.h"

namespace sabla {

inline constexpr int kOptionsPageCount = 5;

// The modeless options window: the tab control with its five pages, OK / 適用 / ｷｬﾝｾﾙ / ヘルプ,
// popup help, dropped lyric files and the keyboard navigation hook. While it is open it is the
// song-change pipeline's view of the editors. The object lives as long as its window.
class OptionsWindow final : public Dialog, public SongChangeEditors {
 public:
  // Makes the window owned by `owner` and keeps its handle in `options_window`; null when the
  // dialog cannot be made.
  static HWND open(PluginState& state, OptionsServices& services, HWND owner);

  PluginState& state() { return state_; }
  OptionsServices& services() { return services_; }
  HINSTANCE module() const { return module_; }
  LyricEditorPage& in_song() { return in_song_; }
  LyricEditorPage& external() { return external_; }
  BasicSettingsTab& basic_settings() { return basic_; }
  DesignTab& design() { return design_; }
  AboutTab& about() { return about_; }
  LyricEditorPage& editor(EditorKind kind) { return kind == EditorKind::kInSong ? in_song_ : external_; }
  bool song_loaded() const { return state_.clock.track_info_valid; }
  bool new_host() const { return state_.host.host_major_version >= 5; }

  // Closes the window: OK after a successful apply (result 1), ｷｬﾝｾﾙ or the close box (2).
  void close(int result);
  // A Yes/No question or a warning over this window, captioned "Sabla".
  bool ask(std::u16string_view text);
  void warn(std::u16string_view text);
  std::u16string text(int32_t id) const { return std::u16string(state_.strings.text(id)); }

  // SongChangeEditors.
  void enable_for_song() override;
  void disable_controls() override;
  bool has_unsaved_changes() override;
  bool ask_discard(std::u16string_view question) override;
  void set_insert_button_enabled(bool enabled) override;
  void set_external_text(std::u16string_view text) override;
  void set_song_file_text(std::u16string_view text) override;
  std::u16string external_text() override;
  std::u16string song_file_text() override;
  void show_paths(std::u16string_view lyrics_path, std::u16string_view file_path) override;
  void set_caption(std::u16string_view caption) override;
  void clear_modified_and_refresh() override;

 private:
  OptionsWindow(PluginState& state, OptionsServices& services);

  bool on_init() override;
  bool on_command(int id, int code, HWND control) override;
  bool on_notify(const NMHDR& header) override;
  bool on_message(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
  void on_destroyed() override;

  void save_pending_timetags();
  void create_pages();
  void place_pages();
  void show_page(int index);
  void cancel();
  void show_context_help(const HELPINFO& info);
  void drop_files(HDROP drop);
  HWND page_window(int index);
  std::u16string module_path() const;

  PluginState& state_;
  OptionsServices& services_;
  HINSTANCE module_ = nullptr;
  bool* init_seen_ = nullptr;  // set while open() waits to learn whether the window took over
  LyricEditorPage in_song_;
  LyricEditorPage external_;
  BasicSettingsTab basic_;
  DesignTab design_;
  AboutTab about_;
};

}  // namespace sabla
