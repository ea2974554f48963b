#pragma once
#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "settings/settings_keys.h"

namespace sabla {

// The value lines of each key row, in file order, all rows in one array (a list per row would
// be some seventy allocations for every file read).
class KeyedLines {
 public:
  // `found` holds (row, value line) pairs in file order.
  KeyedLines(size_t row_count, const std::vector<std::pair<size_t, size_t>>& found)
      : start_(row_count + 1, 0), lines_(found.size()) {
    for (const auto& [row, line] : found) ++start_[row + 1];
    for (size_t r = 0; r < row_count; ++r) start_[r + 1] += start_[r];
    std::vector<size_t> next(start_.begin(), start_.end() - 1);
    for (const auto& [row, line] : found) lines_[next[row]++] = line;
  }
  // The value lines of `row`, in file order.
  std::span<const size_t> of(size_t row) const {
    return std::span<const size_t>(lines_).subspan(start_[row], start_[row + 1] - start_[row]);
  }

 private:
  std::vector<size_t> start_;
  std::vector<size_t> lines_;
};

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
    // No listed key is that long, so the line begins with none of them.
    if (close == std::basic_string_view<CharT>::npos || close >= kMaxBracketedKey) {
      return std::nullopt;
    }
    std::array<char16_t, kMaxBracketedKey> converted;
    std::u16string_view key;
    if constexpr (std::is_same_v<CharT, char16_t>) {
      key = line.substr(0, close + 1);
    } else {
      for (size_t i = 0; i <= close; ++i) converted[i] = static_cast<char16_t>(static_cast<U>(line[i]));
      key = std::u16string_view(converted.data(), close + 1);
    }
    const auto found = rows->find(key);
    if (found == rows->end()) return std::nullopt;
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
  std::vector<std::pair<size_t, size_t>> found;
  found.reserve(lines.size() / 2);
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (const std::optional<size_t> row = key_row_of(lines[i])) {
      found.emplace_back(*row, i + 1);
      ++i;
    }
  }
  return KeyedLines(key_table().size(), found);
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
    for (const size_t line : keyed.of(r)) {
      row.read(s, row, value_of(line, row), ctx);
      if (!every_match) break;
    }
  }
}

}  // namespace sabla
