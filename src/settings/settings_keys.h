#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "settings/item_records.h"
#include "settings/settings.h"

namespace sabla {

// What the defaults depend on that only the platform knows.
struct SettingsDefaults {
  std::u16string documents_folder;  // the user's Documents folder, without a trailing "\"
  std::u16string face_name;         // face of the system icon-title font
};

struct ReadContext {
  RecordReadState records;
  bool legacy = false;  // reading the older 8-bit file, whose text fields were shorter
};

inline constexpr size_t kLineLimit = 1023;      // characters of one line the reader takes
inline constexpr size_t kLongLineLimit = 8191;  // for the lines that hold several texts
inline constexpr size_t kMaxPathText = 259;     // default_artwork, load_btn_path
inline constexpr size_t kMaxSlotName = 255;

enum KeyFlags : uint8_t {
  kLastMatch = 1,  // every occurrence is read in file order, so the last one wins
  kLongLine = 2,   // the value line may be up to kLongLineLimit characters
  kLegacyKey = 4,  // also known to the older 8-bit file
};

// One row of the settings file: key (with brackets), defaults, and how the value line is read
// and written. The table's order is the file's order, for writing and for reading.
struct KeyRow {
  using SetDefault = void (*)(Settings&, const KeyRow&, const SettingsDefaults&);
  using Read = void (*)(Settings&, const KeyRow&, std::u16string_view, ReadContext&);
  using Write = void (*)(const Settings&, const KeyRow&, std::u16string&);

  std::u16string_view key;
  SetDefault set_default;  // null: the item table gives the default
  Read read;
  Write write;                       // null: an older key that is read but no longer written
  std::array<int32_t, 8> numbers{};  // default numbers; colours as red, green, blue
  std::u16string_view text;          // default text
  int item = -1;                     // display item of an item record
  uint8_t flags = 0;
};

std::span<const KeyRow> key_table();

inline constexpr size_t kMaxBracketedKey = 64;

// The key rows by their key, for keys of the form "[name]" with no other ']' and at most
// kMaxBracketedKey units: a line begins with such a key exactly when its text up to its first
// ']' is the key. Null when a key has another form, and every row must then be tried in turn.
const std::unordered_map<std::u16string_view, size_t>* bracketed_key_rows();

}  // namespace sabla
