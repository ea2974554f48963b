#pragma once
// A stand-in for the player's automation server, built from FakeDispatch objects with the
// player's member names: the application object, its tracks, a track's artwork collection and
// its artworks. The model below is plain data the tests set up and inspect.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fake_automation.h"
#include "player/player_types.h"

namespace sabla::test {

struct FakeTrack {
  std::wstring location;
  std::wstring lyrics;
  std::optional<std::string> artwork;  // the picture's bytes; none = an empty collection
  PlayerTrackIds ids;
  bool is_file = true;  // answers for IITFileOrCDTrack (a stream track does not)
};

class FakeItunes {
 public:
  FakeItunes();
  FakeItunes(const FakeItunes&) = delete;
  FakeItunes& operator=(const FakeItunes&) = delete;

  IClassFactory* factory() const { return factory_.get(); }
  // The application object as CoCreateInstance would hand it out.
  ComPtr<IDispatch> make_player();

  AutomationScript script;
  int32_t position = 0;
  bool playing = false;
  std::vector<FakeTrack> tracks;
  int current = -1;  // index into `tracks`; -1 = no current track

 private:
  ComPtr<IDispatch> make_track(size_t index);
  ComPtr<IDispatch> make_artworks(size_t index);
  ComPtr<IDispatch> make_artwork(size_t index);
  void change_track(int step);

  ComPtr<FakeClassFactory> factory_;
};

}  // namespace sabla::test
