#include "settings/settings_format.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "settings/settings_reader.h"
#include "settings/settings_text.h"

namespace sabla {
namespace {

std::u16string decode_utf16le(std::span<const uint8_t> bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  if constexpr (std::endian::native == std::endian::little) {
    // The file's order is the machine's: one copy instead of a loop over every unit.
    if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * 2);
  } else {
    const uint8_t* in = bytes.data();
    for (char16_t& unit : text) {
      unit = static_cast<char16_t>(in[0] | (in[1] << 8));
      in += 2;
    }
  }
  return text;
}

// The row height must leave room for the font, and at least one pixel for the lyric rows.
void raise_line_pitch(Settings& s) {
  int32_t floor = 1;
  if (const DisplayItem* lyrics = s.items[kLyricsItem].get()) {
    floor = std::max(floor, lyrics->font_size);
  }
  s.song_return_size = std::max(s.song_return_size, floor);
}

}  // namespace

void reset_settings(Settings& s, const SettingsDefaults& defaults) {
  reset_display_items(s.items, defaults.face_name);
  for (const KeyRow& row : key_table()) {
    if (row.set_default) row.set_default(s, row, defaults);
  }
  s.drawing_order = build_drawing_order(s.items);
}

bool has_unicode_mark(std::span<const uint8_t> file) {
  return file.size() >= 2 && file[0] == 0xFF && file[1] == 0xFE;
}

void read_settings_file(Settings& s, std::span<const uint8_t> file) {
  if (file.size() < 2) {
    read_settings_text(s, {});
    return;
  }
  const std::u16string text = decode_utf16le(file.subspan(2));
  read_settings_text(s, text);
}

void read_settings_text(Settings& s, std::u16string_view text) {
  const std::vector<std::u16string_view> lines = split_lines(text);
  const KeyedLines keyed = pair_key_lines<char16_t>(lines);
  ReadContext ctx;
  read_keyed_lines(s, keyed, ctx, [&](size_t line, const KeyRow& row) {
    const size_t limit = (row.flags & kLongLine) ? kLongLineLimit : kLineLimit;
    std::u16string_view value = lines[line].substr(0, limit);
    // The value was a C string: it ends at a NUL.
    return value.substr(0, value.find(u'\0'));
  });
  raise_line_pitch(s);
}

void finish_settings_read(Settings& s) {
  apply_alignment_flags(s.items);
  renumber_draw_order(s.items);
  s.drawing_order = build_drawing_order(s.items);
}

std::u16string format_settings_text(const Settings& s) {
  std::u16string out;
  // Room for a file of default values, so it is written without growing.
  out.reserve(4096);
  for (const KeyRow& row : key_table()) {
    if (!row.write) continue;
    std::u16string_view key = row.key;
    if (row.item >= 0) {
      const DisplayItem* item = s.items[static_cast<size_t>(row.item)].get();
      if (!item || item->name.empty()) continue;
      key = item->name;
    }
    out += key;
    out += u"\r\n";
    row.write(s, row, out);
    out += u"\r\n";
  }
  return out;
}

std::vector<uint8_t> format_settings_file(const Settings& s) {
  const std::u16string text = format_settings_text(s);
  std::vector<uint8_t> bytes(2 + text.size() * 2);
  bytes[0] = 0xFF;
  bytes[1] = 0xFE;
  if constexpr (std::endian::native == std::endian::little) {
    if (!text.empty()) std::memcpy(bytes.data() + 2, text.data(), text.size() * 2);
  } else {
    uint8_t* out = bytes.data() + 2;
    for (const char16_t c : text) {
      *out++ = static_cast<uint8_t>(c & 0xFF);
      *out++ = static_cast<uint8_t>(c >> 8);
    }
  }
  return bytes;
}

}  // namespace sabla
