#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "fake_itunes.h"
#include "player/com_player_bridge_win32.h"
#include "player/itunes_ids_win32.h"
#include "player/window_source_win32.h"

namespace sabla::test {
namespace {

// A real top-level window, destroyed with its owner object.
class TestWindow {
 public:
  TestWindow(const wchar_t* class_name, const std::wstring& title, HWND owner = nullptr)
      : window_(CreateWindowExW(0, class_name, title.c_str(), WS_POPUP, 0, 0, 10, 10, owner,
                                nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~TestWindow() {
    if (window_) DestroyWindow(window_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// Window classes of the names the player uses, registered in this process.
class WindowClass {
 public:
  explicit WindowClass(const wchar_t* name) : name_(name) {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = name;
    registered_ = RegisterClassW(&window_class) != 0;
  }
  ~WindowClass() {
    if (registered_) UnregisterClassW(name_, GetModuleHandleW(nullptr));
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  bool registered() const { return registered_; }

 private:
  const wchar_t* name_;
  bool registered_;
};

class PlayerBusyWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    registration_.emplace(CLSID_iTunesApp, fake.factory());
    ASSERT_HRESULT_SUCCEEDED(registration_->result());
    fake.position = 77;
    ASSERT_TRUE(plain.registered());
  }
  void TearDown() override {
    EXPECT_EQ(fake.script.live_objects, 0);
    registration_.reset();
    CoUninitialize();
  }

  // Asks the player for its position through the real window list.
  bool busy() {
    status = {};
    const int32_t position = bridge.player_position(status);
    if (position == 77) {
      EXPECT_EQ(status.frames, 0);
      return false;
    }
    EXPECT_EQ(position, -1);
    EXPECT_EQ(status.text, u"iTunesCOM was discontinued.");
    EXPECT_EQ(status.frames, 10);
    return true;
  }

  FakeItunes fake;
  ComPlayerBridge bridge{system_window_source()};
  StatusMessage status;
  WindowClass plain{L"SablaPlayerTestWindow"};

 private:
  std::optional<ClassRegistration> registration_;
};

TEST_F(PlayerBusyWindowsTest, ThePlayersModalWindowsMakeItBusy) {
  EXPECT_FALSE(busy());
  for (const wchar_t* name : {L"iTunesCustomModalDialog", L"iTunesCustomFauxModalDialog"}) {
    WindowClass modal(name);
    ASSERT_TRUE(modal.registered());
    {
      TestWindow window(name, L"");
      ASSERT_TRUE(window.get());
      const int created = fake.script.objects_created;
      EXPECT_TRUE(busy()) << name;
      EXPECT_EQ(fake.script.objects_created, created);  // no COM call at all
    }
    EXPECT_FALSE(busy());
  }
}

TEST_F(PlayerBusyWindowsTest, DialogsOwnedByThePlayerMakeItBusyUnlessTheyAreOurs) {
  TestWindow player(L"SablaPlayerTestWindow", L"iTunes");
  ASSERT_TRUE(player.get());
  {
    TestWindow dialog(L"#32770", L"Remove", player.get());
    ASSERT_TRUE(dialog.get());
    EXPECT_TRUE(busy());
    SetWindowTextW(dialog.get(), L"Sabla");
    EXPECT_FALSE(busy());
  }
  {
    WindowClass host(L"NativeHWNDHost");
    ASSERT_TRUE(host.registered());
    TestWindow window(L"NativeHWNDHost", L"Sabla", player.get());
    ASSERT_TRUE(window.get());
    EXPECT_TRUE(busy());
    SetWindowTextW(player.get(), L"Media player");
    EXPECT_FALSE(busy());
  }
  // An unowned dialog belongs to nobody.
  TestWindow dialog(L"#32770", L"Remove");
  EXPECT_FALSE(busy());
}

TEST_F(PlayerBusyWindowsTest, TitlesAreReadUpTo255Characters) {
  // "iTunes" ending at the 255th character is seen; one character later it is not.
  TestWindow player(L"SablaPlayerTestWindow", std::wstring(249, L'x') + L"iTunes" + L"yyyy");
  TestWindow dialog(L"#32770", L"Remove", player.get());
  ASSERT_TRUE(dialog.get());
  EXPECT_TRUE(busy());
  SetWindowTextW(player.get(), (std::wstring(250, L'x') + L"iTunes").c_str());
  EXPECT_FALSE(busy());
  // The same for our own name in the dialog's title.
  SetWindowTextW(player.get(), L"iTunes");
  SetWindowTextW(dialog.get(), (std::wstring(250, L'x') + L"Sabla").c_str());
  EXPECT_FALSE(busy());
  SetWindowTextW(dialog.get(), (std::wstring(251, L'x') + L"Sabla").c_str());
  EXPECT_TRUE(busy());
}

}  // namespace
}  // namespace sabla::test
