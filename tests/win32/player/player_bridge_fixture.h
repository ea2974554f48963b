#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/player/scripted_windows.h"
#include "fake_itunes.h"
#include "player/com_player_bridge_win32.h"
#include "player/itunes_ids_win32.h"

namespace sabla::test {

inline std::u16string u16(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// A bridge whose player is a FakeItunes registered as this process's automation server, with
// a scripted (not busy) window list. Every test ends with every fake object released.
class PlayerBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    registration_.emplace(CLSID_iTunesApp, fake.factory());
    ASSERT_HRESULT_SUCCEEDED(registration_->result());
    fake.tracks = {
        {L"C:\\Music\\a.mp3", L"[00:01:00]one", std::string("JPEG-A"), {1, 2, 3, 4}, true},
        {L"C:\\Music\\b.m4a", L"", std::nullopt, {1, 2, 5, 6}, true},
    };
    fake.current = 0;
  }

  void TearDown() override {
    bridge.end_session();
    fake.script.replacements.clear();
    EXPECT_EQ(fake.script.live_objects, 0);
    registration_.reset();
    CoUninitialize();
  }

  // The server ends and a new one takes its place: the objects handed out so far answer
  // `error` from now on, new ones come from the new registration.
  void restart_server(HRESULT error) {
    fake.script.server_gone(error);
    registration_.reset();
    registration_.emplace(CLSID_iTunesApp, fake.factory());
    ASSERT_HRESULT_SUCCEEDED(registration_->result());
  }

  // The calls recorded since the last look.
  std::vector<std::wstring> calls() { return std::exchange(fake.script.calls, {}); }

  FakeItunes fake;
  ScriptedWindows windows;
  ComPlayerBridge bridge{windows};
  StatusMessage status{u"Saved lrc", 50};

 private:
  std::optional<ClassRegistration> registration_;
};

}  // namespace sabla::test
