#include "state/track_info.h"

#include <algorithm>
#include <string>

#include "sources/safe_name.h"

namespace sabla {
namespace {

// The player keeps its volume-normalisation data in the comments, always with a run of zeros.
constexpr std::u16string_view kNormalisationMark = u"0000";

std::u16string decimal(int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string file_safe(std::u16string text, int32_t mode) {
  make_file_safe(text, mode);
  return text;
}

// Genre, kind, equalizer name and comments are shown only when they fit whole.
std::u16string whole_text_or_empty(const HostText& text) {
  const std::u16string_view characters = host_text(text);
  if (characters.size() >= kSongTextMax) return {};
  return std::u16string(characters);
}

}  // namespace

std::u16string record_text(const HostText& text, size_t max_length) {
  const std::u16string_view characters = host_text(text);
  return std::u16string(characters.substr(0, max_length));
}

bool is_same_song(const SongInfo& song, const TrackRecord& track) {
  return song.title == record_text(track.name) && song.artist == record_text(track.artist) &&
         song.album == record_text(track.album) &&
         song.track_identity == TrackIdentity{track.identity_a, track.identity_b};
}

std::u16string shown_artist(std::u16string_view artist) {
  if (artist.size() >= 4 && artist.substr(1, 3) == u" - ") {
    return std::u16string(artist.substr(4));
  }
  return std::u16string(artist);
}

std::u16string_view location_file_name(std::u16string_view path) {
  const size_t separator = path.rfind(u'\\');
  if (separator == std::u16string_view::npos) return {};
  return path.substr(separator + 1);
}

std::u16string_view location_extension(std::u16string_view path) {
  // A dot in a folder name is no extension.
  const size_t separator = path.rfind(u'\\');
  const size_t name_start = separator == std::u16string_view::npos ? 0 : separator + 1;
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || dot < name_start) return {};
  return path.substr(dot);
}

void store_track_record(SongInfo& song, const TrackRecord& track) {
  song = SongInfo{};
  song.track_identity = {track.identity_a, track.identity_b};
  song.track_number = static_cast<int32_t>(track.track_number);
  song.track_count = static_cast<int32_t>(track.track_count);
  song.track_year = track.year;
  song.track_rating = track.rating;
  song.disc_number = track.disc_number;
  song.disc_count = track.disc_count;
  song.track_total_ms = track.total_time_ms;
  song.track_start_ms = track.start_time_ms;
  song.track_stop_ms = track.stop_time_ms != 0 ? track.stop_time_ms : track.total_time_ms;

  song.track_genre = whole_text_or_empty(track.genre);
  song.track_kind = whole_text_or_empty(track.kind);
  song.track_eq_name = whole_text_or_empty(track.equalizer_name);
  song.track_comments = whole_text_or_empty(track.comments);
  if (song.track_comments.find(kNormalisationMark) != std::u16string::npos) {
    song.track_comments.clear();
  }
  song.track_composer = record_text(track.composer);

  song.title = record_text(track.name);
  song.title_safe = file_safe(song.title, kSafeTitle);
  song.artist = record_text(track.artist);
  song.artist_safe = file_safe(song.artist, kSafeArtist);
  song.track_artist_shown = shown_artist(song.artist);
  song.album = record_text(track.album);
  song.album_safe = file_safe(song.album, kSafeAlbum);
  song.file_name = record_text(track.file_name, kPathTextMax);
}

void take_track_location(SongInfo& song, PlayerBridge& player, StatusMessage& status) {
  std::u16string location;
  if (!player.current_track_location(location, status)) location.clear();
  song.file_path = location.substr(0, kPathTextMax);
  if (song.file_name.empty()) song.file_name = std::u16string(location_file_name(song.file_path));
  PlayerTrackIds ids;
  song.player_track_ids = player.current_track_ids(ids, status) ? ids : PlayerTrackIds{};
  make_file_safe(song.file_path, kSafePath);
  song.track_extension = std::u16string(location_extension(song.file_path));
}

void store_track_info(SongInfo& song, const TrackRecord& track, PlayerBridge& player,
                      StatusMessage& status) {
  store_track_record(song, track);
  take_track_location(song, player, status);
}

std::u16string year_text(int32_t year) { return year == 0 ? std::u16string() : decimal(year); }

std::u16string rating_text(int32_t rating) {
  const int stars = rating <= 0    ? 0
                    : rating <= 20 ? 1
                    : rating <= 40 ? 2
                    : rating <= 60 ? 3
                    : rating <= 80 ? 4
                                   : 5;
  std::u16string text;
  for (int i = 0; i < stars; ++i) text += u'\u2605';
  return text;
}

std::u16string count_text(int32_t number, int32_t count) {
  if (number == 0) return {};
  if (count == 0) return decimal(number);
  return decimal(number) + u'/' + decimal(count);
}

void fill_info_items(InfoTexts& texts, const SongInfo& song) {
  for (auto& text : texts) text.clear();
  texts[0] = song.title;
  texts[1] = song.track_artist_shown;
  texts[2] = song.album;
  texts[5] = song.track_genre;
  texts[6] = song.track_kind;
  texts[7] = song.track_eq_name;
  texts[8] = song.track_composer;
  texts[9] = song.track_comments;
  texts[10] = year_text(song.track_year);
  texts[11] = rating_text(song.track_rating);
  texts[12] = count_text(song.track_number, song.track_count);
  texts[13] = count_text(song.disc_number, song.disc_count);
}

}  // namespace sabla
