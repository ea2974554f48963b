#pragma once
#include <string>
#include <vector>

#include "player/player_bridge.h"

namespace sabla::test {

// A player whose current track carries `lyrics`; it records the lyric operations asked of it.
// Nothing but the lyric operations is expected of it.
class FakePlayerBridge final : public PlayerBridge {
 public:
  std::u16string lyrics;
  std::vector<std::string> calls;

  bool has_lyrics(int32_t host_major_version, StatusMessage&) override {
    calls.push_back("has_lyrics " + std::to_string(host_major_version));
    return !lyrics.empty();
  }
  bool read_lyrics(SongLyrics& out, int32_t host_major_version, StatusMessage&) override {
    calls.push_back("read_lyrics " + std::to_string(host_major_version));
    out.text = lyrics;
    out.has = !lyrics.empty();
    return out.has;
  }

  bool seek(int32_t, StatusMessage&) override { return unexpected("seek"); }
  int32_t player_position(StatusMessage&) override { return unexpected("player_position") - 1; }
  bool has_current_track(StatusMessage&) override { return unexpected("has_current_track"); }
  bool play_current(StatusMessage&) override { return unexpected("play_current"); }
  bool pause(StatusMessage&) override { return unexpected("pause"); }
  bool fast_forward(StatusMessage&) override { return unexpected("fast_forward"); }
  bool rewind(StatusMessage&) override { return unexpected("rewind"); }
  bool previous_track(StatusMessage&) override { return unexpected("previous_track"); }
  bool next_track(StatusMessage&) override { return unexpected("next_track"); }
  bool current_track_ids(PlayerTrackIds&, StatusMessage&) override {
    return unexpected("current_track_ids");
  }
  bool current_track_location(std::u16string&, StatusMessage&) override {
    return unexpected("current_track_location");
  }
  bool save_artwork(std::u16string_view, std::u16string_view, StatusMessage&) override {
    return unexpected("save_artwork");
  }
  bool write_lyrics(const PlayerTrackIds&, std::u16string_view, int32_t, StatusMessage&) override {
    return unexpected("write_lyrics");
  }

 private:
  bool unexpected(const char* name) {
    calls.push_back(std::string("unexpected ") + name);
    return false;
  }
};

}  // namespace sabla::test
