#pragma once
#include <array>
#include <cstdint>

namespace sabla {

// The whole keyboard as one idle call saw it: one byte per virtual-key code, bit 7 set while the
// key (or mouse button) is down.
using KeyboardState = std::array<uint8_t, 256>;

// The virtual-key codes the idle processing looks at besides the bound keys of the settings.
inline constexpr uint8_t kVkLeftButton = 0x01;
inline constexpr uint8_t kVkMiddleButton = 0x04;
inline constexpr uint8_t kVkBackspace = 0x08;
inline constexpr uint8_t kVkShift = 0x10;
inline constexpr uint8_t kVkControl = 0x11;
inline constexpr uint8_t kVkEscape = 0x1B;
inline constexpr uint8_t kVkDelete = 0x2E;
inline constexpr uint8_t kVkO = 0x4F;
inline constexpr uint8_t kVkF5 = 0x74;

inline bool key_down(const KeyboardState& keys, uint8_t code) { return (keys[code] & 0x80) != 0; }

// What the idle processing remembers of the keyboard from one call to the next. Key repeat is
// counted in idle calls, not taken from the system, because the keys are polled.
struct InputState {
  KeyboardState key_state{};
  KeyboardState previous_key_state{};
  bool shift_down = false;
  bool ctrl_down = false;
  // Idle calls for which the keyboard state stayed the same.
  int32_t repeat_count = 0;
};

}  // namespace sabla
