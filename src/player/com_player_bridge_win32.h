#pragma once
#include <windows.h>

#include <memory>

#include "player/com_apartment_win32.h"
#include "player/com_ptr_win32.h"
#include "player/dispatch_win32.h"
#include "player/player_bridge.h"
#include "player/player_busy.h"
#include "player/window_source_win32.h"

namespace sabla {

// The player bridge over the player's COM automation server ("iTunes.Application"), bound late
// through IDispatch. Outside a session every operation enters COM, creates the application
// object, makes its calls and leaves COM again, so it can be called from any thread at any time.
// In a session the thread that began it stays in COM and keeps the object, created by the first
// operation that needs it; other threads still go the long way. An answer that says the
// server is gone (the player quit or restarted) drops the kept object and the next operation
// creates a new one, so each operation creates at most one. Answers of the wrong type and
// failed calls make the operation fail; nothing escapes as an exception.
class ComPlayerBridge final : public PlayerBridge {
 public:
  explicit ComPlayerBridge(WindowSource& windows = system_window_source()) : windows_(windows) {}
  ~ComPlayerBridge() override { end_session(); }
  ComPlayerBridge(const ComPlayerBridge&) = delete;
  ComPlayerBridge& operator=(const ComPlayerBridge&) = delete;

  void begin_session() override;
  void end_session() override;

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
  template <class Result, class Body>
  Result with_player(StatusMessage& status, Result failure, Body&& body);
  template <class Result, class Body>
  Result in_player(Result failure, Body&& body);
  // The member ids for `player` when it is the kept object, else none.
  MemberIds* ids_for(IDispatch* player) noexcept {
    return player && player == player_.get() ? &player_ids_ : nullptr;
  }

  WindowSource& windows_;
  // The session: its thread's COM apartment, the object it keeps and that object's member ids.
  std::unique_ptr<ComApartment> apartment_;
  DWORD session_thread_ = 0;
  ComPtr<IDispatch> player_;
  MemberIds player_ids_;
};

}  // namespace sabla
