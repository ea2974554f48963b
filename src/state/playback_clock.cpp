#include "state/playback_clock.h"

#include <cstdint>
#include <limits>

namespace sabla {
namespace {

// A player reporting an absurd position must not overflow the millisecond clock.
int32_t second_to_ms(int32_t second) {
  const int64_t ms = static_cast<int64_t>(second) * 1000;
  if (ms > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(ms);
}

}  // namespace

ClockStep sync_clock(PlaybackClock& clock, int32_t player_second, bool playing) {
  if (player_second < 0) {
    clock.player_second = -1;
    if (playing) clock.play_time = elapsed_ms(clock.now_ms, clock.clock_base);
    return ClockStep::kPlayerUnavailable;
  }
  clock.player_second = player_second;
  if (player_second != clock.last_player_second) {
    clock.play_time = second_to_ms(player_second);
    clock.clock_base = clock.now_ms - static_cast<uint32_t>(clock.play_time);
    clock.last_player_second = player_second;
    return ClockStep::kResynchronised;
  }
  if (!playing) return ClockStep::kStill;
  clock.play_time = elapsed_ms(clock.now_ms, clock.clock_base);
  return ClockStep::kRunning;
}

void set_clock_position(PlaybackClock& clock, int32_t position_ms) {
  clock.play_time = position_ms;
  clock.clock_base = clock.now_ms - static_cast<uint32_t>(position_ms);
}

void start_clock(PlaybackClock& clock, int32_t start_ms, int32_t delay_ms) {
  clock.play_time = start_ms;
  clock.clock_base =
      clock.now_ms - static_cast<uint32_t>(delay_ms) - static_cast<uint32_t>(start_ms);
}

void continue_clock(PlaybackClock& clock, int32_t delay_ms) {
  clock.clock_base =
      clock.now_ms - static_cast<uint32_t>(delay_ms) - static_cast<uint32_t>(clock.play_time);
}

}  // namespace sabla
