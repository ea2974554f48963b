#pragma once
// A player for the handler's tests: it answers its position, the playing track's location and
// ids as the test sets them, and counts what it was asked.
#include <string>
#include <vector>

#include "player/player_bridge.h"

namespace sabla::test {

class ScriptedPlayer final : public PlayerBridge {
 public:
  int32_t position_second = -1;  // -1: the player cannot be asked
  bool current_track = false;
  bool has_location = false;
  std::u16string location;
  bool has_ids = false;
  PlayerTrackIds ids;
  int position_calls = 0;
  int location_calls = 0;
  std::vector<int32_t> seeks;
  bool in_session = false;
  int sessions_begun = 0;

  void begin_session() override {
    ++sessions_begun;
    in_session = true;
  }
  void end_session() override { in_session = false; }

  int32_t player_position(StatusMessage&) override {
    ++position_calls;
    return position_second;
  }
  bool current_track_location(std::u16string& path, StatusMessage&) override {
    ++location_calls;
    path = has_location ? location : std::u16string();
    return has_location;
  }
  bool current_track_ids(PlayerTrackIds& out, StatusMessage&) override {
    if (has_ids) out = ids;
    return has_ids;
  }

  // A click on a lyric line seeks.
  bool seek(int32_t seconds, StatusMessage&) override {
    seeks.push_back(seconds);
    return true;
  }

  // The handler asks nothing else of the player.
  bool has_current_track(StatusMessage&) override { return current_track; }
  bool play_current(StatusMessage&) override { return false; }
  bool pause(StatusMessage&) override { return false; }
  bool fast_forward(StatusMessage&) override { return false; }
  bool rewind(StatusMessage&) override { return false; }
  bool previous_track(StatusMessage&) override { return false; }
  bool next_track(StatusMessage&) override { return false; }
  bool save_artwork(std::u16string_view, std::u16string_view, StatusMessage&) override {
    return false;
  }
  bool write_lyrics(const PlayerTrackIds&, std::u16string_view, int32_t, StatusMessage&) override {
    return false;
  }
  bool has_lyrics(int32_t, StatusMessage&) override { return false; }
  bool read_lyrics(SongLyrics&, int32_t, StatusMessage&) override { return false; }
};

}  // namespace sabla::test
