#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_keys.h"

namespace sabla {

// Rebuilds the 17 display items and sets every setting to its default.
void reset_settings(Settings& s, const SettingsDefaults& defaults);

bool has_unicode_mark(std::span<const uint8_t> file);

// Reads a settings file image over the current values. The first two bytes (the mark) are
// skipped whatever they hold; the rest is UTF-16 little-endian.
void read_settings_file(Settings& s, std::span<const uint8_t> file);
void read_settings_text(Settings& s, std::u16string_view text);

// What a load derives once everything is read: the text items' alignment flags, distinct draw
// order values and the drawing order list.
void finish_settings_read(Settings& s);

// The whole file, mark included, in the order of the key table.
std::vector<uint8_t> format_settings_file(const Settings& s);
std::u16string format_settings_text(const Settings& s);

}  // namespace sabla
