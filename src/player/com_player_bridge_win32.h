#pragma once
#include "player/player_bridge.h"
#include "player/player_busy.h"
#include "player/window_source_win32.h"

namespace sabla {

// The player bridge over the player's COM automation server ("iTunes.Application"), bound late
// through IDispatch. Every operation enters COM, creates the application object, makes its
// calls and leaves COM again, so it can be called from any thread at any time. Answers of the
// wrong type and failed calls make the operation fail; nothing escapes as an exception.
class ComPlayerBridge final : public PlayerBridge {
 public:
  explicit ComPlayerBridge(WindowSource& windows = system_window_source()) : windows_(windows) {}

  bool seek(int32_t seconds, StatusMessage& status) override;
  int32_t player_position(StatusMessage& status) override;
  bool has_current_track(StatusMessage& status) override;
  bool play_current(StatusMessage& status) override;
  bool pause(StatusMessage& status) override;
  bool fast_forward(StatusMessage& status) override;
  bool rewind(StatusMessage& status) override;
  bool previous_track(StatusMessage& status) override;
  bool next_track(StatusMessage& status) override;
  bool current_track_ids(PlayerTrackIds& ids, StatusMessage& status) override;
  bool current_track_location(std::u16string& path, StatusMessage& status) override;
  bool save_artwork(std::u16string_view path, std::u16string_view default_artwork,
                    StatusMessage& status) override;
  bool write_lyrics(const PlayerTrackIds& ids, std::u16string_view lyrics,
                    int32_t host_major_version, StatusMessage& status) override;
  bool has_lyrics(int32_t host_major_version, StatusMessage& status) override;
  bool read_lyrics(SongLyrics& lyrics, int32_t host_major_version, StatusMessage& status) override;

 private:
  WindowSource& windows_;
};

}  // namespace sabla
