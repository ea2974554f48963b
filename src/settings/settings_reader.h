#pragma once
#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
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

// The table row whose key `line` begins with, the first in table order.
template <class CharT>
std::optional<size_t> key_row_of(std::basic_string_view<CharT> line) {
  using U = std::make_unsigned_t<CharT>;
  if (const auto* rows = bracketed_key_rows()) {
    if (line.empty() || line[0] != CharT('[')) return std::nullopt;
    const size_t close = line.find(CharT(']'));
    if (close == std::basic_string_view<CharT>::npos) return std::nullopt;
    std::u16string converted;
    std::u16string_view key;
    if constexpr (std::is_same_v<CharT, char16_t>) {
      key = line.substr(0, close + 1);
    } else {
      for (size_t i = 0; i <= close; ++i) converted += static_cast<char16_t>(static_cast<U>(line[i]));
      key = converted;
    }
    const auto found = std::lower_bound(
        rows->begin(), rows->end(), key,
        [](const std::pair<std::u16string, size_t>& row, std::u16string_view k) {
          return std::u16string_view(row.first) < k;
        });
    if (found == rows->end() || found->first != key) return std::nullopt;
    return found->second;
  }
  const auto table = key_table();
  for (size_t r = 0; r < table.size(); ++r) {
    if (starts_with_key(line, table[r].key)) return r;
  }
  return std::nullopt;
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
    if (const std::optional<size_t> row = key_row_of(lines[i])) {
      keyed[*row].push_back(i + 1);
      ++i;
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
