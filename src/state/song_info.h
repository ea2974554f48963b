#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "player/player_types.h"

namespace sabla {

// Song names travel in buffers of 311 units, terminator included; paths in 260.
inline constexpr size_t kSongTextMax = 310;
inline constexpr size_t kPathTextMax = 259;

// The two values of the host's track record that, with the title, artist and album, tell a
// resumed song from a new one.
struct TrackIdentity {
  uint32_t a = 0;
  uint32_t b = 0;

  friend bool operator==(const TrackIdentity&, const TrackIdentity&) = default;
};

// The current song: what the host said about it at the last play or track change, what the
// player adds (its file and its ids), and what the lyric sources find for it. Cleared whole
// before each new track.
struct SongInfo {
  std::u16string title;
  std::u16string title_safe;  // usable in a file name
  std::u16string artist;
  std::u16string artist_safe;
  std::u16string track_artist_shown;  // the artist without a "X - " sort prefix
  std::u16string album;
  std::u16string album_safe;
  std::u16string file_name;        // the song file's name with its extension
  std::u16string file_path;        // the song file, as the player reports its location
  std::u16string track_extension;  // file_path from the last '.' of its name on, or empty
  std::u16string lyrics_path;      // the external lyric file found or chosen for the song

  bool has_song_lyrics = false;  // lyrics were read from the song file
  std::u16string song_lyrics;

  std::u16string track_genre;
  std::u16string track_kind;
  std::u16string track_eq_name;
  std::u16string track_comments;
  std::u16string track_composer;
  int32_t track_number = 0;
  int32_t track_count = 0;
  int32_t track_year = 0;
  int32_t track_rating = 0;  // 0 to 100
  int32_t disc_number = 0;
  int32_t disc_count = 0;
  uint32_t track_total_ms = 0;
  uint32_t track_start_ms = 0;
  uint32_t track_stop_ms = 0;  // the end of the song; never 0 once stored

  TrackIdentity track_identity;
  PlayerTrackIds player_track_ids;  // how the player finds the track again
};

}  // namespace sabla
