// The records are read back at the byte offsets the host interface fixes, written out here by
// hand, so a wrong field in the shared layout shows up as a wrong byte.
#include "track_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace standin {
namespace {

template <typename Record>
const uint8_t* bytes_of(const Record& record) {
  return reinterpret_cast<const uint8_t*>(&record);
}

uint32_t u32_at(const uint8_t* bytes, size_t offset) {
  uint32_t value;
  std::memcpy(&value, bytes + offset, 4);
  return value;
}

uint16_t u16_at(const uint8_t* bytes, size_t offset) {
  uint16_t value;
  std::memcpy(&value, bytes + offset, 2);
  return value;
}

// The zero-terminated text at `offset`, never past `limit` units.
std::u16string text_at(const uint8_t* bytes, size_t offset, size_t limit = 255) {
  std::u16string text;
  for (size_t i = 0; i < limit; ++i) {
    const uint16_t unit = u16_at(bytes, offset + 2 * i);
    if (unit == 0) break;
    text += static_cast<char16_t>(unit);
  }
  return text;
}

PlaylistTrack full_track() {
  PlaylistTrack t;
  t.title = "Paper Lantern Road";
  t.artist = "月見";
  t.album = "Night Market Sketches";
  t.genre = "J-Pop";
  t.kind = "AAC audio file";
  t.equalizer = "Flat";
  t.comments = "live take";
  t.composer = "Sample Writers";
  t.length_ms = 184000;
  t.start_ms = 1500;
  t.stop_ms = 180000;
  t.rating = 60;
  t.year = 2024;
  t.track_number = 3;
  t.track_count = 12;
  t.disc_number = 1;
  t.disc_count = 2;
  t.ids = {11, 22, 33, 44};
  return t;
}

TEST(TrackRecord, EveryFieldAtItsOffsetAndNothingElse) {
  sabla::TrackRecord record;
  std::memset(&record, 0xCC, sizeof record);
  build_track_record(full_track(), "C:\\Music\\Paper Lantern Road.m4a", record);
  const uint8_t* b = bytes_of(record);
  ASSERT_EQ(sizeof record, 5728u);

  EXPECT_EQ(u32_at(b, 0), 5728u);
  const struct {
    size_t offset;
    std::u16string text;
  } texts[] = {
      {10, u"Paper Lantern Road"},
      {522, u"Paper Lantern Road.m4a"},
      {1034, u"月見"},
      {1546, u"Night Market Sketches"},
      {2058, u"J-Pop"},
      {2570, u"AAC audio file"},
      {3082, u"Flat"},
      {3594, u"live take"},
      {4162, u"Sample Writers"},
  };
  for (const auto& t : texts) {
    EXPECT_EQ(text_at(b, t.offset), t.text) << "offset " << t.offset;
    // The length unit just before the characters.
    EXPECT_EQ(u16_at(b, t.offset - 2), t.text.size()) << "offset " << t.offset;
  }
  EXPECT_EQ(u32_at(b, 4104), 3u);
  EXPECT_EQ(u32_at(b, 4108), 12u);
  EXPECT_EQ(u16_at(b, 4112), 2024u);
  EXPECT_EQ(u32_at(b, 4116), 184000u);
  EXPECT_EQ(u32_at(b, 4120), 1500u);
  EXPECT_EQ(u32_at(b, 4124), 180000u);
  EXPECT_EQ(u16_at(b, 4674), 60u);
  EXPECT_EQ(u16_at(b, 4676), 1u);
  EXPECT_EQ(u16_at(b, 4678), 2u);
  EXPECT_EQ(u32_at(b, 4680), 33u);  // identity A: the track id
  EXPECT_EQ(u32_at(b, 4684), 44u);  // identity B: the database id

  // Every byte the fields above do not cover is zero: no 0xCC survives anywhere.
  for (size_t i = 0; i < sizeof record; ++i) ASSERT_NE(b[i], 0xCC) << "byte " << i;
  EXPECT_EQ(u32_at(b, 4), 0u);
  for (size_t i = 4128; i < 4160; ++i) ASSERT_EQ(b[i], 0) << "byte " << i;
  for (size_t i = 4688; i < 5728; ++i) ASSERT_EQ(b[i], 0) << "byte " << i;
}

TEST(TrackRecord, FileNameFromEitherSeparatorAndNoneForStreams) {
  EXPECT_EQ(location_file_name("C:\\Music\\a.mp3"), "a.mp3");
  EXPECT_EQ(location_file_name("Z:/work/b.m4a"), "b.m4a");
  EXPECT_EQ(location_file_name("plain.aif"), "plain.aif");
  EXPECT_EQ(location_file_name("C:\\Music\\"), "");
  EXPECT_EQ(location_file_name("http://radio.example/live.mp3"), "");
  EXPECT_EQ(location_file_name("HTTPS://radio.example/live.mp3"), "");
  EXPECT_TRUE(is_stream_location("Http://x"));
  EXPECT_FALSE(is_stream_location("http"));
  EXPECT_FALSE(is_stream_location("C:\\http:\\x"));
}

TEST(TrackRecord, LongTextsFillTheFieldWithoutSpillingOrSplittingAPair) {
  sabla::TrackRecord record;
  PlaylistTrack t = full_track();
  t.title = std::string(300, 'x');
  // 254 'y' and then a character outside the basic plane, which needs units 255 and 256.
  t.artist = std::string(254, 'y') + "\xF0\x9F\x8E\x90";
  t.album = std::string(253, 'z') + "\xF0\x9F\x8E\x90";
  build_track_record(t, "", record);
  const uint8_t* b = bytes_of(record);

  EXPECT_EQ(u16_at(b, 8), 255u);
  EXPECT_EQ(text_at(b, 10), std::u16string(255, u'x'));
  // A full field has no terminator: the next field's length unit follows at once.
  EXPECT_EQ(u16_at(b, 10 + 2 * 255), 0u);  // the empty file name's length
  EXPECT_EQ(sabla::host_text(record.name).size(), 255u);

  EXPECT_EQ(u16_at(b, 1032), 254u);
  EXPECT_EQ(text_at(b, 1034), std::u16string(254, u'y'));
  EXPECT_EQ(u16_at(b, 1544), 255u);
  EXPECT_EQ(text_at(b, 1546), std::u16string(253, u'z') + u"\U0001F390");
}

TEST(StreamRecord, WebLocationsAreStreamsFilesAreNot) {
  sabla::StreamRecord record;
  std::memset(&record, 0xCC, sizeof record);
  build_stream_record(full_track(), "http://radio.example/live", record);
  const uint8_t* b = bytes_of(record);
  ASSERT_EQ(sizeof record, 1540u);
  EXPECT_EQ(u32_at(b, 0), 1540u);
  EXPECT_EQ(u16_at(b, 4), 18u);
  EXPECT_EQ(text_at(b, 6), u"Paper Lantern Road");
  EXPECT_EQ(text_at(b, 4 + 512 + 2), u"http://radio.example/live");
  EXPECT_EQ(text_at(b, 4 + 1024 + 2), u"");
  for (size_t i = 0; i < sizeof record; ++i) ASSERT_NE(b[i], 0xCC) << "byte " << i;

  build_stream_record(full_track(), "C:\\Music\\a.m4a", record);
  EXPECT_EQ(u32_at(b, 0), 1540u);
  for (size_t i = 4; i < sizeof record; ++i) ASSERT_EQ(b[i], 0) << "byte " << i;
}

}  // namespace
}  // namespace standin
