#pragma once
// The player controls along the bottom of the main window: previous, play/pause, next, the
// position slider and the position text.
#include <windows.h>

#include <cstdint>

namespace standin {

inline constexpr int kTransportBarHeight = 36;

enum ControlId : int {
  kPreviousButton = 101,
  kPlayButton = 102,
  kNextButton = 103,
  kPositionSlider = 104,
  kPositionText = 105,
};

class TransportBar {
 public:
  // The controls belong to `parent`, which destroys them.
  bool create(HWND parent, HINSTANCE instance);
  // Places the controls in the strip `bar` of the parent's client area.
  void layout(const RECT& bar) const;
  void show_position(uint32_t position_ms, uint32_t length_ms) const;
  void show_playing(bool playing) const;
  void enable(bool has_track) const;
  // The slider's position in milliseconds (the slider counts seconds).
  uint32_t slider_position_ms() const;

 private:
  HWND previous_ = nullptr;
  HWND play_ = nullptr;
  HWND next_ = nullptr;
  HWND slider_ = nullptr;
  HWND text_ = nullptr;
};

}  // namespace standin
