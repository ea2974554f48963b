#pragma once
#include <cstdint>
#include <string>

namespace sabla {

// The transient line drawn at the bottom right of the visualizer for a number of frames.
// The player bridge only writes it; the renderer draws it and counts the frames down.
struct StatusMessage {
  std::u16string text;
  int32_t frames = 0;
};

// The four numbers by which the player finds a track again, in the order it reports them.
struct PlayerTrackIds {
  int32_t source_id = 0;
  int32_t playlist_id = 0;
  int32_t track_id = 0;
  int32_t database_id = 0;

  friend bool operator==(const PlayerTrackIds&, const PlayerTrackIds&) = default;
};

// Lyrics stored inside a song file as the player hands them out: `has` is set when the text is
// not empty. The song record keeps these as `song_lyrics` and `has_song_lyrics`.
struct SongLyrics {
  std::u16string text;
  bool has = false;
};

// Lyric text travels in buffers of this many UTF-16 units, terminator included.
inline constexpr size_t kLyricsBufferUnits = 32768;
// Paths travel in buffers of this many UTF-16 units, terminator included.
inline constexpr size_t kPathBufferUnits = 260;

// What the visualizer shows while the player has a modal window open and refuses automation.
inline constexpr char16_t kPlayerBusyStatusText[] = u"iTunesCOM was discontinued.";
inline constexpr int32_t kPlayerBusyStatusFrames = 10;

// Players before this major version keep no lyrics inside songs.
inline constexpr int32_t kLyricsHostMajorVersion = 5;

}  // namespace sabla
