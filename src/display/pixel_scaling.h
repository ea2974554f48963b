#pragma once
// Scaling pictures of 0x00RRGGBB pixels in memory: the nearest-pixel stretch of the dots canvas
// over the frame and the box filter of the dots' trails. Precomputed maps make each frame a
// pass of lookups and row copies.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lyrics/rect.h"
#include "state/frame_state.h"

namespace sabla {

// Pixels in rows `stride` pixels apart, the top row first.
struct Pixels {
  uint32_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;

  uint32_t* row(int32_t y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
  explicit operator bool() const { return bits && width > 0 && height > 0 && stride >= width; }
};

// The source pixel a nearest-pixel stretch of `source_length` pixels onto `target_length`
// takes for target pixel `index`. The rounding is the one GDI's plain StretchBlt uses when it
// enlarges, so the stretched canvas is the picture it always was.
int32_t nearest_source(int32_t index, int32_t source_length, int32_t target_length);

// A nearest-pixel stretch of the part `source` of a picture onto a `target`-sized picture.
class NearestScaler {
 public:
  NearestScaler() = default;
  NearestScaler(const Rect& source, Size target);

  bool made_for(const Rect& source, Size target) const {
    return source == source_ && target == target_;
  }
  // Writes the stretched part into `to` with its top-left corner at (x, y). Nothing when the
  // part is not inside `from` or the stretched picture not inside `to`.
  void scale(const Pixels& from, const Pixels& to, int32_t x, int32_t y) const;

 private:
  // A stretched row as runs of one source pixel each, when the stretch enlarges: filling a run
  // is cheaper than looking up every target pixel.
  struct ColumnRun {
    int32_t column = 0;  // the source column
    int32_t length = 0;  // how many target pixels in a row take it
  };

  void stretch_row(const uint32_t* in, uint32_t* out) const;

  Rect source_;
  Size target_;
  std::vector<int32_t> columns_;  // source column of each target column
  std::vector<int32_t> rows_;     // source row of each target row
  std::vector<ColumnRun> runs_;   // empty unless the runs are long enough to pay
};

// One axis of a box filter: each target pixel is the average of the source pixels its
// footprint covers, weighted by how much of each it covers, in 256ths.
struct BoxTap {
  int32_t first = 0;         // the first source pixel with a weight
  int32_t count = 0;         // how many follow it, the first included
  int32_t weight_index = 0;  // where its weights start in BoxAxis::weights
};
struct BoxAxis {
  std::vector<BoxTap> taps;       // one per target pixel
  std::vector<uint16_t> weights;  // a target pixel's weights add up to 256 at most
  // The one weight of every source pixel when each target pixel covers the same number of
  // whole source pixels (a shrink by a whole factor), else 0. A sum weighed once is the same
  // number as the sum of the weighed pixels, for a multiply per target pixel instead of each.
  uint16_t even_weight = 0;
};

// The axis for `source_length` pixels starting at `source_start` spread over `target_length`.
// Source pixels outside [0, `source_limit`) are black: a footprint partly outside gets less than
// 256 in all, and is darkened by that much.
BoxAxis box_axis(int32_t source_start, int32_t source_length, int32_t target_length,
                 int32_t source_limit);

// A box-filtered scaling of the part `source` of a `source_size` picture onto a
// `target`-sized one.
class BoxScaler {
 public:
  BoxScaler() = default;
  BoxScaler(const Rect& source, Size source_size, Size target);

  bool made_for(const Rect& source, Size source_size, Size target) const {
    return source == source_ && source_size == source_size_ && target == target_;
  }
  // Writes the scaled picture over the top-left corner of `to`; `scratch` holds the pass
  // between the two axes. Nothing when the pictures do not have the sizes the scaler was made
  // for, or when they are one and the same.
  void scale(const Pixels& from, const Pixels& to, std::vector<uint32_t>& scratch) const;

 private:
  Rect source_;
  Size source_size_;
  Size target_;
  BoxAxis columns_;
  BoxAxis rows_;
};

}  // namespace sabla
