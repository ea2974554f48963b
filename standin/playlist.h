#pragma once
// The tracks the stand-in plays, from a small text file (UTF-8, optional byte-order mark):
//
//   # comment
//   [track]                      starts a track; lines before the first one start one too
//   title = Paper Lantern Road   the only text that must be there
//   artist = ...   album = ...   genre = ...   kind = ...   composer = ...   comments = ...
//   equalizer = ...              the equalizer preset's name
//   location = song.m4a          the song file as the player reports it (beside this file)
//   length_ms = 184000           required, 1 ms to 24 hours
//   start_ms = 0   stop_ms = 0   the part that plays; a stop of 0 is the end
//   rating = 80   year = 2024   track = 3/12   disc = 1/2
//   lyrics = words.lrc           lyrics the player holds inside the song (UTF-8 or UTF-16)
//   artwork = cover.png          the picture the player saves as the track's artwork
//   ids = 1 2 3 4                source, playlist, track and database id
//
// One key per line, spaces around '=' ignored, each key at most once per track.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

inline constexpr uint32_t kMaxTrackLengthMs = 24u * 60 * 60 * 1000;
inline constexpr size_t kMaxPlaylistBytes = 256 * 1024;
inline constexpr size_t kMaxPlaylistTracks = 500;

// The four numbers by which the player finds a track again.
struct TrackIds {
  int32_t source = 0;
  int32_t playlist = 0;
  int32_t track = 0;
  int32_t database = 0;

  friend bool operator==(const TrackIds&, const TrackIds&) = default;
};

struct PlaylistTrack {
  std::string title;
  std::string artist;
  std::string album;
  std::string genre;
  std::string kind;
  std::string composer;
  std::string comments;
  std::string equalizer;
  std::string location;  // as written; the stand-in makes it a full path
  std::string lyrics;    // likewise
  std::string artwork;   // likewise
  uint32_t length_ms = 0;
  uint32_t start_ms = 0;
  uint32_t stop_ms = 0;  // 0: the end of the track
  uint16_t rating = 0;
  uint16_t year = 0;
  uint32_t track_number = 0;
  uint32_t track_count = 0;
  uint16_t disc_number = 0;
  uint16_t disc_count = 0;
  TrackIds ids;  // when the file gives none: 1, 1, position, 1000 + position (from 1)

  // Where playing ends: the stop time, or the end of the track.
  uint32_t end_ms() const { return stop_ms != 0 ? stop_ms : length_ms; }
};

struct ParsedPlaylist {
  std::vector<PlaylistTrack> tracks;
  std::vector<std::string> problems;  // "line 3: ..." or "track 2: ..."; empty when usable

  bool ok() const { return problems.empty(); }
};

ParsedPlaylist parse_playlist(std::string_view text);

}  // namespace standin
