// The bundled samples must stay usable: the demo and later scenarios play it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "playlist.h"
#include "small_file.h"
#include "text_codec.h"

namespace standin {
namespace {

const std::filesystem::path kSamples = STANDIN_SAMPLES_DIR;

uint32_t big_endian32(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes.at(offset + i));
  return value;
}

// Reads "[mm:ss:cc]" at the start of `line`; -1 when the line does not start with one.
int32_t leading_tag_ms(const std::u16string& line) {
  if (line.size() < 10 || line[0] != u'[' || line[3] != u':' || line[6] != u':' ||
      line[9] != u']') {
    return -1;
  }
  int32_t fields[3] = {};
  for (int f = 0; f < 3; ++f) {
    for (int d = 0; d < 2; ++d) {
      const char16_t c = line[1 + 3 * f + d];
      if (c < u'0' || c > u'9') return -1;
      fields[f] = fields[f] * 10 + (c - u'0');
    }
  }
  if (fields[1] > 59) return -1;
  return fields[0] * 60000 + fields[1] * 1000 + fields[2] * 10;
}

bool is_japanese(char16_t c) {
  return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF);
}

class SamplePlaylist : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto text = read_small_file(kSamples / "playlist.txt", kMaxPlaylistBytes);
    ASSERT_TRUE(text.has_value());
    const ParsedPlaylist parsed = parse_playlist(*text);
    ASSERT_TRUE(parsed.ok()) << parsed.problems.front();
    ASSERT_EQ(parsed.tracks.size(), 3u);
    track = parsed.tracks[0];
    plain = parsed.tracks[1];
    folder_only = parsed.tracks[2];
  }

  PlaylistTrack track;        // with lyrics and artwork
  PlaylistTrack plain;        // without either
  PlaylistTrack folder_only;  // lyrics only in a lyric folder, as a UTF-8 standard LRC file
};

TEST_F(SamplePlaylist, AThreeMinuteSongWithItsFilesAndOneWithout) {
  EXPECT_FALSE(track.artist.empty());
  EXPECT_FALSE(track.album.empty());
  EXPECT_GE(track.length_ms, 150000u);
  EXPECT_LE(track.length_ms, 240000u);
  // The lyric search looks for "<artist> - <title>" among its candidates.
  EXPECT_EQ(track.lyrics, track.artist + " - " + track.title + ".lrc");
  EXPECT_TRUE(std::filesystem::exists(kSamples / track.artwork));
  EXPECT_TRUE(plain.lyrics.empty());
  EXPECT_TRUE(plain.artwork.empty());
  EXPECT_NE(plain.ids, track.ids);
  EXPECT_GT(plain.start_ms, 0u);
  EXPECT_LT(plain.end_ms(), plain.length_ms);
  // Neither song file is bundled: the player only reports where it would be.
  EXPECT_FALSE(std::filesystem::exists(kSamples / track.location));
  // The third track's lyrics sit where the folder search finds them, not with the player.
  EXPECT_TRUE(folder_only.lyrics.empty());
  EXPECT_TRUE(std::filesystem::exists(kSamples / (folder_only.artist + " - " +
                                                  folder_only.title + ".lrc")));
}

TEST_F(SamplePlaylist, LyricsDecodeAsThePlayerWouldHandThemOut) {
  const auto bytes = read_small_file(kSamples / track.lyrics, 64 * 1024);
  ASSERT_TRUE(bytes.has_value());
  const std::u16string text = decode_text_file(*bytes);
  EXPECT_TRUE(text.starts_with(u"[00:12:40]"));
  EXPECT_NE(text.find(u"Paper lantern road, you and I"), std::u16string::npos);
}

TEST_F(SamplePlaylist, LyricsAreTimedUtf16InBothLanguages) {
  const auto bytes = read_small_file(kSamples / track.lyrics, 64 * 1024);
  ASSERT_TRUE(bytes.has_value());
  ASSERT_GE(bytes->size(), 2u);
  ASSERT_EQ(bytes->substr(0, 2), "\xFF\xFE");
  ASSERT_EQ(bytes->size() % 2, 0u);
  std::u16string text;
  for (size_t i = 2; i < bytes->size(); i += 2) {
    text += static_cast<char16_t>(static_cast<uint8_t>((*bytes)[i]) |
                                  static_cast<uint8_t>((*bytes)[i + 1]) << 8);
  }
  ASSERT_TRUE(text.ends_with(u"\r\n"));

  int lines = 0;
  int japanese = 0;
  int english = 0;
  int32_t previous = -1;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find(u"\r\n", start);
    ASSERT_NE(end, std::u16string::npos);
    const std::u16string line = text.substr(start, end - start);
    start = end + 2;
    ++lines;
    EXPECT_EQ(line.find_first_of(u"\r\n"), std::u16string::npos) << "line " << lines;
    const int32_t time = leading_tag_ms(line);
    ASSERT_GE(time, 0) << "line " << lines << " has no [mm:ss:cc] tag";
    EXPECT_GT(time, previous) << "line " << lines;
    EXPECT_LT(static_cast<uint32_t>(time), track.length_ms) << "line " << lines;
    previous = time;
    const std::u16string words = line.substr(10);
    if (std::any_of(words.begin(), words.end(), is_japanese)) ++japanese;
    if (std::all_of(words.begin(), words.end(), [](char16_t c) { return c < 0x80; })) ++english;
  }
  EXPECT_GE(lines, 20);
  EXPECT_LE(lines, 30);
  EXPECT_GE(japanese, 8);
  EXPECT_GE(english, 8);
}

TEST_F(SamplePlaylist, ArtworkIsA300PixelSquarePng) {
  const auto png = read_small_file(kSamples / track.artwork, 1024 * 1024);
  ASSERT_TRUE(png.has_value());
  ASSERT_GE(png->size(), 24u);
  EXPECT_EQ(png->substr(0, 8), "\x89PNG\r\n\x1A\n");
  EXPECT_EQ(png->substr(12, 4), "IHDR");
  EXPECT_EQ(big_endian32(*png, 16), 300u);
  EXPECT_EQ(big_endian32(*png, 20), 300u);
}

}  // namespace
}  // namespace standin
