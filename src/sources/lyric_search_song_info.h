#pragma once
#include <cstdint>
#include <string>

#include "player/player_types.h"

namespace sabla {

// Song names travel in buffers of this many UTF-16 units, terminator included.
inline constexpr size_t kSongNameUnits = 311;

// The record of a song: the current one, and the options window's copy of the song being
// edited. Text fields hold at most kSongNameUnits - 1 units; paths kPathBufferUnits - 1; the song
// lyrics kLyricsBufferUnits - 1. The whole record is reset to its zero state for each new track.
struct SongInfo {
  std::u16string title;
  std::u16string title_safe;  // make_file_safe(title, kSafeTitle)
  std::u16string artist;
  std::u16string artist_safe;  // make_file_safe(artist, kSafeArtist)
  std::u16string album;
  std::u16string album_safe;   // make_file_safe(album, kSafeAlbum)
  std::u16string file_path;    // the song file, after make_file_safe(.., kSafePath)
  std::u16string file_name;    // with extension; from file_path when the host gives none
  std::u16string lyrics_path;  // the external lyric file found, or the one a save will create

  bool has_song_lyrics = false;  // lyrics were read from the song file
  std::u16string song_lyrics;

  // The further track texts and numbers shown by the information panel.
  std::u16string track_artist_shown;
  std::u16string track_extension;
  std::u16string track_genre;
  std::u16string track_kind;
  std::u16string track_eq_name;
  std::u16string track_comments;
  std::u16string track_composer;
  int32_t track_number = 0;
  int32_t track_count = 0;
  int32_t track_year = 0;
  int32_t track_rating = 0;
  int32_t disc_number = 0;
  int32_t disc_count = 0;
  uint32_t track_total_ms = 0;
  uint32_t track_start_ms = 0;
  uint32_t track_stop_ms = 0;
  uint32_t track_identity[2] = {};
  PlayerTrackIds player_track_ids;
};

// Completes a freshly filled record: the three file-name forms of `title`, `artist` and `album`,
// a safe `file_path`, and `file_name` taken from the path when the host gave none.
void complete_song_names(SongInfo& song);

}  // namespace sabla
