#pragma once
// Key names the scenario understands and the virtual-key codes they stand for.
#include <cstdint>
#include <optional>
#include <string_view>

namespace standin {

struct KeyChord {
  uint8_t key = 0;  // virtual-key code
  bool ctrl = false;
  bool shift = false;
  bool alt = false;

  friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

// One key by name, without regard to case: A-Z, 0-9, F1-F24, SPACE, ENTER, ESCAPE, TAB,
// BACKSPACE, arrows (UP, DOWN, LEFT, RIGHT), HOME, END, PAGEUP, PAGEDOWN, INSERT, DELETE,
// NUMPAD0-NUMPAD9, SHIFT, CTRL, ALT, the punctuation keys by their character (; = , - . / `
// [ ] ' and the backslash), or a code written 0x01 to 0xFE.
std::optional<uint8_t> key_code(std::string_view name);

// "CTRL+SHIFT+S": modifiers joined to the key by '+'.
std::optional<KeyChord> parse_key_chord(std::string_view text);

}  // namespace standin
