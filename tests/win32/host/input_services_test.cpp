// What the idle input asks of Windows: the thread's keyboard state and the player's modal
// dialog, found by its window class.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/host/scripted_player.h"
#include "host/handler_services_win32.h"
#include "state/plugin_state.h"
#include "win32/host/test_window.h"

namespace sabla {
namespace {

class InputServices : public ::testing::Test {
 protected:
  test::ScriptedPlayer player;
  Win32HandlerServices services{player, GetModuleHandleW(nullptr)};
};

TEST_F(InputServices, KeyboardStateIsTheThreadsOwn) {
  BYTE saved[256]{};
  ASSERT_TRUE(GetKeyboardState(saved));
  BYTE pressed[256]{};
  pressed[VK_SHIFT] = 0x80;
  pressed[0x72] = 0x80;  // F3
  ASSERT_TRUE(SetKeyboardState(pressed));
  KeyboardState keys{};
  services.read_keyboard_state(keys);
  SetKeyboardState(saved);
  EXPECT_TRUE(key_down(keys, kVkShift));
  EXPECT_TRUE(key_down(keys, 0x72));
  EXPECT_FALSE(key_down(keys, kVkControl));
}

TEST_F(InputServices, ModalDialogTitleIsFoundByClassAndCut) {
  EXPECT_FALSE(services.modal_dialog_title().has_value());

  WNDCLASSW wc{};
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"iTunesCustomModalDialog";
  ASSERT_TRUE(RegisterClassW(&wc));
  const std::wstring long_title(1500, L'\u6B4C');
  const HWND dialog = CreateWindowW(L"iTunesCustomModalDialog", long_title.c_str(), WS_POPUP, 0, 0,
                                    10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(dialog);
  const std::optional<std::u16string> cut = services.modal_dialog_title();
  SetWindowTextW(dialog, L"Song \u2013 Artist");
  const std::optional<std::u16string> title = services.modal_dialog_title();
  DestroyWindow(dialog);
  UnregisterClassW(L"iTunesCustomModalDialog", GetModuleHandleW(nullptr));

  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(*cut, std::u16string(1024, u'\u6B4C'));
  EXPECT_TRUE(title == u"Song \u2013 Artist");
  EXPECT_FALSE(services.modal_dialog_title().has_value());
}

TEST_F(InputServices, KeysCountWhileThePlayerIsActiveButNotOverAFullScreenOwner) {
  PluginState state;
  const test::TestWindow player_window;
  const HWND player = player_window.frame();
  const HWND inside = player_window.visualizer();
  const HWND full_screen = CreateWindowW(L"SablaHandlerTestWindow", L"full screen", WS_POPUP, 0, 0,
                                         100, 100, player, nullptr, GetModuleHandleW(nullptr),
                                         nullptr);
  ASSERT_TRUE(player && inside && full_screen);

  // Drawn inside the player's window: keys count while the player is active.
  state.window.host_window = inside;
  SetActiveWindow(player);
  EXPECT_TRUE(services.input_gate_open(state));
  state.options.options_open = true;
  EXPECT_FALSE(services.input_gate_open(state));
  state.options.options_open = false;

  // A full-screen window of its own, owned by the player's window.
  state.window.host_window = full_screen;
  SetActiveWindow(full_screen);
  EXPECT_TRUE(services.input_gate_open(state));
  SetActiveWindow(player);
  EXPECT_FALSE(services.input_gate_open(state));

  DestroyWindow(full_screen);
}

}  // namespace
}  // namespace sabla
