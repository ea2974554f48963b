#include "settings/display_items.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

struct ItemDefaults {
  std::u16string_view name;
  std::u16string_view label;
  int32_t font_size;
  int32_t offset_x, size_x, offset_y, size_y;
  int32_t red, green, blue;
  int32_t bold, italic;
  int32_t align_h, align_v;
  int32_t draw_order;
  int32_t size_mode_h, size_mode_v;
  int32_t direction;
  int32_t keep_aspect;
};

// The information items 5-13 are hidden boxes of 120 x 20 at the right edge, stacked upwards.
constexpr ItemDefaults info_item(std::u16string_view name, std::u16string_view label, int32_t y) {
  return {name, label, 20, 20, 120, y, 20, 200, 200, 200, 0, 0, 0, 0, -1, 3, 3, 0, 0};
}

constexpr std::array<ItemDefaults, kItemCount> kDefaults = {{
    {u"[title]", u"", 20, 20, 50, 20, 20, 255, 0, 255, 1, 0, 0, 0, 200, 0, 0, 0, 0},
    {u"[artist]", u"", 20, 30, 20, 50, 20, 0, 255, 255, 0, 0, 0, 0, 210, 0, 0, 0, 0},
    {u"[album]", u"", 20, 30, 20, 70, 20, 0, 255, 0, 0, 0, 0, 0, 220, 0, 0, 0, 0},
    {u"[counter]", u"", 20, 10, 20, 10, 20, 200, 200, 200, 0, 0, 1, 0, 230, 0, 0, 0, 0},
    {u"[song]", u"", 20, 100, 0, 100, 14, 220, 220, 200, 0, 0, 0, 0, 240, 0, 0, 0, 0},
    info_item(u"[genre]", u"GENRE : ", 190),
    info_item(u"[kind]", u"KIND : ", 130),
    info_item(u"[eqname]", u"EQUALIZER : ", 160),
    info_item(u"[composer]", u"COMPOSER : ", 210),
    info_item(u"[comments]", u"COMMENTS : ", 180),
    info_item(u"[year]", u"YEAR : ", 170),
    info_item(u"[rate]", u"RATE : ", 200),
    info_item(u"[trknum]", u"TRACK : ", 150),
    info_item(u"[discnum]", u"DISC : ", 140),
    {u"[volume_L]", u"", 20, 10, 4, 30, 14, 128, 128, 255, 0, 0, 1, 0, 120, 1, 0, 0, 0},
    {u"[volume_R]", u"", 20, 5, 4, 30, 14, 128, 128, 255, 0, 0, 1, 0, 110, 1, 0, 0, 0},
    {u"[cover_art]", u"", 20, 20, 120, 14, 120, 0, 0, 0, 0, 0, 1, 1, 100, 1, 1, 0, 1},
}};

void apply_defaults(DisplayItem& item, const ItemDefaults& d, std::u16string_view face_name,
                    bool text_item) {
  item.name = d.name;
  item.label = d.label;
  item.font_size = d.font_size;
  item.font_weight = d.bold ? kFontWeightBold : 0;
  item.font_italic = d.italic;
  item.face_name = text_item ? std::u16string(face_name) : std::u16string();
  item.offset_x = d.offset_x;
  item.size_x = d.size_x;
  item.offset_y = d.offset_y;
  item.size_y = d.size_y;
  item.align_h = d.align_h;
  item.align_v = d.align_v;
  item.size_mode_h = d.size_mode_h;
  item.size_mode_v = d.size_mode_v;
  item.color = make_color(d.red, d.green, d.blue);
  item.draw_order = d.draw_order;
  item.draw_flags = kDtNoPrefix;
  item.alignment_code = 0;
  item.direction = d.direction;
  item.keep_aspect = d.keep_aspect;
}

}  // namespace

std::u16string_view item_name(int index) {
  if (index < 0 || index >= kItemCount) return {};
  return kDefaults[static_cast<size_t>(index)].name;
}

