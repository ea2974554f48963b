#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "settings/display_item.h"

namespace sabla {

inline constexpr int kItemCount = 17;
inline constexpr int kTextItemCount = 14;  // items 0-13 carry a font and a label
inline constexpr int kLyricsItem = 4;
inline constexpr int kVolumeLeftItem = 14;
inline constexpr int kVolumeRightItem = 15;
inline constexpr int kCoverArtItem = 16;
inline constexpr size_t kMaxItemText = 127;  // face name and label

// DrawTextW format bits with their Win32 values, so the portable records carry the flags the
// renderer hands to GDI unchanged.
inline constexpr uint32_t kDtCenter = 0x0001;
inline constexpr uint32_t kDtRight = 0x0002;
inline constexpr uint32_t kDtVCenter = 0x0004;
inline constexpr uint32_t kDtBottom = 0x0008;
inline constexpr uint32_t kDtNoPrefix = 0x0800;

inline constexpr int32_t kFontWeightBold = 900;

using DisplayItems = std::array<std::unique_ptr<DisplayItem>, kItemCount>;
// Item indices in ascending draw order value: lower values are drawn first.
using DrawingOrder = std::array<int32_t, kItemCount>;

// Red, green and blue into a COLORREF (0x00BBGGRR); each part keeps its low 8 bits.
constexpr uint32_t make_color(int32_t r, int32_t g, int32_t b) {
  return (static_cast<uint32_t>(r) & 0xFF) | ((static_cast<uint32_t>(g) & 0xFF) << 8) |
         ((static_cast<uint32_t>(b) & 0xFF) << 16);
}
constexpr int32_t color_red(uint32_t c) { return static_cast<int32_t>(c & 0xFF); }
constexpr int32_t color_green(uint32_t c) { return static_cast<int32_t>((c >> 8) & 0xFF); }
constexpr int32_t color_blue(uint32_t c) { return static_cast<int32_t>((c >> 16) & 0xFF); }

// The record key of item `index` ("[title]", "[song]", ...); empty outside 0-16.
std::u16string_view item_name(int index);

// A fresh item of the right kind for its index (the lyrics item is the lyrics document), with
// the defaults of its kind. Text items get `face_name` as their face.
std::unique_ptr<DisplayItem> make_display_item(int index, std::u16string_view face_name);

// Releases the old items (and their fonts) and builds all 17 from their defaults.
void reset_display_items(DisplayItems& items, std::u16string_view face_name);

// Derives the DrawTextW flags and the alignment code of the text items from their alignments.
void apply_alignment_flags(DisplayItems& items);

// Gives every visible item a draw order value of its own; of two equal values the item with the
// higher index gets a new, highest value and so is drawn on top.
void renumber_draw_order(DisplayItems& items);

DrawingOrder build_drawing_order(const DisplayItems& items);

}  // namespace sabla
