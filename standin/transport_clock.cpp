#include "transport_clock.h"

#include <algorithm>

namespace standin {

void TransportClock::play(uint64_t now_ms) {
  if (playing(now_ms)) return;
  // Playing from the end starts the track again, as a player's play button does.
  if (position(now_ms) >= length_ms_) paused_at_ms_ = 0;
  started_ms_ = static_cast<int64_t>(now_ms) - paused_at_ms_;
  playing_ = length_ms_ > 0;
}

void TransportClock::pause(uint64_t now_ms) {
  paused_at_ms_ = position(now_ms);
  playing_ = false;
}

void TransportClock::seek(uint32_t position_ms, uint64_t now_ms) {
  const bool was_playing = playing(now_ms);
  paused_at_ms_ = std::min(position_ms, length_ms_);
  started_ms_ = static_cast<int64_t>(now_ms) - paused_at_ms_;
  playing_ = was_playing;
}

uint32_t TransportClock::position(uint64_t now_ms) const {
  if (!playing_) return paused_at_ms_;
  // A clock that went backwards (a caller mixing time sources) reads as the start point.
  const int64_t elapsed = std::max<int64_t>(static_cast<int64_t>(now_ms) - started_ms_, 0);
  return static_cast<uint32_t>(std::min<int64_t>(elapsed, length_ms_));
}

std::string format_position(uint32_t ms) {
  const uint32_t seconds = ms / 1000;
  const uint32_t s = seconds % 60;
  return std::to_string(seconds / 60) + ":" + (s < 10 ? "0" : "") + std::to_string(s);
}

}  // namespace standin
