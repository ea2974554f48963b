#pragma once
#include <cstdint>

namespace sabla {

// The lyric clock and the playback facts the handler keeps about the song. Times are those of
// the millisecond timer, which wraps after 49.7 days: differences are taken modulo 2^32, so the
// clock runs on across the wrap.
struct PlaybackClock {
  uint32_t now_ms = 0;              // the timer at the start of the last idle call
  int32_t play_time = 0;            // the song position the lyrics follow, in milliseconds
  uint32_t clock_base = 0;          // now_ms - play_time at the last synchronisation
  int32_t player_second = -1;       // the player's whole second at the last idle call, -1: unknown
  int32_t last_player_second = -1;  // player_second at the last synchronisation
  bool playing_started = false;     // a play or track change came, and no stop since
  bool track_info_valid = false;    // the current track's information has been stored
};

// What one idle step of the clock did.
enum class ClockStep {
  kResynchronised,     // the player's second changed: play_time is that whole second
  kRunning,            // play_time follows the millisecond timer
  kStill,              // paused: play_time stays where it is
  kPlayerUnavailable,  // the player could not be asked; play_time ran on the timer if playing
};

// The timer time `now` minus `base`, as a signed span: the wrap of the timer cancels out.
constexpr int32_t elapsed_ms(uint32_t now, uint32_t base) {
  return static_cast<int32_t>(now - base);
}

// Brings the clock up to date with the player's answer for this idle call (`clock.now_ms` is
// already taken). Any negative answer means the player could not be asked.
ClockStep sync_clock(PlaybackClock& clock, int32_t player_second, bool playing);

// The host moved the position ("setp"): the clock stands at `position_ms` from now on.
void set_clock_position(PlaybackClock& clock, int32_t position_ms);

// A new song starts at `start_ms`; a positive `delay_ms` puts the lyrics ahead of the song.
void start_clock(PlaybackClock& clock, int32_t start_ms, int32_t delay_ms);

// The same song plays on after a pause: the clock continues from where it stood, `delay_ms`
// ahead.
void continue_clock(PlaybackClock& clock, int32_t delay_ms);

}  // namespace sabla
