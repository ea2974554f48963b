#pragma once
#include <span>
#include <string_view>
#include <vector>

#include "settings/settings_keys.h"

namespace sabla {

// The value lines of each key row, in file order: value_lines[row] lists line indices.
using KeyedLines = std::vector<std::vector<size_t>>;

template <class CharT>
bool starts_with_key(std::basic_string_view<CharT> line, std::u16string_view key) {
  if (line.size() < key.size()) return false;
  for (size_t i = 0; i < key.size(); ++i) {
    using U = std::make_unsigned_t<CharT>;
    if (static_cast<char16_t>(static_cast<U>(line[i])) != key[i]) return false;
  }
  return true;
}

// Pairs each key line with the line after it. A line taken as a value is never itself looked
// at as a key, so a value that happens to begin like a key (a slot named "[loop]", or the rest
// of an over-long line) cannot shadow the real key further down. A key on the last line has
// no value and is ignored.
template <class CharT>
KeyedLines pair_key_lines(std::span<const std::basic_string_view<CharT>> lines) {
  const auto table = key_table();
  KeyedLines keyed(table.size());
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    for (size_t r = 0; r < table.size(); ++r) {
      if (starts_with_key(lines[i], table[r].key)) {
        keyed[r].push_back(i + 1);
        ++i;
        break;
      }
    }
  }
  return keyed;
}

// Runs the readers of the table in its order. `value_of(line, row)` gives the value text of a
// line as that row takes it.
template <class ValueOf>
void read_keyed_lines(Settings& s, const KeyedLines& keyed, ReadContext& ctx, ValueOf value_of) {
  const auto table = key_table();
  for (size_t r = 0; r < table.size(); ++r) {
    const KeyRow& row = table[r];
    if (ctx.legacy && !(row.flags & kLegacyKey)) continue;
    const bool every_match = !ctx.legacy && (row.flags & kLastMatch);
    for (const size_t line : keyed[r]) {
      row.read(s, row, value_of(line, row), ctx);
      if (!every_match) break;
    }
  }
}

}  // namespace sabla
