#include "host/handler_services_win32.h"

#include <array>
#include <string>

#include "display/display_layout_win32.h"
#include "display/frame_pacing.h"
#include "display/frame_renderer_win32.h"
#include "display/frame_surfaces_win32.h"
#include "display/info_panel_win32.h"
#include "host/direct_input_win32.h"
#include "host/handler_steps.h"
#include "state/window_drawing_win32.h"
#include "settings/settings_store.h"
#include "sources/ipod_notes_document.h"
#include "sources/lyric_save_files_win32.h"
#include "sources/song_change.h"
#include "sources/song_change_win32.h"
#include "ui/options_window_win32.h"
#include "web/search_launcher_win32.h"

namespace sabla {
namespace {

constexpr wchar_t kCaption[] = L"Sabla";
constexpr wchar_t kBetaCaption[] = L"Sabla BETA";
// The window class of the player's own modal dialogs, and the longest title taken from one.
constexpr wchar_t kModalDialogClass[] = L"iTunesCustomModalDialog";
constexpr int kModalTitleMax = 1024;

const wchar_t* as_wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

HWND owner_window_of(HWND window) {
  if (!window) return nullptr;
  const HWND root = GetAncestor(window, GA_ROOT);
  return root ? root : window;
}

void Win32HandlerServices::start_instance(PluginState& state) {
  timer_period_.reset();
  timer_period_.emplace();
  state.host.module_handle = module_;
  const OwnVersion version = read_own_version(module_);
  state.host.own_version_text = version.text;
  state.host.own_version_number = version.number;
  state.host.own_version_caption = version.caption;
  state.host.temp_artwork_path = temp_artwork_path();
  load_string_table(state.strings, module_);
  state.sources.recheck = make_lyric_recheck(time_);
}

void Win32HandlerServices::end_instance(PluginState& state) {
  // A host that skips "hide" must not leave the window, and its hook, behind in a library that
  // is about to go.
  close_options_window(state);
  // A check blocked on the network is cancelled rather than awaited: the host thread waits a
  // moment at most. A check that does not end in that moment is left running; it keeps the
  // library loaded until it ends and writes nothing any more.
  state.version_checks.stop(kVersionStopWaitMs);
  if (state.sources.recheck) state.sources.recheck->wait(kVersionStopWaitMs);
  state.sources.recheck.reset();
  drop_lyric_folder_cache();
  timer_period_.reset();
}

bool Win32HandlerServices::open_window(PluginState& state, void* window) {
  state.window.drawing = open_window_drawing(static_cast<HWND>(window));
  return state.window.drawing != nullptr;
}

void Win32HandlerServices::close_window(PluginState& state) {
  state.window.drawing.reset();
  // Hidden, nothing searches; the folders may change at will until the next "show".
  drop_lyric_folder_cache();
}

void Win32HandlerServices::open_wheel(PluginState& state) {
  if (sabla::open_wheel(state.wheel,
                        owner_window_of(static_cast<HWND>(state.window.host_window)))) {
    state.wheel.acquire_wheel();
  }
}

void Win32HandlerServices::delete_temp_artwork(PluginState& state) {
  if (!state.host.temp_artwork_path.empty()) DeleteFileW(as_wide(state.host.temp_artwork_path));
}

void Win32HandlerServices::create_options_dialog(PluginState& state) {
  OptionsWindow::open(state, options_services_, static_cast<HWND>(state.window.host_window));
}

void Win32HandlerServices::close_options_window(PluginState& state) {
  const auto window = static_cast<HWND>(state.options.options_window);
  if (window && IsWindow(window)) SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
}

void Win32HandlerServices::warn(PluginState& state, std::u16string_view text) {
  const std::u16string message(text);
  MessageBoxW(static_cast<HWND>(state.window.host_window), as_wide(message), kCaption,
              MB_OK | MB_ICONWARNING);
}

void Win32HandlerServices::load_settings(PluginState& state) {
  const auto folders = state.settings.path;
  const uint8_t subfolders = state.settings.find_sdir;
  sabla::load_settings(state, window_dc(state));
  if (state.settings.path != folders || state.settings.find_sdir != subfolders) {
    drop_lyric_folder_cache();
  }
}

bool Win32HandlerServices::save_settings(PluginState& state) { return sabla::save_settings(state); }

bool Win32HandlerServices::load_song_lyrics(PluginState& state) {
  return run_song_change(state, player_);
}

bool Win32HandlerServices::save_document_lyrics(PluginState& state) {
  return save_panel_lyrics(state);
}

void Win32HandlerServices::create_frame_surfaces(PluginState& state) {
  sabla::create_frame_surfaces(state);
}

void Win32HandlerServices::release_frame_surfaces(PluginState& state) {
  sabla::release_frame_surfaces(state);
}

void Win32HandlerServices::create_info_font(PluginState& state) { sabla::create_info_font(state); }

void Win32HandlerServices::delete_info_font(PluginState& state) { sabla::delete_info_font(state); }

void Win32HandlerServices::layout_display(PluginState& state) { sabla::layout_display(state); }

void Win32HandlerServices::refresh_pointer(PluginState& state) {
  const auto window = static_cast<HWND>(state.window.host_window);
  RECT rect{};
  if (window && GetWindowRect(window, &rect)) {
    state.window.window_rect = Rect{rect.left, rect.top, rect.right, rect.bottom};
  }
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  state.pointer.cursor_screen = Point{cursor.x, cursor.y};
  if (window && ScreenToClient(window, &cursor)) {
    state.pointer.cursor_client = Point{cursor.x, cursor.y};
  }
}

void Win32HandlerServices::draw_frame(PluginState& state) {
  if (!frame_due(state)) return;
  state.frame.last_frame_ms = state.clock.now_ms;
  const DrawingRect& area = state.instance->rect;
  render_frame(state, static_cast<HWND>(state.window.host_window),
               Rect{area.left, area.top, area.right, area.bottom});
}

void Win32HandlerServices::rebuild_item_fonts(PluginState& state) {
  sabla::rebuild_item_fonts(state);
}

bool Win32HandlerServices::input_gate_open(PluginState& state) {
  if (state.options.options_open) return false;
  // Keys count while the player is the active application: some window of the host's thread
  // is active. A visualizer that is a window of its own (full screen) is owned by the player's
  // main window; keys belong to the player, not to the lyrics, while that owner is the active
  // one. (A visualizer drawn inside the player's window has no owner.)
  const HWND active = GetActiveWindow();
  const HWND owner = GetWindow(static_cast<HWND>(state.window.host_window), GW_OWNER);
  return active != nullptr && active != owner;
}

bool Win32HandlerServices::ask_yes_no(PluginState& state, std::u16string_view text) {
  const std::u16string question(text);
  return MessageBoxW(static_cast<HWND>(state.window.host_window), as_wide(question), kCaption,
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool Win32HandlerServices::delete_file(std::u16string_view path) {
  const std::u16string file(path);
  const bool deleted = DeleteFileW(as_wide(file)) != 0;
  lyric_search_files().forget(path);
  return deleted;
}

void Win32HandlerServices::read_keyboard_state(KeyboardState& keys) {
  if (!GetKeyboardState(keys.data())) keys.fill(0);
}

std::optional<std::u16string> Win32HandlerServices::modal_dialog_title() {
  const HWND dialog = FindWindowW(kModalDialogClass, nullptr);
  if (!dialog) return std::nullopt;
  std::array<wchar_t, kModalTitleMax + 1> title{};
  const int length = GetWindowTextW(dialog, title.data(), static_cast<int>(title.size()));
  return std::u16string(reinterpret_cast<const char16_t*>(title.data()),
                        static_cast<size_t>(length > 0 ? length : 0));
}

bool Win32HandlerServices::ask_beta_yes_no(PluginState& state, std::u16string_view text) {
  // The question belongs over the options window; while that is closed, over the visualizer,
  // so that it cannot end up hidden behind the player.
  auto owner = static_cast<HWND>(state.options.options_window);
  if (!owner || !IsWindow(owner)) owner = static_cast<HWND>(state.window.host_window);
  const std::u16string question(text);
  return MessageBoxW(owner, as_wide(question), kBetaCaption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

bool Win32HandlerServices::export_panel_ipod_notes(PluginState& state) {
  const LyricDocument* panel = lyrics_panel(state);
  if (!panel) return false;
  SystemLyricSaveFiles files;
  return export_ipod_notes_from_document(song_names(state.song), *panel, state.settings, files,
                                         unknown_names(state.strings));
}

bool Win32HandlerServices::launch_search(PluginState& state,
                                         std::optional<std::u16string_view> artist,
                                         std::optional<std::u16string_view> title,
                                         std::optional<std::u16string_view> album, int slot) {
  return sabla::launch_search(state, artist, title, album, slot);
}

}  // namespace sabla
