#include "key_codes.h"

#include <charconv>
#include <string>

namespace standin {

namespace {

struct NamedKey {
  std::string_view name;
  uint8_t code;
};

constexpr NamedKey kNamedKeys[] = {
    {"SPACE", 0x20}, {"ENTER", 0x0D},     {"RETURN", 0x0D},  {"ESCAPE", 0x1B}, {"ESC", 0x1B},
    {"TAB", 0x09},   {"BACKSPACE", 0x08}, {"BACK", 0x08},    {"LEFT", 0x25},   {"UP", 0x26},
    {"RIGHT", 0x27}, {"DOWN", 0x28},      {"HOME", 0x24},    {"END", 0x23},    {"PAGEUP", 0x21},
    {"PRIOR", 0x21}, {"PAGEDOWN", 0x22},  {"NEXT", 0x22},    {"INSERT", 0x2D}, {"DELETE", 0x2E},
    {"SHIFT", 0x10}, {"CTRL", 0x11},      {"CONTROL", 0x11}, {"ALT", 0x12},    {"MULTIPLY", 0x6A},
    {"ADD", 0x6B},   {"SUBTRACT", 0x6D},  {"DECIMAL", 0x6E}, {"DIVIDE", 0x6F}, {";", 0xBA},
    {"=", 0xBB},     {",", 0xBC},         {"-", 0xBD},       {".", 0xBE},      {"/", 0xBF},
    {"`", 0xC0},     {"[", 0xDB},         {"\\", 0xDC},      {"]", 0xDD},      {"'", 0xDE},
};

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

// The number after `prefix`, written without leading zeros, when it is from `first` to `last`.
std::optional<int> numbered(std::string_view name, std::string_view prefix, int first, int last) {
  if (!name.starts_with(prefix)) return std::nullopt;
  name.remove_prefix(prefix.size());
  if (name.empty() || name.size() > 2 || (name.size() > 1 && name[0] == '0')) return std::nullopt;
  int value = 0;
  for (const char c : name) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < first || value > last) return std::nullopt;
  return value;
}

}  // namespace

std::optional<uint8_t> key_code(std::string_view name) {
  const std::string key = upper(name);
  if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
    return static_cast<uint8_t>(key[0]);
  }
  for (const NamedKey& named : kNamedKeys) {
    if (named.name == key) return named.code;
  }
  if (const auto f = numbered(key, "F", 1, 24)) return static_cast<uint8_t>(0x70 + *f - 1);
  if (const auto n = numbered(key, "NUMPAD", 0, 9)) return static_cast<uint8_t>(0x60 + *n);
  if (key.size() == 4 && key.starts_with("0X")) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(key.data() + 2, key.data() + 4, value, 16);
    if (error == std::errc() && end == key.data() + 4 && value >= 0x01 && value <= 0xFE) {
      return static_cast<uint8_t>(value);
    }
  }
  return std::nullopt;
}

std::optional<KeyChord> parse_key_chord(std::string_view text) {
  KeyChord chord;
  // Every '+' but a trailing one ends a modifier.
  while (true) {
    const size_t plus = text.find('+');
    if (plus == std::string_view::npos || plus + 1 == text.size()) break;
    const std::string modifier = upper(text.substr(0, plus));
    bool* flag = modifier == "CTRL" || modifier == "CONTROL" ? &chord.ctrl
                 : modifier == "SHIFT"                       ? &chord.shift
                 : modifier == "ALT"                         ? &chord.alt
                                                             : nullptr;
    if (!flag || *flag) return std::nullopt;
    *flag = true;
    text.remove_prefix(plus + 1);
  }
  const std::optional<uint8_t> key = key_code(text);
  if (!key) return std::nullopt;
  chord.key = *key;
  return chord;
}

}  // namespace standin
