#pragma once
// What the design page makes of its fields, apart from the window: the numbers typed, their
// limits, which controls an item has, and which fonts the page offers.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sabla {

inline constexpr int kDesignEntryCount = 8;
inline constexpr int32_t kMinFontSize = 1;
inline constexpr int32_t kMaxSpinSize = 512;
inline constexpr int32_t kMaxDotCount = 255;
// Characters a number field takes: six digits and a sign keep every value far from where the
// display's arithmetic could overflow.
inline constexpr int kFieldCharacters = 7;

// One entry of the page's item list: the display item it edits, its caption's string id and the
// draw order value "表示" gives it back.
struct DesignEntry {
  int item;
  int32_t caption_id;
  int32_t shown_draw_order;
};
inline constexpr std::array<DesignEntry, kDesignEntryCount> kDesignEntries{{
    {0, 40015, 200},
    {1, 40016, 210},
    {2, 40017, 220},
    {3, 40018, 230},
    {4, 40019, 240},
    {14, 40020, 120},
    {15, 40021, 110},
    {16, 40022, 100},
}};
inline constexpr int kLyricsEntry = 4;
inline constexpr int kArtworkEntry = 7;

// Which of the item-dependent controls an entry of the list can use.
struct DesignEnables {
  bool font = false;             // face, size, bold, italic
  bool line_spacing = false;     // the lyrics only
  bool colour = false;           // the item's own colour
  bool playing_colours = false;  // the playing line's text and marker
  friend bool operator==(const DesignEnables&, const DesignEnables&) = default;
};
DesignEnables design_enables(int entry);

// The whole text as a signed decimal number, spaces around it allowed; 0 when it is anything
// else. Values past the 32-bit range stop at its ends.
int32_t field_number(std::u16string_view text);

// A field value after the page's limit, and whether the field must show it instead of what was
// typed.
struct FieldValue {
  int32_t value = 0;
  bool rewrite = false;
  friend bool operator==(const FieldValue&, const FieldValue&) = default;
};
// Font size and line spacing: at least 1.
FieldValue at_least_one(std::u16string_view text);
// Number of dots: at most 255.
FieldValue dot_count(std::u16string_view text);

// The line spacing kept for a typed one: never below the lyrics font, which is where every load
// of the settings would raise it anyway.
int32_t kept_line_spacing(int32_t typed, int32_t lyrics_font_size);

// Whether the font list offers `face`: vertical faces ("@...") are not for the display, and a
// face with "," would not survive the item's record in the settings file.
bool offered_face(std::u16string_view face);

std::u16string number_text(int32_t value);

}  // namespace sabla
