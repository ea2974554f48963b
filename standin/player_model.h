#pragma once
// The stand-in's player: a playlist, the current track, and whether and where it plays. Every
// change that the visualizer hears about leaves an event, which the stand-in turns into the
// matching visual message once no plug-in call is under way (changes also arrive from the
// plug-in itself, through the automation interface, while it handles a message).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "playlist.h"

namespace standin {

// Milliseconds from the system's steady clock: the player's clock outside tests.
uint64_t steady_clock_ms();

enum class PlayState { kStopped, kPlaying, kPaused };

// How far fast forward and rewind jump.
inline constexpr uint32_t kSkipMs = 10000;

struct PlayerEvent {
  enum class Kind {
    kPlay,         // "vply": the track starts or continues
    kChangeTrack,  // "ctrk": playing went on to another track
    kSetPosition,  // "setp"
    kPause,        // "vpau"
    kUnpause,      // "vunp"
    kStop,         // "vstp"
  };
  Kind kind;
  size_t track = 0;          // kPlay, kChangeTrack
  uint32_t position_ms = 0;  // kSetPosition

  friend bool operator==(const PlayerEvent&, const PlayerEvent&) = default;
};

class PlayerModel {
 public:
  using Clock = std::function<uint64_t()>;  // milliseconds, never going back

  // The first track is current, stopped at its start.
  PlayerModel(std::vector<PlaylistTrack> tracks, Clock clock);

  // Transport; each returns whether it changed anything.
  // Plays the current track: from where it was paused, or from its start.
  bool play();
  bool pause();
  // Continues a paused track ("vunp"); play() does too, but announces the track again.
  bool resume();
  // Stops and goes back to the track's start.
  bool stop();
  // Moves to `position_ms`, at most the end of the track.
  bool seek(uint32_t position_ms);
  // While playing, the next track plays ("ctrk"); after the last one the player stops at the
  // first. Otherwise the next track (or the first after the last) becomes current, stopped.
  bool next();
  // Like next(), backwards; on the first track, playing starts it again.
  bool previous();
  bool fast_forward();
  bool rewind();
  // Moves on once the current track has played to its end, as next() does.
  void update();

  PlayState state() const { return state_; }
  bool has_track() const { return !tracks_.empty(); }
  size_t current() const { return current_; }
  const std::vector<PlaylistTrack>& tracks() const { return tracks_; }
  // The position in the current track, in milliseconds; 0 without tracks.
  uint32_t position_ms() const;

  // The lyrics the player keeps inside each song.
  const std::u16string& lyrics(size_t track) const { return lyrics_.at(track); }
  void set_lyrics(size_t track, std::u16string text) { lyrics_.at(track) = std::move(text); }
  std::optional<size_t> find(const TrackIds& ids) const;

  // The events since the last call, oldest first.
  std::vector<PlayerEvent> take_events();

 private:
  // Makes `index` current, stopped at its start.
  void select(size_t index);
  void start_playing();
  // The position is `anchor_position_` at clock time `anchor_time_`, advancing while playing.
  void anchor(uint32_t position_ms);
  uint32_t end_ms() const { return tracks_[current_].end_ms(); }
  void emit(PlayerEvent::Kind kind, uint32_t position_ms = 0);

  std::vector<PlaylistTrack> tracks_;
  std::vector<std::u16string> lyrics_;
  Clock clock_;
  size_t current_ = 0;
  PlayState state_ = PlayState::kStopped;
  uint32_t anchor_position_ = 0;
  uint64_t anchor_time_ = 0;
  std::vector<PlayerEvent> events_;
};

}  // namespace standin
