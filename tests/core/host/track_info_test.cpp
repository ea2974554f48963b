// The host's track record read by its byte offsets, the stored track information and the
// information texts.
#include "state/track_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/host/scripted_player.h"

namespace sabla {
namespace {

// A track record built byte by byte at the offsets the host uses, not through our struct.
class RawTrack {
 public:
  RawTrack() : bytes_(kTrackRecordSize, 0) {}

  void text(size_t offset, std::u16string_view text) {
    // The length unit sits just before the characters; the field is 256 units in all.
    std::fill(bytes_.begin() + offset - 2, bytes_.begin() + offset + 510, 0);
    put16(offset - 2, static_cast<uint16_t>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) put16(offset + 2 * i, text[i]);
  }
  void put16(size_t offset, uint16_t value) {
    bytes_[offset] = static_cast<uint8_t>(value);
    bytes_[offset + 1] = static_cast<uint8_t>(value >> 8);
  }
  void put32(size_t offset, uint32_t value) {
    put16(offset, static_cast<uint16_t>(value));
    put16(offset + 2, static_cast<uint16_t>(value >> 16));
  }
  TrackRecord record() const {
    TrackRecord track;
    std::memcpy(&track, bytes_.data(), sizeof track);
    return track;
  }

 private:
  std::vector<uint8_t> bytes_;
};

RawTrack full_track() {
  RawTrack raw;
  raw.text(10, u"Title?");
  raw.text(522, u"song.m4a");
  raw.text(1034, u"The Band");
  raw.text(1546, u"Album");
  raw.text(2058, u"Rock");
  raw.text(2570, u"AAC audio file");
  raw.text(3082, u"Loud");
  raw.text(3594, u"Live take");
  raw.put32(4104, 3);
  raw.put32(4108, 12);
  raw.put16(4112, 1999);
  raw.put32(4116, 240000);
  raw.put32(4120, 1500);
  raw.put32(4124, 0);
  raw.text(4162, u"Composer");
  raw.put16(4674, 60);
  raw.put16(4676, 1);
  raw.put16(4678, 0);
  raw.put32(4680, 0xAABBCCDDu);
  raw.put32(4684, 0x11223344u);
  return raw;
}

TEST(TrackInfo, EveryFieldIsReadFromItsOffset) {
  SongInfo song;
  song.lyrics_path = u"left over from the last song";
  song.has_song_lyrics = true;
  store_track_record(song, full_track().record());

  EXPECT_EQ(song.title, u"Title?");
  EXPECT_EQ(song.title_safe, u"Title_");
  EXPECT_EQ(song.artist_safe, u"The Band");
  EXPECT_EQ(song.file_name, u"song.m4a");
  EXPECT_EQ(song.artist, u"The Band");
  EXPECT_EQ(song.track_artist_shown, u"The Band");
  EXPECT_EQ(song.album, u"Album");
  EXPECT_EQ(song.track_genre, u"Rock");
  EXPECT_EQ(song.track_kind, u"AAC audio file");
  EXPECT_EQ(song.track_eq_name, u"Loud");
  EXPECT_EQ(song.track_comments, u"Live take");
  EXPECT_EQ(song.track_composer, u"Composer");
  EXPECT_EQ(song.track_number, 3);
  EXPECT_EQ(song.track_count, 12);
  EXPECT_EQ(song.track_year, 1999);
  EXPECT_EQ(song.track_total_ms, 240000u);
  EXPECT_EQ(song.track_start_ms, 1500u);
  EXPECT_EQ(song.track_stop_ms, 240000u);  // 0 means the end of the track
  EXPECT_EQ(song.track_rating, 60);
  EXPECT_EQ(song.disc_number, 1);
  EXPECT_EQ(song.disc_count, 0);
  EXPECT_EQ(song.track_identity, (TrackIdentity{0xAABBCCDDu, 0x11223344u}));
  EXPECT_TRUE(song.lyrics_path.empty());
  EXPECT_FALSE(song.has_song_lyrics);

  InfoTexts texts;
  texts[3] = u"stale";
  fill_info_items(texts, song);
  EXPECT_EQ(texts[0], u"Title?");
  EXPECT_EQ(texts[1], u"The Band");
  EXPECT_EQ(texts[2], u"Album");
  EXPECT_EQ(texts[3], u"");
  EXPECT_EQ(texts[7], u"Loud");
  EXPECT_EQ(texts[9], u"Live take");
  EXPECT_EQ(texts[10], u"1999");
  EXPECT_EQ(texts[11], u"\u2605\u2605\u2605");
  EXPECT_EQ(texts[12], u"3/12");
  EXPECT_EQ(texts[13], u"1");
}

TEST(TrackInfo, CommentsWithNormalisationDataAreNotShown) {
  RawTrack raw = full_track();
  raw.text(3594, u" 00000A2B 00000B3C");
  SongInfo song;
  store_track_record(song, raw.record());
  EXPECT_TRUE(song.track_comments.empty());
}

TEST(TrackInfo, TextThatFillsItsFieldIsReadWithoutATerminator) {
  RawTrack raw = full_track();
  raw.text(10, std::u16string(kHostTextMaxLength, u'x'));
  raw.put16(10 + 2 * kHostTextMaxLength, u'!');  // the next field's length unit
  SongInfo song;
  store_track_record(song, raw.record());
  EXPECT_EQ(song.title, std::u16string(kHostTextMaxLength, u'x'));
}

TEST(TrackInfo, SortPrefixOfOneCharacterIsDroppedFromTheShownArtist) {
  EXPECT_EQ(shown_artist(u"B - Name"), u"Name");
  EXPECT_EQ(shown_artist(u"AB - Name"), u"AB - Name");
  EXPECT_EQ(shown_artist(u"B - "), u"");
  EXPECT_EQ(shown_artist(u"B -"), u"B -");
  EXPECT_EQ(shown_artist(u""), u"");
}

TEST(TrackInfo, NumbersAndStars) {
  EXPECT_EQ(count_text(3, 12), u"3/12");
  EXPECT_EQ(count_text(3, 0), u"3");
  EXPECT_EQ(count_text(0, 12), u"");
  EXPECT_EQ(year_text(0), u"");
  EXPECT_EQ(rating_text(0), u"");
  EXPECT_EQ(rating_text(1), u"\u2605");
  EXPECT_EQ(rating_text(20), u"\u2605");
  EXPECT_EQ(rating_text(21), u"\u2605\u2605");
  EXPECT_EQ(rating_text(80), u"\u2605\u2605\u2605\u2605");
  EXPECT_EQ(rating_text(81), u"\u2605\u2605\u2605\u2605\u2605");
  EXPECT_EQ(rating_text(100), u"\u2605\u2605\u2605\u2605\u2605");
}

TEST(TrackInfo, TheFileComesFromThePlayerWhenTheRecordNamesNone) {
  RawTrack raw = full_track();
  raw.text(522, u"");
  test::ScriptedPlayer player;
  player.has_location = true;
  player.location = u"C:\\Music\\a.mp3";
  player.has_ids = true;
  player.ids = {1, 2, 3, 4};
  SongInfo song;
  StatusMessage status;
  store_track_info(song, raw.record(), player, status);
  EXPECT_EQ(song.file_path, u"C:\\Music\\a.mp3");
  EXPECT_EQ(song.file_name, u"a.mp3");
  EXPECT_EQ(song.track_extension, u".mp3");
  EXPECT_EQ(song.player_track_ids, (PlayerTrackIds{1, 2, 3, 4}));

  // A dot in a folder name is no extension; a stream has no file at all.
  player.location = u"C:\\Music.old\\track";
  store_track_info(song, raw.record(), player, status);
  EXPECT_EQ(song.file_name, u"track");
  EXPECT_EQ(song.track_extension, u"");
  player.has_location = false;
  player.has_ids = false;
  store_track_info(song, raw.record(), player, status);
  EXPECT_EQ(song.file_path, u"");
  EXPECT_EQ(song.file_name, u"");
  EXPECT_EQ(song.player_track_ids, PlayerTrackIds{});
}

TEST(TrackInfo, SameSongNeedsTheSameTextsAndIdentity) {
  const TrackRecord track = full_track().record();
  SongInfo song;
  store_track_record(song, track);
  EXPECT_TRUE(is_same_song(song, track));
  for (const size_t offset : {size_t{10}, size_t{1034}, size_t{1546}}) {
    RawTrack other = full_track();
    other.text(offset, u"Other");
    EXPECT_FALSE(is_same_song(song, other.record())) << offset;
  }
  for (const size_t offset : {size_t{4680}, size_t{4684}}) {
    RawTrack other = full_track();
    other.put32(offset, 5);
    EXPECT_FALSE(is_same_song(song, other.record())) << offset;
  }
  // What the record does not compare may differ.
  RawTrack other = full_track();
  other.text(2058, u"Jazz");
  EXPECT_TRUE(is_same_song(song, other.record()));
}

}  // namespace
}  // namespace sabla
