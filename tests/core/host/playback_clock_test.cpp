// The lyric clock, alone and as the handler drives it with a scripted timer and player.
#include "state/playback_clock.h"

#include <gtest/gtest.h>

#include "core/host/fake_handler_services.h"
#include "core/host/host_test_records.h"

namespace sabla {
namespace {

TEST(PlaybackClock, FollowsThePlayersSecondAndTheTimerBetween) {
  PlaybackClock clock;
  clock.now_ms = 5000;
  EXPECT_EQ(sync_clock(clock, 10, true), ClockStep::kResynchronised);
  EXPECT_EQ(clock.play_time, 10000);
  clock.now_ms = 5400;
  EXPECT_EQ(sync_clock(clock, 10, true), ClockStep::kRunning);
  EXPECT_EQ(clock.play_time, 10400);
  // The timer ran ahead of the player: the next second pulls the clock back onto it.
  clock.now_ms = 6300;
  EXPECT_EQ(sync_clock(clock, 11, true), ClockStep::kResynchronised);
  EXPECT_EQ(clock.play_time, 11000);
  clock.now_ms = 6500;
  EXPECT_EQ(sync_clock(clock, 11, false), ClockStep::kStill);
  EXPECT_EQ(clock.play_time, 11000);
  // A player that cannot be asked leaves the clock on the timer, counted from the last second.
  clock.now_ms = 6800;
  EXPECT_EQ(sync_clock(clock, -1, true), ClockStep::kPlayerUnavailable);
  EXPECT_EQ(clock.player_second, -1);
  EXPECT_EQ(clock.play_time, 11500);
  clock.now_ms = 7000;
  EXPECT_EQ(sync_clock(clock, -7, false), ClockStep::kPlayerUnavailable);
  EXPECT_EQ(clock.player_second, -1);
  EXPECT_EQ(clock.play_time, 11500);
}

TEST(PlaybackClock, RunsAcrossTheTimerWrapAndSurvivesAbsurdPositions) {
  PlaybackClock clock;
  clock.now_ms = 0xFFFFFF00u;
  start_clock(clock, 1000, 0);
  clock.now_ms = 0x100u;  // 512 ms later, after the wrap
  EXPECT_EQ(sync_clock(clock, -1, true), ClockStep::kPlayerUnavailable);
  EXPECT_EQ(clock.play_time, 1512);

  EXPECT_EQ(sync_clock(clock, 3000000, true), ClockStep::kResynchronised);
  EXPECT_EQ(clock.play_time, 2147483647);
}

class HandlerClock : public ::testing::Test {
 protected:
  void SetUp() override {
    VisualInitMessage init{};
    ASSERT_EQ(test::send(state, services, kMessageInit, &init), kStatusOk);
    ShowMessage show{};
    show.window = &window_stand_in;
    show.rect = {0, 0, 300, 400};
    ASSERT_EQ(test::send(state, services, kMessageShow, &show), kStatusOk);
  }

  void idle_at(uint32_t time, int32_t second) {
    services.time = time;
    services.scripted_player.position_second = second;
    ASSERT_EQ(test::send(state, services, kMessageIdle), kStatusOk);
  }
  void play(const TrackRecord& track) {
    PlayMessage play = test::play_message(&track);
    ASSERT_EQ(test::send(state, services, kMessagePlay, &play), kStatusOk);
  }
  void change_track(const TrackRecord& track) {
    ChangeTrackMessage change = test::change_track_message(&track);
    ASSERT_EQ(test::send(state, services, kMessageChangeTrack, &change), kStatusOk);
  }
  void seek(uint32_t ms) {
    SetPositionMessage position{ms};
    ASSERT_EQ(test::send(state, services, kMessageSetPosition, &position), kStatusOk);
  }

