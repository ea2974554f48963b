// The bridge keeping the player's application object between show and hide: the idle calls'
// position questions, a server that goes away and comes back, and the busy test first.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "player_bridge_fixture.h"

namespace sabla::test {
namespace {

using Calls = std::vector<std::wstring>;

const std::wstring kPositionGet = L"iTunes.PlayerPosition get";

TEST_F(PlayerBridgeTest, SessionKeepsOneObjectAndAsksThePositionOncePerCall) {
  fake.position = 42;
  bridge.begin_session();
  for (int call = 0; call < 5; ++call) EXPECT_EQ(bridge.player_position(status), 42);
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", kPositionGet, kPositionGet, kPositionGet,
                            kPositionGet, kPositionGet}));
  EXPECT_EQ(fake.script.objects_created, 1);
  EXPECT_EQ(fake.script.name_lookups, 1);  // the member's id is learnt once

  // Every other operation uses the same object.
  EXPECT_TRUE(bridge.seek(7, status));
  EXPECT_TRUE(bridge.has_current_track(status));
  EXPECT_EQ(bridge.player_position(status), 7);
  EXPECT_EQ(fake.script.objects_created, 1);
  EXPECT_EQ(calls(), (Calls{L"iTunes.PlayerPosition put", L"iTunes.CurrentTrack get",
                            kPositionGet}));

  // The end of the session lets go of it; afterwards each operation has its own again.
  bridge.end_session();
  EXPECT_EQ(fake.script.live_objects, 0);
  EXPECT_EQ(bridge.player_position(status), 7);
  EXPECT_EQ(fake.script.objects_created, 2);
  EXPECT_EQ(fake.script.live_objects, 0);
  bridge.end_session();  // not open: nothing happens
}

TEST_F(PlayerBridgeTest, ServerGoneIsLeftBehindAndTheNextOperationReachesTheNewOne) {
  struct Case {
    HRESULT answer;
    bool server_gone;
  };
  const Case cases[] = {
      {RPC_E_DISCONNECTED, true},       {static_cast<HRESULT>(0x800706BA), true},
      {RPC_E_SERVER_DIED, true},        {RPC_E_SERVER_DIED_DNE, true},
      {CO_E_OBJNOTCONNECTED, true},     {static_cast<HRESULT>(0x800706BE), true},
      {RPC_E_CALL_REJECTED, false},     {E_FAIL, false},
  };
  fake.position = 42;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.answer);
    bridge.begin_session();
    fake.script.objects_created = 0;
    EXPECT_EQ(bridge.player_position(status), 42);
    calls();

    if (c.server_gone) {
      restart_server(c.answer);
    } else {
      fake.script.fail(L"PlayerPosition", c.answer);
    }
    // The failing operation asks once and creates nothing.
    EXPECT_EQ(bridge.player_position(status), -1);
    EXPECT_EQ(calls(), Calls{kPositionGet});
    EXPECT_EQ(fake.script.objects_created, 1);
    fake.script.failures.clear();

    // A gone server's object is replaced by the next operation, once; any other failure keeps it.
    EXPECT_EQ(bridge.player_position(status), 42);
    EXPECT_EQ(bridge.player_position(status), 42);
    EXPECT_EQ(fake.script.objects_created, c.server_gone ? 2 : 1);
    EXPECT_EQ(calls(), c.server_gone ? (Calls{L"iTunes as IiTunes", kPositionGet, kPositionGet})
                                     : (Calls{kPositionGet, kPositionGet}));
    bridge.end_session();
    fake.script.gone_error = S_OK;
    EXPECT_EQ(fake.script.live_objects, 0);
  }
}

TEST_F(PlayerBridgeTest, BusyStopsEveryOperationBeforeTheKeptObjectIsUsed) {
  fake.position = 42;
  bridge.begin_session();
  EXPECT_EQ(bridge.player_position(status), 42);
  calls();
  for (const TopLevelWindow& busy : {TopLevelWindow{u"iTunesCustomModalDialog", u"", u""},
                                     TopLevelWindow{u"#32770", u"Delete", u"iTunes"}}) {
    windows.windows = {busy};
    status = {};
    const int asked = windows.asked;
    EXPECT_EQ(bridge.player_position(status), -1);
    EXPECT_FALSE(bridge.seek(3, status));
    EXPECT_FALSE(bridge.has_current_track(status));
    EXPECT_EQ(windows.asked, asked + 3);
    EXPECT_EQ(calls(), Calls{});
    EXPECT_EQ(status.text, u"iTunesCOM was discontinued.");
  }
  windows.windows.clear();
  EXPECT_EQ(bridge.player_position(status), 42);
  EXPECT_EQ(fake.script.objects_created, 1);
}

// What one position question costs, each operation on its own (reaching the player anew)
// against the kept object; with the system's window list for the busy test, and without it.
TEST_F(PlayerBridgeTest, PositionQuestionCost) {
  ComPlayerBridge system_bridge;
  auto median_us = [&](auto&& body) {
    std::vector<double> micros;
    for (int call = 0; call < 400; ++call) {
      const auto start = std::chrono::steady_clock::now();
      body();
      micros.push_back(
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
              .count());
    }
    std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
    return micros[micros.size() / 2];
  };
  const auto ask = [&](ComPlayerBridge& b) { return [&] { b.player_position(status); }; };
  const double busy_test = median_us([&] { check_player_busy(system_window_source(), status); });
  const double alone = median_us(ask(bridge));
  const double system_alone = median_us(ask(system_bridge));
  bridge.begin_session();
  system_bridge.begin_session();
  const double kept = median_us(ask(bridge));
  const double system_kept = median_us(ask(system_bridge));
  system_bridge.end_session();
  std::printf("position question, median us: busy test %.1f; alone %.1f (%.1f with the busy test)"
              ", kept %.1f (%.1f with the busy test)\n",
              busy_test, alone, system_alone, kept, system_kept);
  EXPECT_LT(kept, alone);
  calls();
}

}  // namespace
}  // namespace sabla::test
