#include "track_description.h"

#include <gtest/gtest.h>

#include <fstream>

namespace standin {
namespace {

bool has_problem(const ParsedTrack& parsed, const std::string& text) {
  for (const std::string& p : parsed.problems) {
    if (p.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(TrackDescription, ReadsKeysWithCommentsMarkSpacesAndCrLf) {
  const ParsedTrack parsed = parse_track_description(
      "\xEF\xBB\xBF# a comment\r\n"
      "title = 夜の灯り\r\n"
      "\r\n"
      "  artist=Someone = Else  \r\n"
      "album =\r\n"
      "length_ms = 184000\r\n"
      "lyrics = a - b.lrc\r\n"
      "artwork = cover.png");
  ASSERT_TRUE(parsed.ok()) << parsed.problems.front();
  const TrackDescription& t = parsed.track;
  EXPECT_EQ(t.title, "夜の灯り");
  EXPECT_EQ(t.artist, "Someone = Else");
  EXPECT_EQ(t.album, "");
  EXPECT_EQ(t.length_ms, 184000u);
  EXPECT_EQ(t.lyrics, "a - b.lrc");
  EXPECT_EQ(t.artwork, "cover.png");
}

TEST(TrackDescription, ProblemsNameTheirLine) {
  const ParsedTrack parsed = parse_track_description(
      "title = x\n"
      "length_ms = 1000\n"
      "titel = y\n"
      "title = z\n"
      "just words\n");
  EXPECT_TRUE(has_problem(parsed, "line 3: unknown key \"titel\""));
  EXPECT_TRUE(has_problem(parsed, "line 4: \"title\" is given twice"));
  EXPECT_TRUE(has_problem(parsed, "line 5: no '='"));
  EXPECT_EQ(parsed.track.title, "x");
}

TEST(TrackDescription, LengthMustBeAWholePositiveNumberWithinADay) {
  for (const char* bad :
       {"0", "-1", "3:04", "1.5", "", "86400001", "99999999999999999999999", "12 34", "0x10"}) {
    const ParsedTrack parsed =
        parse_track_description(std::string("title = t\nlength_ms = ") + bad + "\n");
    EXPECT_TRUE(has_problem(parsed, "line 2: length_ms wants")) << bad;
  }
  EXPECT_TRUE(parse_track_description("title=t\nlength_ms=86400000").ok());
}

TEST(TrackDescription, TitleAndLengthAreRequired) {
  const ParsedTrack parsed = parse_track_description("# nothing\n");
  EXPECT_TRUE(has_problem(parsed, "no title"));
  EXPECT_TRUE(has_problem(parsed, "no length_ms"));
}

TEST(TrackFiles, SmallFilesAreReadWholeAndLargeOnesRefused) {
  const auto path = std::filesystem::temp_directory_path() / "standin_track_test.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << std::string(100, 'a');
  }
  EXPECT_EQ(read_small_file(path, 100), std::string(100, 'a'));
  EXPECT_EQ(read_small_file(path, 99), std::nullopt);
  std::filesystem::remove(path);
  EXPECT_EQ(read_small_file(path, 100), std::nullopt);
}

TEST(TrackFiles, NamedFilesLieBesideTheDescription) {
  const std::filesystem::path description = std::filesystem::path("samples") / "t.txt";
  EXPECT_EQ(beside(description, "a - b.lrc"), std::filesystem::path("samples") / "a - b.lrc");
  EXPECT_EQ(beside(description, ""), std::filesystem::path());
  const std::filesystem::path absolute = std::filesystem::temp_directory_path() / "c.png";
  EXPECT_EQ(beside(description, absolute.string()), absolute);
}

}  // namespace
}  // namespace standin
