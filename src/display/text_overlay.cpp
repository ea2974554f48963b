#include "display/text_overlay.h"

#include <algorithm>

namespace sabla {
namespace {

constexpr uint32_t kColour = 0x00FFFFFFu;
// The table of text value 0 drawn as 0 over black and 255 over white: every background stays.
constexpr uint32_t kKeepKey = 0xFF0000u;

// How far a shade pulls a background towards the text colour, from above and from below, as a
// share in 2^-24 steps rounded up. Shares and backgrounds are whole steps of 1/255 at most 255
// apart, so (distance * share) >> 24 is the whole-number division GDI does, exactly: the
// rounding adds less than 255 / 2^24, and a quotient's fraction is at least 1/255 from the next
// whole number.
struct ChannelPull {
  uint32_t up = 0;    // for backgrounds above the text colour
  uint32_t down = 0;  // for backgrounds below it
};

uint32_t share(uint32_t part, uint32_t whole) {
  return whole == 0 ? 0 : static_cast<uint32_t>(((uint64_t{part} << 24) + whole - 1) / whole);
}

// False when the captures could not come from a shade of the text colour.
bool channel_pull(uint32_t text, uint32_t low, uint32_t high, ChannelPull& pull) {
  if (low > text || high < text) return false;
  // A shade leaves white at `high` and black at `low`: the distance left to the text colour.
  pull.up = share(high - text, 255 - text);
  pull.down = share(text - low, text);
  return true;
}

uint32_t blend_channel(uint32_t background, uint32_t text, const ChannelPull& pull) {
  if (background > text) return text + (((background - text) * pull.up) >> 24);
  if (background < text) return text - (((text - background) * pull.down) >> 24);
  return background;
}

bool untouched(uint32_t low, uint32_t high) {
  return (low & kColour) == 0 && (high & kColour) == kColour;
}

}  // namespace

uint32_t blend_text_pixel(uint32_t background, uint32_t low, uint32_t high, uint32_t colour) {
  low &= kColour;
  high &= kColour;
  if (low == high) return low;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t t = (colour >> shift) & 0xFF;
    ChannelPull pull;
    // A shade never leaves the range between the text colour and the background it covers;
    // captures that say otherwise did not come from one text colour, and the pixel is kept.
    if (!channel_pull(t, (low >> shift) & 0xFF, (high >> shift) & 0xFF, pull)) {
      return background & kColour;
    }
    out |= blend_channel((background >> shift) & 0xFF, t, pull) << shift;
  }
  return out;
}

uint16_t TextOverlay::table_for(uint32_t text, uint32_t low, uint32_t high) {
  const uint32_t key = text | low << 8 | high << 16;
  const auto found = table_index_.find(key);
  if (found != table_index_.end()) return found->second;
  const auto index = static_cast<uint16_t>(table_index_.size());
  ChannelPull pull;
  channel_pull(text, low, high, pull);
  for (uint32_t background = 0; background < 256; ++background) {
    tables_.push_back(static_cast<uint8_t>(blend_channel(background, text, pull)));
  }
  table_index_.emplace(key, index);
  return index;
}

bool TextOverlay::make_shade(uint32_t low, uint32_t high, uint32_t colour, Shade& shade) {
  low &= kColour;
  high &= kColour;
  // Per channel the table of a shade of text value t drawn as l over black and h over white.
  // Equal captures are the pixel's own colour, which (v, v, v) gives over any background; a
  // pixel no shade of the colour explains keeps the background, which (0, 0, 255) gives.
  uint32_t keys[3] = {};
  for (int c = 0; c < 3; ++c) {
    const int shift = 8 * c;
    const uint32_t t = (colour >> shift) & 0xFF;
    const uint32_t l = (low >> shift) & 0xFF;
    const uint32_t h = (high >> shift) & 0xFF;
    ChannelPull pull;
    if (low == high) {
      keys[c] = l | l << 8 | l << 16;
    } else if (channel_pull(t, l, h, pull)) {
      keys[c] = t | l << 8 | h << 16;
    } else {
      keys[0] = keys[1] = keys[2] = kKeepKey;
      break;
    }
  }
  for (int c = 0; c < 3; ++c) {
    if (table_index_.size() >= kMaxTables && !table_index_.count(keys[c])) return false;
    shade.table[c] = table_for(keys[c] & 0xFF, (keys[c] >> 8) & 0xFF, keys[c] >> 16);
  }
  return true;
}

