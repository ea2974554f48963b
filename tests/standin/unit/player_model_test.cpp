#include "player_model.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

using Kind = PlayerEvent::Kind;

PlaylistTrack track(const std::string& title, uint32_t length, uint32_t start = 0,
                    uint32_t stop = 0) {
  PlaylistTrack t;
  t.title = title;
  t.length_ms = length;
  t.start_ms = start;
  t.stop_ms = stop;
  return t;
}

class PlayerModelTest : public ::testing::Test {
 protected:
  PlayerModel make(std::vector<PlaylistTrack> tracks) {
    return PlayerModel(std::move(tracks), [this] { return now; });
  }
  PlayerModel three() {
    return make({track("one", 10000), track("two", 20000, 2000, 15000), track("three", 5000)});
  }
  uint64_t now = 1000000;
};

TEST_F(PlayerModelTest, PositionRunsWhilePlayingAndStandsStillOtherwise) {
  PlayerModel p = three();
  EXPECT_EQ(p.state(), PlayState::kStopped);
  EXPECT_EQ(p.position_ms(), 0u);
  now += 500;
  EXPECT_EQ(p.position_ms(), 0u);
  EXPECT_TRUE(p.play());
  EXPECT_FALSE(p.play());
  now += 1500;
  EXPECT_EQ(p.position_ms(), 1500u);
  EXPECT_TRUE(p.pause());
  now += 4000;
  EXPECT_EQ(p.position_ms(), 1500u);
  EXPECT_TRUE(p.seek(83000));  // past the end: the end
  EXPECT_EQ(p.position_ms(), 10000u);
  EXPECT_TRUE(p.seek(3000));
  EXPECT_EQ(p.position_ms(), 3000u);
  EXPECT_TRUE(p.resume());
  EXPECT_FALSE(p.resume());
  now += 250;
  EXPECT_EQ(p.position_ms(), 3250u);
  EXPECT_EQ(p.take_events(), (std::vector<PlayerEvent>{{Kind::kPlay, 0, 0},
                                                       {Kind::kPause, 0, 0},
                                                       {Kind::kSetPosition, 0, 10000},
                                                       {Kind::kSetPosition, 0, 3000},
                                                       {Kind::kUnpause, 0, 0}}));
  EXPECT_TRUE(p.take_events().empty());
  EXPECT_TRUE(p.stop());
  EXPECT_FALSE(p.stop());
  EXPECT_EQ(p.position_ms(), 0u);
  EXPECT_EQ(p.take_events(), (std::vector<PlayerEvent>{{Kind::kStop, 0, 0}}));
}

TEST_F(PlayerModelTest, PlayingTracksFollowOneAnotherAndStopAfterTheLast) {
  PlayerModel p = three();
  p.play();
  EXPECT_TRUE(p.next());
  EXPECT_EQ(p.current(), 1u);
  EXPECT_EQ(p.position_ms(), 2000u);  // the track's start time
  now += 12999;
  p.update();
  EXPECT_EQ(p.current(), 1u);
  now += 1;  // the stop time, 15000
  p.update();
  EXPECT_EQ(p.current(), 2u);
  EXPECT_EQ(p.state(), PlayState::kPlaying);
  now += 5000;
  p.update();
  EXPECT_EQ(p.current(), 0u);
  EXPECT_EQ(p.state(), PlayState::kStopped);
  EXPECT_EQ(p.take_events(), (std::vector<PlayerEvent>{{Kind::kPlay, 0, 0},
                                                       {Kind::kChangeTrack, 1, 0},
                                                       {Kind::kChangeTrack, 2, 0},
                                                       {Kind::kStop, 0, 0}}));
}

TEST_F(PlayerModelTest, ChangingTracksWhileNotPlayingIsSilentUntilPlay) {
  PlayerModel p = three();
  p.play();
  p.pause();
  p.take_events();
  EXPECT_TRUE(p.next());
  EXPECT_EQ(p.state(), PlayState::kStopped);
  EXPECT_EQ(p.current(), 1u);
  EXPECT_TRUE(p.previous());
  EXPECT_TRUE(p.previous());  // stays on the first
  EXPECT_EQ(p.current(), 0u);
  p.next();
  p.next();
  EXPECT_TRUE(p.next());  // after the last comes the first
  EXPECT_EQ(p.current(), 0u);
  EXPECT_TRUE(p.take_events().empty());
  p.play();
  EXPECT_EQ(p.take_events(), (std::vector<PlayerEvent>{{Kind::kPlay, 0, 0}}));
}

TEST_F(PlayerModelTest, PreviousWhilePlayingGoesBackOrRestartsTheFirst) {
  PlayerModel p = three();
  p.play();
  now += 4000;
  EXPECT_TRUE(p.previous());
  EXPECT_EQ(p.position_ms(), 0u);
  p.next();
  p.next();
  EXPECT_TRUE(p.previous());
  EXPECT_EQ(p.current(), 1u);
  EXPECT_EQ(p.take_events(), (std::vector<PlayerEvent>{{Kind::kPlay, 0, 0},
                                                       {Kind::kSetPosition, 0, 0},
                                                       {Kind::kChangeTrack, 1, 0},
                                                       {Kind::kChangeTrack, 2, 0},
                                                       {Kind::kChangeTrack, 1, 0}}));
}

TEST_F(PlayerModelTest, FastForwardAndRewindSkipWithinTheTrack) {
  PlayerModel p = make({track("long", 60000)});
  p.seek(5000);
  EXPECT_TRUE(p.fast_forward());
  EXPECT_EQ(p.position_ms(), 15000u);
  EXPECT_TRUE(p.rewind());
  EXPECT_TRUE(p.rewind());
  EXPECT_EQ(p.position_ms(), 0u);
  p.seek(55000);
  p.fast_forward();
  EXPECT_EQ(p.position_ms(), 60000u);
  // A played-out track plays again from its start.
  p.play();
  EXPECT_EQ(p.position_ms(), 0u);
}

TEST_F(PlayerModelTest, LyricsAndIdsPerTrack) {
  std::vector<PlaylistTrack> tracks = {track("a", 1000), track("b", 1000)};
  tracks[1].ids = {1, 2, 3, 4};
  PlayerModel p = make(tracks);
  p.set_lyrics(1, u"words");
  EXPECT_EQ(p.lyrics(1), u"words");
  EXPECT_EQ(p.lyrics(0), u"");
  EXPECT_EQ(p.find({1, 2, 3, 4}), 1u);
  EXPECT_EQ(p.find({1, 2, 3, 5}), std::nullopt);
  EXPECT_THROW(p.set_lyrics(2, u"x"), std::out_of_range);
}

TEST_F(PlayerModelTest, AnEmptyPlaylistDoesNothing) {
  PlayerModel p = make({});
  EXPECT_FALSE(p.has_track());
  for (bool done : {p.play(), p.pause(), p.resume(), p.stop(), p.seek(5), p.next(), p.previous(),
                    p.fast_forward(), p.rewind()}) {
    EXPECT_FALSE(done);
  }
  p.update();
  EXPECT_EQ(p.position_ms(), 0u);
  EXPECT_TRUE(p.take_events().empty());
}

}  // namespace
}  // namespace standin
