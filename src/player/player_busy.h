#pragma once
#include <span>
#include <string>
#include <vector>

#include "player/player_types.h"

namespace sabla {

// What the busy test needs to know about one top-level window. Titles are read the way the
// window system hands them out into a 256-unit buffer, so at most 255 units.
struct TopLevelWindow {
  std::u16string class_name;
  std::u16string title;
  std::u16string owner_title;  // empty when the window has no owner
};

// The seam to the window system: the top-level windows that exist right now. A source may leave
// out windows of classes the busy test below never counts.
class WindowSource {
 public:
  virtual ~WindowSource() = default;
  virtual std::vector<TopLevelWindow> top_level_windows() = 0;
};

// While the player shows one of its modal windows its automation server blocks or refuses,
// so nothing may be asked of it. Busy means a window exists that is
// - of class "iTunesCustomModalDialog" or "iTunesCustomFauxModalDialog", or
// - a dialog ("#32770") whose title does not contain "Sabla" (our own message boxes) and whose
//   owner's title contains "iTunes", or
// - of class "NativeHWNDHost" whose owner's title contains "iTunes".
bool player_is_busy(std::span<const TopLevelWindow> windows);

// The busy test as every operation starts: when busy, `status` shows the busy notice.
bool check_player_busy(WindowSource& windows, StatusMessage& status);

}  // namespace sabla
