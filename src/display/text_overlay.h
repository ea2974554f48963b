#pragma once
// Text drawn once and laid over each frame again. The text is drawn twice, over black and over
// white: together the two pictures give, channel by channel, how far each pixel's shade pulls a
// background towards the text colour from below and from above, which is how GDI blends the
// grey shades of text edges. Laying the text over any background then gives the pixels GDI would
// have drawn there, without drawing the text again.
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "display/pixel_scaling.h"
#include "lyrics/rect.h"

namespace sabla {

// Where text of one colour (0x00RRGGBB) was drawn, in the captures' coordinates. Boxes of
// different colours must not overlap.
struct TextInk {
  Rect box;
  uint32_t colour = 0;
};

// One pixel of text laid over `background`: `low` and `high` are the pixel as drawn over black
// and over white. Equal, the pixel is covered (text or an opaque bar) and is `low`; black and
// white, it is untouched.
uint32_t blend_text_pixel(uint32_t background, uint32_t low, uint32_t high, uint32_t colour);

class TextOverlay {
 public:
  // Keeps the pixels the text touched inside the ink boxes. The captures have one size; boxes
  // are cut to it. False, and empty, when the captures do not have one size or hold more shades
  // than the overlay keeps tables for (kMaxTables).
  bool build(const Pixels& over_black, const Pixels& over_white, std::span<const TextInk> inks);
  static constexpr size_t kMaxTables = 4096;
  void clear();
  bool empty() const { return runs_.empty(); }
  size_t pixel_count() const { return pixel_count_; }

  // Lays the text over `onto` with the captures' top-left corner at (x, y); pixels that would
  // fall outside `onto` are left out.
  void draw(const Pixels& onto, int32_t x, int32_t y) const;

 private:
  // One touched pixel: per channel (blue first), the number of the table that maps a background
  // value to the pixel's. A covered pixel's tables give its colour whatever the background, a
  // kept one's give the background back, so every pixel is laid over the same way, without a
  // branch that text edges would keep mispredicting. A few tables serve a whole text: its edges
  // have few shades in few colours.
  struct Shade {
    uint16_t table[3] = {};
  };
  bool make_shade(uint32_t low, uint32_t high, uint32_t colour, Shade& shade);
  uint16_t table_for(uint32_t text, uint32_t low, uint32_t high);

  // A run of touched pixels on one row: shaded through the tables, or, inside large text, all
  // covered in one colour and simply filled (most of a big text's pixels).
  struct Run {
    int32_t x = 0;
    int32_t y = 0;
    int32_t count = 0;
    uint32_t first = 0;  // index of the run's first pixel in shades_
    bool solid = false;
    uint32_t solid_colour = 0;
  };
  // Covered stretches shorter than this stay in the shaded runs around them: a run has a cost.
  static constexpr int32_t kMinSolidRun = 8;
  bool add_touched(int32_t y, int32_t from, int32_t to, const uint32_t* low, const uint32_t* high,
                   uint32_t colour);
  bool add_shaded(int32_t y, int32_t from, int32_t to, const uint32_t* low, const uint32_t* high,
                  uint32_t colour);
  std::vector<Run> runs_;
  size_t pixel_count_ = 0;
  std::vector<Shade> shades_;
  std::vector<uint8_t> tables_;                         // 256 entries each
  std::unordered_map<uint32_t, uint16_t> table_index_;  // by text, low and high value
};

}  // namespace sabla
