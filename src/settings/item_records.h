#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/display_item.h"

namespace sabla {

enum class RecordForm {
  kText,              // 15 numbers, face name, label
  kTextWithoutLabel,  // the older 8-bit file: 15 numbers and the face name
  kIndicator,         // 13 numbers
  kArtwork,           // 10 numbers
};

// What one reading pass carries from record to record: a colour token missing from a record
// takes the value of the same token in the record read before it.
struct RecordReadState {
  std::array<int32_t, 3> carried_color{};
};

RecordForm record_form(int item_index);

// Reads the value line of an item record over the item's defaults.
void read_item_record(DisplayItem& item, RecordForm form, std::u16string_view value,
                      RecordReadState& state);

// Appends the value line of an item record (without the line end).
void append_item_record(const DisplayItem& item, RecordForm form, std::u16string& out);

}  // namespace sabla
