#include "display_text.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(DisplayText, PositionsInMinutesAndTwoDigitSeconds) {
  EXPECT_EQ(format_position(0), "0:00");
  EXPECT_EQ(format_position(9999), "0:09");
  EXPECT_EQ(format_position(184000), "3:04");
  EXPECT_EQ(format_position(3600000), "60:00");
  EXPECT_EQ(format_position(4294967295u), "71582:47");
}

TEST(DisplayText, TracksByArtistAndTitle) {
  PlaylistTrack track;
  track.title = "Tide Tables";
  track.length_ms = 95000;
  EXPECT_EQ(track_summary(track), "Tide Tables  (1:35)");
  track.artist = "Tsukimi Lanterns";
  EXPECT_EQ(track_summary(track), "Tsukimi Lanterns - Tide Tables  (1:35)");
}

}  // namespace
}  // namespace standin
