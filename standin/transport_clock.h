#pragma once
// The stand-in's playback position: runs on a millisecond clock the caller supplies while
// playing, stands still while paused, and stops at the end of the track.
#include <cstdint>
#include <string>

namespace standin {

class TransportClock {
 public:
  explicit TransportClock(uint32_t length_ms = 0) : length_ms_(length_ms) {}

  void play(uint64_t now_ms);
  void pause(uint64_t now_ms);
  // Moves to `position_ms` (clamped to the track), keeping the play state.
  void seek(uint32_t position_ms, uint64_t now_ms);

  // Playing stops by itself once the end is reached.
  bool playing(uint64_t now_ms) const { return playing_ && position(now_ms) < length_ms_; }
  uint32_t position(uint64_t now_ms) const;
  uint32_t length() const { return length_ms_; }

 private:
  uint32_t length_ms_;
  uint32_t paused_at_ms_ = 0;  // the position while paused
  int64_t started_ms_ = 0;     // clock time at which position 0 would have been, while playing
  bool playing_ = false;
};

// "m:ss", minutes unbounded.
std::string format_position(uint32_t ms);

}  // namespace standin
