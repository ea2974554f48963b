#include "transport_clock.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(TransportClock, RunsWhilePlayingAndStandsWhilePaused) {
  TransportClock clock(10000);
  EXPECT_EQ(clock.position(0), 0u);
  clock.play(0);
  EXPECT_TRUE(clock.playing(0));
  EXPECT_EQ(clock.position(1500), 1500u);
  clock.pause(2000);
  EXPECT_FALSE(clock.playing(5000));
  EXPECT_EQ(clock.position(5000), 2000u);
  clock.play(7000);
  EXPECT_EQ(clock.position(7250), 2250u);
}

TEST(TransportClock, StopsAtTheEndAndPlayAgainStartsOver) {
  TransportClock clock(3000);
  clock.play(100);
  EXPECT_EQ(clock.position(9999), 3000u);
  EXPECT_FALSE(clock.playing(9999));
  clock.play(10000);
  EXPECT_EQ(clock.position(10400), 400u);
}

TEST(TransportClock, SeekKeepsThePlayStateAndStaysInsideTheTrack) {
  TransportClock clock(60000);
  clock.seek(83000, 0);
  EXPECT_EQ(clock.position(10), 60000u);
  clock.seek(20000, 50);
  EXPECT_FALSE(clock.playing(60));
  EXPECT_EQ(clock.position(500), 20000u);
  clock.play(1000);
  clock.seek(5000, 2000);
  EXPECT_TRUE(clock.playing(2000));
  EXPECT_EQ(clock.position(2600), 5600u);
}

TEST(TransportClock, WithoutATrackNothingPlays) {
  TransportClock clock;
  clock.play(0);
  EXPECT_FALSE(clock.playing(100));
  EXPECT_EQ(clock.position(100), 0u);
}

TEST(TransportClock, PositionsAreWrittenAsMinutesAndSeconds) {
  EXPECT_EQ(format_position(0), "0:00");
  EXPECT_EQ(format_position(9999), "0:09");
  EXPECT_EQ(format_position(184000), "3:04");
  EXPECT_EQ(format_position(3600000), "60:00");
}

}  // namespace
}  // namespace standin