  PluginState state;
  test::FakeHandlerServices services;
  int window_stand_in = 0;
};

TEST_F(HandlerClock, SeekWhilePausedStandsStillUntilPlayResumes) {
  const TrackRecord track = test::make_track(u"Song", u"Artist", u"Album");
  idle_at(1000, 0);
  play(track);
  idle_at(3000, 2);
  ASSERT_EQ(test::send(state, services, kMessagePause), kStatusOk);

  seek(83000);
  EXPECT_EQ(state.clock.play_time, 83000);
  EXPECT_EQ(state.instance->seek_position_ms, 83000);
  for (uint32_t time = 3100; time < 6000; time += 500) {
    idle_at(time, 83);
    EXPECT_EQ(state.clock.play_time, 83000);
  }
  // Going on from the pause neither jumps ahead by the pause nor loses the position.
  ASSERT_EQ(test::send(state, services, kMessageUnpause), kStatusOk);
  idle_at(6250, 83);
  EXPECT_EQ(state.clock.play_time, 83000 + (6250 - 5600));
}

TEST_F(HandlerClock, PlayerSecondsPullTheTimerBack) {
  play(test::make_track(u"Song", u"Artist", u"Album"));
  idle_at(10000, 4);
  EXPECT_EQ(state.clock.play_time, 4000);
  idle_at(10600, 4);
  EXPECT_EQ(state.clock.play_time, 4600);
  idle_at(11300, 4);  // the player lags: the timer runs on
  EXPECT_EQ(state.clock.play_time, 5300);
  idle_at(11350, 5);
  EXPECT_EQ(state.clock.play_time, 5000);
  EXPECT_EQ(state.clock.last_player_second, 5);
  EXPECT_EQ(services.calls["idle_processing"], 4);
}

TEST_F(HandlerClock, SameSongResumesFromThePauseWithItsDelay) {
  state.settings.delay_pause = 250;
  const TrackRecord track = test::make_track(u"Song", u"Artist", u"Album", 7, 8);
  idle_at(1000, 0);
  play(track);
  idle_at(1500, 0);
  EXPECT_EQ(state.clock.play_time, 500);
  ASSERT_EQ(test::send(state, services, kMessagePause), kStatusOk);
  idle_at(9000, 0);
  EXPECT_EQ(state.clock.play_time, 500);
  const int pipeline_runs = services.calls["load_song_lyrics"];
  const int location_asks = services.scripted_player.location_calls;

  play(track);
  EXPECT_TRUE(state.instance->playing);
  EXPECT_EQ(services.calls["load_song_lyrics"], pipeline_runs);
  EXPECT_EQ(services.scripted_player.location_calls, location_asks);
  idle_at(9100, 0);
  EXPECT_EQ(state.clock.play_time, 500 + 250 + 100);

  // Another identity value makes it another song, which starts over.
  play(test::make_track(u"Song", u"Artist", u"Album", 7, 9));
  EXPECT_EQ(services.calls["load_song_lyrics"], pipeline_runs + 1);
  EXPECT_EQ(state.clock.play_time, 0);
}

TEST_F(HandlerClock, StartDelaysPutTheLyricsAheadOrBehind) {
  state.settings.delay_playstart = 500;
  state.settings.delay_nextstart = -300;
  TrackRecord first = test::make_track(u"One", u"A", u"B");
  first.start_time_ms = 2000;
  TrackRecord second = test::make_track(u"Two", u"A", u"B");
  second.start_time_ms = 2000;

  idle_at(1000, 2);
  play(first);
  EXPECT_EQ(state.clock.play_time, 2000);
  idle_at(1100, 2);
  EXPECT_EQ(state.clock.play_time, 2000 + 500 + 100);

  change_track(second);
  idle_at(1200, 2);
  EXPECT_EQ(state.clock.play_time, 2000 - 300 + 100);
  EXPECT_EQ(state.song.title, u"Two");
}

TEST_F(HandlerClock, HiddenOrUnreachablePlayer) {
  play(test::make_track(u"Song", u"Artist", u"Album"));
  idle_at(1000, 1);
  // The player cannot be asked: the clock runs on the timer and the idle work goes on.
  idle_at(1400, -1);
  EXPECT_EQ(state.clock.play_time, 1400);
  EXPECT_EQ(state.clock.player_second, -1);
  EXPECT_EQ(services.calls["idle_processing"], 2);

  // ... except under the options window, which is closed and ends the idle call.
  int options_window = 0;
  state.options.options_window = &options_window;
  state.options.options_open = true;
  idle_at(1600, -1);
  EXPECT_EQ(services.calls["close_options_window"], 1);
  EXPECT_EQ(services.calls["idle_processing"], 2);
  EXPECT_EQ(state.clock.play_time, 1400);
  state.options = {};

  // While hidden the player is not asked and the clock waits.
  ASSERT_EQ(test::send(state, services, kMessageHide), kStatusOk);
  const int asks = services.scripted_player.position_calls;
  idle_at(5000, 4);
  EXPECT_EQ(services.scripted_player.position_calls, asks);
  EXPECT_EQ(state.clock.now_ms, 5000u);
  EXPECT_EQ(state.clock.play_time, 1400);
}

// The player is reached once for the time it is shown, and each idle call asks one question.
TEST_F(HandlerClock, ShownTimeIsOnePlayerSessionWithOneQuestionPerIdleCall) {
  test::ScriptedPlayer& player = services.scripted_player;
  EXPECT_TRUE(player.in_session);
  EXPECT_EQ(player.sessions_begun, 1);
  for (uint32_t call = 1; call <= 3; ++call) {
    const int asks = player.position_calls;
    idle_at(1000 * call, static_cast<int32_t>(call));
    EXPECT_EQ(player.position_calls, asks + 1);
  }
  ASSERT_EQ(test::send(state, services, kMessageHide), kStatusOk);
  EXPECT_FALSE(player.in_session);

  ShowMessage show{};
  show.window = &window_stand_in;
  show.rect = {0, 0, 300, 400};
  ASSERT_EQ(test::send(state, services, kMessageShow, &show), kStatusOk);
  EXPECT_TRUE(player.in_session);
  EXPECT_EQ(player.sessions_begun, 2);
  // "clr " without "hide" ends it too.
  ASSERT_EQ(test::send(state, services, kMessageClear), kStatusOk);
  EXPECT_FALSE(player.in_session);
}

}  // namespace
}  // namespace sabla
