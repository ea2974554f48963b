#pragma once
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_format.h"

namespace sabla::test {

inline SettingsDefaults test_defaults() { return {u"C:\\Users\\me\\Documents", u"Tahoma"}; }

inline Settings default_settings() {
  Settings s;
  reset_settings(s, test_defaults());
  return s;
}

// Settings after a load of `text` (the part of the file behind the mark).
inline Settings loaded(std::u16string_view text) {
  Settings s = default_settings();
  read_settings_text(s, text);
  finish_settings_read(s);
  return s;
}

// The value line written for `key`, or "<missing>".
inline std::u16string written_value(const Settings& s, std::u16string_view key) {
  const std::u16string text = format_settings_text(s);
  const std::u16string needle = std::u16string(key) + u"\r\n";
  size_t at = text.find(needle);
  if (at == std::u16string::npos) return u"<missing>";
  at += needle.size();
  return text.substr(at, text.find(u"\r\n", at) - at);
}

inline std::u16string widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

inline std::string narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace sabla::test
