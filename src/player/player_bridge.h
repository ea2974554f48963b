#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "player/player_types.h"

namespace sabla {

// The operations the plug-in performs on the host player through its automation interface.
// Each one stands alone: it first checks that the player is not showing a modal window (if it
// is, `status` gets the busy notice and nothing is asked), then reaches the player, does its
// calls and lets go again. Failures are answered with false (or -1), never reported otherwise.
// The Windows implementation talks to the player's COM server; tests substitute their own.
class PlayerBridge {
 public:
  virtual ~PlayerBridge() = default;

  // While the visualizer is shown the host idles many times a second and asks the position
  // each time; reaching the player anew for every question costs more than the question. Between
  // these two calls the bridge may keep what it reached and use it on the calling thread. Every
  // operation still starts with the busy test. Ending a session that is not open does nothing.
  virtual void begin_session() {}
  virtual void end_session() {}

  // Moves the playing position to `seconds`.
  virtual bool seek(int32_t seconds, StatusMessage& status) = 0;
  // The playing position in whole seconds; -1 when the player cannot be asked.
  virtual int32_t player_position(StatusMessage& status) = 0;
  virtual bool has_current_track(StatusMessage& status) = 0;
  // Starts the current track; false when there is none.
  virtual bool play_current(StatusMessage& status) = 0;
  virtual bool pause(StatusMessage& status) = 0;
  virtual bool fast_forward(StatusMessage& status) = 0;
  virtual bool rewind(StatusMessage& status) = 0;
  // Moves to the previous / next track; true once the player answers for its position again.
  virtual bool previous_track(StatusMessage& status) = 0;
  virtual bool next_track(StatusMessage& status) = 0;
  // The current track's identity; true only when all four numbers were read.
  virtual bool current_track_ids(PlayerTrackIds& ids, StatusMessage& status) = 0;
  // The current track's file path (at most 259 units). Streams ("http:" locations) have none:
  // `path` is emptied and the result is false.
  virtual bool current_track_location(std::u16string& path, StatusMessage& status) = 0;
  // Saves the current track's artwork to `path`. When the player cannot, `path` becomes a copy
  // of `default_artwork`. False only when the player was busy.
  virtual bool save_artwork(std::u16string_view path, std::u16string_view default_artwork,
                            StatusMessage& status) = 0;
  // Stores `lyrics` inside the song file of the track `ids`, with timetags taken out and '@'
  // lines emptied. The lyric operations need a host of major version 5 or later.
  virtual bool write_lyrics(const PlayerTrackIds& ids, std::u16string_view lyrics,
                            int32_t host_major_version, StatusMessage& status) = 0;
  // Whether the current track carries lyrics (a non-empty text).
  virtual bool has_lyrics(int32_t host_major_version, StatusMessage& status) = 0;
  // Reads the current track's lyrics into `lyrics` (emptied first, at most 32767 units);
  // true when they are not empty.
  virtual bool read_lyrics(SongLyrics& lyrics, int32_t host_major_version,
                           StatusMessage& status) = 0;
};

}  // namespace sabla
