#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/display_item.h"

namespace sabla {

inline constexpr uint32_t kDtSingleLine = 0x0020;

// The DrawTextW format a text item is drawn with: its record's flags, and for an item whose
// height follows its font (`size_mode_v` 0) a single line, set at the bottom or the middle of
// its rectangle by `align_v`.
uint32_t text_item_flags(const DisplayItem& item);

// What a text item shows: its label, then `text`, each up to its first NUL as a C string would.
std::u16string text_item_text(const DisplayItem& item, std::u16string_view text);

}  // namespace sabla
