#include "playlist.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

bool has_problem(const ParsedPlaylist& parsed, const std::string& text) {
  for (const std::string& p : parsed.problems) {
    if (p.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(Playlist, ReadsEveryKeyOfSeveralTracks) {
  const ParsedPlaylist parsed = parse_playlist(
      "\xEF\xBB\xBF# a comment\r\n"
      "[track]\r\n"
      "title = 夜の灯り\r\n"
      "  artist=Someone = Else  \r\n"
      "album =\r\n"
      "genre = Folk\n"
      "kind = MPEG audio file\n"
      "equalizer = Flat\n"
      "composer = A. Writer\n"
      "comments = first pressing\n"
      "location = C:\\Music\\a.mp3\n"
      "lyrics = a.lrc\n"
      "artwork = cover.png\n"
      "length_ms = 184000\n"
      "start_ms = 1000\n"
      "stop_ms = 180000\n"
      "rating = 100\n"
      "year = 1999\n"
      "track = 3/12\n"
      "disc = 2\n"
      "ids = -1 2 2147483647 -2147483648\n"
      "\n"
      "[track]\n"
      "title = second\n"
      "length_ms = 1\n");
  ASSERT_TRUE(parsed.ok()) << parsed.problems.front();
  ASSERT_EQ(parsed.tracks.size(), 2u);
  const PlaylistTrack& t = parsed.tracks[0];
  EXPECT_EQ(t.title, "夜の灯り");
  EXPECT_EQ(t.artist, "Someone = Else");
  EXPECT_EQ(t.album, "");
  EXPECT_EQ(t.genre, "Folk");
  EXPECT_EQ(t.kind, "MPEG audio file");
  EXPECT_EQ(t.equalizer, "Flat");
  EXPECT_EQ(t.composer, "A. Writer");
  EXPECT_EQ(t.comments, "first pressing");
  EXPECT_EQ(t.location, "C:\\Music\\a.mp3");
  EXPECT_EQ(t.lyrics, "a.lrc");
  EXPECT_EQ(t.artwork, "cover.png");
  EXPECT_EQ(t.length_ms, 184000u);
  EXPECT_EQ(t.start_ms, 1000u);
  EXPECT_EQ(t.stop_ms, 180000u);
  EXPECT_EQ(t.end_ms(), 180000u);
  EXPECT_EQ(t.rating, 100);
  EXPECT_EQ(t.year, 1999);
  EXPECT_EQ(t.track_number, 3u);
  EXPECT_EQ(t.track_count, 12u);
  EXPECT_EQ(t.disc_number, 2);
  EXPECT_EQ(t.disc_count, 0);
  EXPECT_EQ(t.ids, (TrackIds{-1, 2, 2147483647, -2147483647 - 1}));
  // Without ids a track takes numbers from its place in the list.
  EXPECT_EQ(parsed.tracks[1].ids, (TrackIds{1, 1, 2, 1002}));
  EXPECT_EQ(parsed.tracks[1].end_ms(), 1u);
}

TEST(Playlist, AFileWithoutTrackLinesIsOneTrack) {
  const ParsedPlaylist parsed = parse_playlist("title = only\nlength_ms = 5000");
  ASSERT_TRUE(parsed.ok()) << parsed.problems.front();
  ASSERT_EQ(parsed.tracks.size(), 1u);
  EXPECT_EQ(parsed.tracks[0].title, "only");
  EXPECT_EQ(parsed.tracks[0].ids, (TrackIds{1, 1, 1, 1001}));
}

TEST(Playlist, ProblemsNameTheirLineOrTrack) {
  const ParsedPlaylist parsed = parse_playlist(
      "[track]\n"             // 1
      "title = x\n"           // 2
      "title = y\n"           // 3
      "length_ms = 1000\n"    // 4
      "colour = red\n"        // 5
      "just words\n"          // 6
      "rating = 101\n"        // 7
      "year = 19x9\n"         // 8
      "track = 3/\n"          // 9
      "ids = 1 2 3\n"         // 10
      "disc = 70000\n"        // 11
      "[track]\n"             // 12
      "artist = nobody\n"     // 13
      "start_ms = 5000\n"     // 14
      "stop_ms = 4000\n"      // 15
      "[track]\n"             // 16
      "title = late\n"        // 17
      "length_ms = 2000\n"    // 18
      "stop_ms = 3000\n"      // 19
      "[track]\n"             // 20
      "title = twin\n"        // 21
      "length_ms = 2000\n"    // 22
      "ids = 1 1 1 1001\n");  // 23
  EXPECT_TRUE(has_problem(parsed, "line 3: \"title\" is given twice")) << parsed.problems.size();
  EXPECT_TRUE(has_problem(parsed, "line 5: unknown key \"colour\""));
  EXPECT_TRUE(has_problem(parsed, "line 6: neither \"[track]\" nor \"key = value\""));
  EXPECT_TRUE(has_problem(parsed, "line 7: rating wants a whole number from 0 to 100"));
  EXPECT_TRUE(has_problem(parsed, "line 8: year wants"));
  EXPECT_TRUE(has_problem(parsed, "line 9: track wants N or N/COUNT"));
  EXPECT_TRUE(has_problem(parsed, "line 10: ids wants four whole 32-bit numbers"));
  EXPECT_TRUE(has_problem(parsed, "line 11: disc wants"));
  EXPECT_TRUE(has_problem(parsed, "track 2 (line 12): no title"));
  EXPECT_TRUE(has_problem(parsed, "track 2 (line 12): no length_ms"));
  EXPECT_TRUE(has_problem(parsed, "track 2 (line 12): start_ms is past the end"));
  EXPECT_TRUE(has_problem(parsed, "track 3 (line 16): stop_ms is past the end"));
  EXPECT_TRUE(has_problem(parsed, "track 4 has the ids of track 1"));
  EXPECT_FALSE(parsed.ok());
}

TEST(Playlist, EmptyTooManyAndOddInputsAreRefused) {
  EXPECT_TRUE(has_problem(parse_playlist(""), "no tracks"));
  EXPECT_TRUE(has_problem(parse_playlist("# only a comment\n\n"), "no tracks"));
  std::string many;
  for (size_t i = 0; i <= kMaxPlaylistTracks; ++i) many += "[track]\ntitle = t\nlength_ms = 1\n";
  EXPECT_TRUE(has_problem(parse_playlist(many), "more than 500 tracks"));
  // Bytes that are no text at all are taken as text, never read past.
  const std::string binary("title = \0\xFF\x80\nlength_ms = 10\n", 27);
  const ParsedPlaylist parsed = parse_playlist(binary);
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.tracks[0].title.size(), 3u);
  // Numbers with signs, spaces inside or leading plus are not numbers here.
  EXPECT_FALSE(parse_playlist("title = t\nlength_ms = +5").ok());
  EXPECT_FALSE(parse_playlist("title = t\nlength_ms = 5 000").ok());
  EXPECT_FALSE(parse_playlist("title = t\nlength_ms = -5").ok());
  EXPECT_FALSE(parse_playlist("title = t\nlength_ms = 0").ok());
  EXPECT_FALSE(parse_playlist("title = t\nlength_ms = 86400001").ok());
  EXPECT_TRUE(parse_playlist("title = t\nlength_ms = 86400000").ok());
  EXPECT_FALSE(parse_playlist("title = t\nlength_ms = 10\nids = 1 2 3 4 5").ok());
  EXPECT_FALSE(parse_playlist("title = t\nlength_ms = 10\nids = 1 2 3 2147483648").ok());
}

}  // namespace
}  // namespace standin
