#pragma once
// The player's automation server, served by the stand-in from its own playlist: the class
// CLSID_iTunesApp registered as this process's local server, so a plug-in's CoCreateInstance
// (CLSCTX_LOCAL_SERVER) in this process reaches it. The objects answer by the player's member
// names: the application object, its tracks, a track's artwork collection and its artworks.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "player_model.h"

namespace standin {

// Where a track's files are, as full paths; an empty artwork path means the track has none.
struct TrackFiles {
  std::wstring location;
  std::wstring artwork;
};

// Players before this major version keep no lyrics inside songs, so they have no Lyrics member.
inline constexpr int kLyricsHostVersion = 5;

class PlayerAutomation {
 public:
  using Printer = std::function<void(std::string_view)>;

  // Calls that change something, and failures, are reported; with `report_every_call` also
  // every question answered.
  PlayerAutomation(PlayerModel& model, std::vector<TrackFiles> files, int host_version,
                   Printer print, bool report_every_call);
  // Revokes the registration; objects still held elsewhere answer every call with an error.
  ~PlayerAutomation();
  PlayerAutomation(const PlayerAutomation&) = delete;
  PlayerAutomation& operator=(const PlayerAutomation&) = delete;

  // Registers the class for this process; the result of CoRegisterClassObject.
  HRESULT register_class();

  // While busy every call is refused, as the player refuses while a modal window is open.
  void set_busy(bool busy);

  // How often each member was used, one "Object.Member kind: count" per line.
  std::string usage_report() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
  DWORD cookie_ = 0;
  bool registered_ = false;
};

}  // namespace standin