void TextOverlay::clear() {
  runs_.clear();
  pixel_count_ = 0;
  shades_.clear();
  tables_.clear();
  table_index_.clear();
}

bool TextOverlay::add_shaded(int32_t y, int32_t from, int32_t to, const uint32_t* low,
                             const uint32_t* high, uint32_t colour) {
  if (from >= to) return true;
  Run run{from, y, to - from, static_cast<uint32_t>(shades_.size())};
  for (int32_t x = from; x < to; ++x) {
    if (!make_shade(low[x], high[x], colour, shades_.emplace_back())) return false;
  }
  runs_.push_back(run);
  return true;
}

// Pixels [from, to) of row y, all touched: long stretches covered in one colour become solid
// runs, the rest shaded ones.
bool TextOverlay::add_touched(int32_t y, int32_t from, int32_t to, const uint32_t* low,
                              const uint32_t* high, uint32_t colour) {
  pixel_count_ += static_cast<size_t>(to - from);
  int32_t shaded_from = from;
  int32_t x = from;
  while (x < to) {
    const uint32_t value = low[x] & kColour;
    int32_t end = x;
    while (end < to && (low[end] & kColour) == value && (high[end] & kColour) == value) ++end;
    if (end - x < kMinSolidRun) {
      x = std::max(end, x + 1);
      continue;
    }
    if (!add_shaded(y, shaded_from, x, low, high, colour)) return false;
    Run run{x, y, end - x, 0, true, value};
    runs_.push_back(run);
    shaded_from = x = end;
  }
  return add_shaded(y, shaded_from, to, low, high, colour);
}

bool TextOverlay::build(const Pixels& over_black, const Pixels& over_white,
                        std::span<const TextInk> inks) {
  clear();
  if (!over_black || !over_white || over_black.width != over_white.width ||
      over_black.height != over_white.height) {
    return false;
  }
  for (const TextInk& ink : inks) {
    const int32_t left = std::max(ink.box.left, 0);
    const int32_t right = std::min(ink.box.right, over_black.width);
    const int32_t top = std::max(ink.box.top, 0);
    const int32_t bottom = std::min(ink.box.bottom, over_black.height);
    for (int32_t y = top; y < bottom; ++y) {
      const uint32_t* low = over_black.row(y);
      const uint32_t* high = over_white.row(y);
      int32_t x = left;
      while (x < right) {
        if (untouched(low[x], high[x])) {
          ++x;
          continue;
        }
        const int32_t start = x;
        while (x < right && !untouched(low[x], high[x])) ++x;
        if (!add_touched(y, start, x, low, high, ink.colour & kColour)) {
          clear();
          return false;
        }
      }
    }
  }
  return true;
}

void TextOverlay::draw(const Pixels& onto, int32_t x, int32_t y) const {
  if (!onto) return;
  for (const Run& run : runs_) {
    const int32_t row = y + run.y;
    if (row < 0 || row >= onto.height) continue;
    const int32_t start = std::max(x + run.x, 0);
    const int32_t end = std::min(x + run.x + run.count, onto.width);
    if (start >= end) continue;
    uint32_t* out = onto.row(row);
    if (run.solid) {
      std::fill(out + start, out + end, run.solid_colour);
      continue;
    }
    const uint8_t* tables = tables_.data();
    const Shade* shade = &shades_[run.first + static_cast<uint32_t>(start - x - run.x)];
    for (int32_t px = start; px < end; ++px, ++shade) {
      const uint32_t background = out[px];
      out[px] = tables[shade->table[0] * 256u + (background & 0xFF)] |
                tables[shade->table[1] * 256u + ((background >> 8) & 0xFF)] << 8 |
                static_cast<uint32_t>(tables[shade->table[2] * 256u + ((background >> 16) & 0xFF)])
                    << 16;
    }
  }
}

}  // namespace sabla
