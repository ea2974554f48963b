#include "player/player_busy.h"

#include <string_view>

namespace sabla {
namespace {

bool contains(std::u16string_view text, std::u16string_view part) {
  return text.find(part) != std::u16string_view::npos;
}

bool makes_player_busy(const TopLevelWindow& window) {
  const std::u16string_view class_name = window.class_name;
  if (class_name == u"iTunesCustomModalDialog" || class_name == u"iTunesCustomFauxModalDialog") {
    return true;
  }
  if (class_name == u"#32770") {
    return !contains(window.title, u"Sabla") && contains(window.owner_title, u"iTunes");
  }
  if (class_name == u"NativeHWNDHost") return contains(window.owner_title, u"iTunes");
  return false;
}

}  // namespace

bool player_is_busy(std::span<const TopLevelWindow> windows) {
  for (const TopLevelWindow& window : windows) {
    if (makes_player_busy(window)) return true;
  }
  return false;
}

bool check_player_busy(WindowSource& windows, StatusMessage& status) {
  if (!player_is_busy(windows.top_level_windows())) return false;
  status.text = kPlayerBusyStatusText;
  status.frames = kPlayerBusyStatusFrames;
  return true;
}

}  // namespace sabla