std::unique_ptr<DisplayItem> make_display_item(int index, std::u16string_view face_name) {
  if (index < 0 || index >= kItemCount) return nullptr;
  std::unique_ptr<DisplayItem> item;
  if (index == kLyricsItem) {
    item = std::make_unique<LyricDocument>();
  } else {
    item = std::make_unique<DisplayItem>();
  }
  apply_defaults(*item, kDefaults[static_cast<size_t>(index)], face_name, index < kTextItemCount);
  return item;
}

void reset_display_items(DisplayItems& items, std::u16string_view face_name) {
  for (auto& item : items) item.reset();
  for (int i = 0; i < kItemCount; ++i)
    items[static_cast<size_t>(i)] = make_display_item(i, face_name);
}

void apply_alignment_flags(DisplayItems& items) {
  constexpr uint32_t kAlignmentBits = kDtCenter | kDtRight | kDtVCenter | kDtBottom;
  for (int i = 0; i < kTextItemCount; ++i) {
    DisplayItem* item = items[static_cast<size_t>(i)].get();
    if (!item) continue;
    // Derived afresh each time, so changing an alignment and applying again never mixes flags.
    item->draw_flags &= ~kAlignmentBits;
    if (item->align_h == 1) {
      item->draw_flags |= kDtRight;
      item->alignment_code = 1;
    } else if (item->align_h == 2) {
      item->draw_flags |= kDtCenter;
      item->alignment_code = 2;
    } else {
      item->alignment_code = 0;
    }
    if (i == kLyricsItem) {
      if (item->align_v == 1) item->draw_flags |= kDtBottom;
      if (item->align_v == 2) item->draw_flags |= kDtVCenter;
    }
  }
}

namespace {

// The loops below run seventeen by seventeen times for every load: they go through plain
// pointers, taken once, rather than through the owning pointers at every step.
using ItemPointers = std::array<DisplayItem*, kItemCount>;

ItemPointers pointers_of(const DisplayItems& items) {
  ItemPointers out{};
  for (size_t k = 0; k < items.size(); ++k) out[k] = items[k].get();
  return out;
}

bool value_in_use(const ItemPointers& items, int32_t value) {
  return std::any_of(items.begin(), items.end(),
                     [&](const DisplayItem* item) { return item && item->draw_order == value; });
}

}  // namespace

void renumber_draw_order(DisplayItems& owned) {
  const ItemPointers pointers = pointers_of(owned);
  DisplayItem* const* items = pointers.data();
  constexpr size_t n = kItemCount;
  int32_t highest = 0;
  for (size_t k = 0; k < n; ++k) {
    if (items[k] && items[k]->draw_order >= 0) highest = std::max(highest, items[k]->draw_order);
  }
  for (size_t k = 0; k < n; ++k) {
    if (!items[k] || items[k]->draw_order < 0) continue;
    for (size_t j = 0; j < n; ++j) {
      if (j == k || !items[j] || items[j]->draw_order != items[k]->draw_order) continue;
      if (highest < std::numeric_limits<int32_t>::max()) {
        items[j]->draw_order = ++highest;
      } else {
        // Only a damaged file gets here: no higher value is left, so take the highest free one.
        int32_t free_value = highest - 1;
        while (value_in_use(pointers, free_value)) --free_value;
        items[j]->draw_order = free_value;
      }
    }
  }
}

DrawingOrder build_drawing_order(const DisplayItems& items) {
  DrawingOrder values{};
  for (size_t k = 0; k < items.size(); ++k) values[k] = items[k] ? items[k]->draw_order : -1;
  DrawingOrder result;
  std::iota(result.begin(), result.end(), 0);
  const int32_t* value = values.data();
  int32_t* order = result.data();
  // A stable insertion sort: seventeen entries, and a load builds the order several times, where
  // std::stable_sort would take a buffer from the heap each time.
  for (size_t i = 1; i < result.size(); ++i) {
    const int32_t index = order[i];
    size_t j = i;
    for (; j > 0 && value[index] < value[order[j - 1]]; --j) order[j] = order[j - 1];
    order[j] = index;
  }
  return result;
}

}  // namespace sabla
