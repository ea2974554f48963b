#include "key_input.h"

#include <windows.h>

#include <vector>

namespace standin {

namespace {

INPUT key_event(uint8_t key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

std::vector<uint8_t> modifiers_of(const KeyChord& chord) {
  std::vector<uint8_t> keys;
  if (chord.ctrl) keys.push_back(VK_CONTROL);
  if (chord.shift) keys.push_back(VK_SHIFT);
  if (chord.alt) keys.push_back(VK_MENU);
  return keys;
}

bool send(std::vector<INPUT>& events) {
  return SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)) == events.size();
}

}  // namespace

bool press_keys(const KeyChord& chord) {
  std::vector<INPUT> events;
  for (const uint8_t key : modifiers_of(chord)) events.push_back(key_event(key, false));
  events.push_back(key_event(chord.key, false));
  return send(events);
}

bool release_keys(const KeyChord& chord) {
  std::vector<INPUT> events{key_event(chord.key, true)};
  const std::vector<uint8_t> modifiers = modifiers_of(chord);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
    events.push_back(key_event(*it, true));
  }
  return send(events);
}

}  // namespace standin
