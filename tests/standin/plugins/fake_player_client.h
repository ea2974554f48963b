#pragma once
// The fake plug-in's use of the player's automation interface, written against the published
// class id and member names alone: it creates the player's object as a local server, as a
// plug-in must, and reports every answer.
#include <cstdint>
#include <optional>
#include <string>

struct IDispatch;

namespace fake {

struct TrackIds {
  int32_t source = 0, playlist = 0, track = 0, database = 0;
};

// One connection to the player for the span of one plug-in operation.
class PlayerClient {
 public:
  PlayerClient();
  ~PlayerClient();
  PlayerClient(const PlayerClient&) = delete;
  PlayerClient& operator=(const PlayerClient&) = delete;

  // "ok", or why there is no player object.
  const std::string& state() const { return state_; }
  bool connected() const { return player_ != nullptr; }

  // Each gives the answer, or nothing with `error` set to the failing HRESULT.
  std::optional<int32_t> position(uint32_t& error);
  bool seek(int32_t seconds, uint32_t& error);
  bool call(const wchar_t* method, uint32_t& error);
  std::optional<std::u16string> location(uint32_t& error);
  std::optional<TrackIds> ids(uint32_t& error);
  std::optional<std::u16string> lyrics(uint32_t& error);
  bool write_lyrics(const TrackIds& ids, const std::u16string& text, uint32_t& error);
  // Saves the current track's artwork to `path`; the file's size.
  std::optional<uint64_t> save_artwork(const std::u16string& path, uint32_t& error);

 private:
  IDispatch* player_ = nullptr;
  bool uninitialise_ = false;
  std::string state_;
};

}  // namespace fake
