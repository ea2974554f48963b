#include "display/pixel_scaling.h"

#include <algorithm>
#include <cstring>

namespace sabla {
namespace {

// Division rounding down, since a footprint may start left of the picture.
int64_t floor_div(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

bool inside(const Rect& r, int32_t width, int32_t height) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= width &&
         r.bottom <= height;
}

std::vector<int32_t> nearest_map(int32_t source_length, int32_t target_length) {
  std::vector<int32_t> map(static_cast<size_t>(std::max(target_length, 0)));
  for (int32_t i = 0; i < target_length; ++i) {
    map[static_cast<size_t>(i)] = nearest_source(i, source_length, target_length);
  }
  return map;
}

uint16_t even_weight(const BoxAxis& axis) {
  if (axis.taps.empty() || axis.weights.empty()) return 0;
  const int32_t count = axis.taps.front().count;
  const uint16_t weight = axis.weights.front();
  for (const BoxTap& tap : axis.taps) {
    if (tap.count != count) return 0;
  }
  const bool even = std::all_of(axis.weights.begin(), axis.weights.end(),
                                [weight](uint16_t w) { return w == weight; });
  return even && weight > 0 && count > 1 ? weight : 0;
}

// Red and blue share one 32-bit sum, green has its own: with weights adding up to 256 at most,
// no channel's sum reaches the next one.
constexpr uint32_t kRedBlue = 0x00FF00FFu;
constexpr uint32_t kGreen = 0x0000FF00u;
constexpr uint32_t kColour = 0x00FFFFFFu;

// A target pixel that lies wholly inside one source pixel is that pixel.
bool whole(const BoxTap& tap, const std::vector<uint16_t>& weights) {
  return tap.count == 1 && weights[static_cast<size_t>(tap.weight_index)] == 256;
}

bool same_taps(const BoxTap& a, const BoxTap& b, const std::vector<uint16_t>& weights) {
  return a.first == b.first && a.count == b.count &&
         std::equal(weights.begin() + a.weight_index, weights.begin() + a.weight_index + a.count,
                    weights.begin() + b.weight_index);
}

// The sum of `count` pixels, each channel weighed by `weight`, rounded as weighted_sum rounds.
uint32_t evenly_weighted_sum(const uint32_t* pixels, ptrdiff_t step, int32_t count,
                             uint32_t weight) {
  uint32_t red_blue = 0;
  uint32_t green = 0;
  for (int32_t i = 0; i < count; ++i, pixels += step) {
    red_blue += *pixels & kRedBlue;
    green += *pixels & kGreen;
  }
  red_blue = red_blue * weight + 0x00800080u;
  green = green * weight + 0x00008000u;
  return ((red_blue >> 8) & kRedBlue) | ((green >> 8) & kGreen);
}

// weighted_sum of two pixels.
uint32_t two_pixel_sum(uint32_t a, uint32_t b, uint32_t wa, uint32_t wb) {
  const uint32_t red_blue = 0x00800080u + (a & kRedBlue) * wa + (b & kRedBlue) * wb;
  const uint32_t green = 0x00008000u + (a & kGreen) * wa + (b & kGreen) * wb;
  return ((red_blue >> 8) & kRedBlue) | ((green >> 8) & kGreen);
}

uint32_t weighted_sum(const uint32_t* pixels, ptrdiff_t step, const BoxTap& tap,
                      const uint16_t* weights) {
  uint32_t red_blue = 0x00800080u;  // rounds to nearest
  uint32_t green = 0x00008000u;
  const uint32_t* p = pixels + tap.first * step;
  for (int32_t i = 0; i < tap.count; ++i, p += step) {
    const uint32_t w = weights[tap.weight_index + i];
    red_blue += (*p & kRedBlue) * w;
    green += (*p & kGreen) * w;
  }
  return ((red_blue >> 8) & kRedBlue) | ((green >> 8) & kGreen);
}

}  // namespace

int32_t nearest_source(int32_t index, int32_t source_length, int32_t target_length) {
  if (source_length <= 0 || target_length <= 0) return 0;
  const int64_t n = static_cast<int64_t>(index) * source_length + (source_length - 1) / 2;
  return static_cast<int32_t>(std::clamp<int64_t>(n / target_length, 0, source_length - 1));
}

NearestScaler::NearestScaler(const Rect& source, Size target)
    : source_(source),
      target_(target),
      columns_(nearest_map(source.right - source.left, target.width)),
      rows_(nearest_map(source.bottom - source.top, target.height)) {
  // Runs of one pixel or two cost more than the lookups they replace.
  if (target.width < 2 * (source.right - source.left)) return;
  for (const int32_t column : columns_) {
    if (!runs_.empty() && runs_.back().column == column) {
      ++runs_.back().length;
    } else {
      runs_.push_back({column, 1});
    }
  }
}

void NearestScaler::stretch_row(const uint32_t* in, uint32_t* out) const {
  if (runs_.empty()) {
    const int32_t* columns = columns_.data();
    for (int32_t tx = 0; tx < target_.width; ++tx) out[tx] = in[columns[tx]];
    return;
  }
  for (const ColumnRun& run : runs_) {
    out = std::fill_n(out, run.length, in[run.column]);
  }
}

void NearestScaler::scale(const Pixels& from, const Pixels& to, int32_t x, int32_t y) const {
  if (!from || !to || target_.width < 1 || target_.height < 1) return;
  if (!inside(source_, from.width, from.height)) return;
  if (!inside(Rect{x, y, x + target_.width, y + target_.height}, to.width, to.height)) return;
  const size_t row_bytes = static_cast<size_t>(target_.width) * sizeof(uint32_t);
  for (int32_t ty = 0; ty < target_.height; ++ty) {
    uint32_t* out = to.row(y + ty) + x;
    // A stretched row is the row above it again whenever both come from one source row.
    if (ty > 0 && rows_[static_cast<size_t>(ty)] == rows_[static_cast<size_t>(ty) - 1]) {
      std::memcpy(out, to.row(y + ty - 1) + x, row_bytes);
      continue;
    }
    stretch_row(from.row(source_.top + rows_[static_cast<size_t>(ty)]) + source_.left, out);
  }
}

BoxAxis box_axis(int32_t source_start, int32_t source_length, int32_t target_length,
                 int32_t source_limit) {
  BoxAxis axis;
  if (source_length < 1 || target_length < 1) return axis;
  axis.taps.resize(static_cast<size_t>(target_length));
  // In units of 1/target_length of a source pixel, so every edge is a whole number: target
  // pixel j covers [start + j * length, start + (j + 1) * length), source pixel i [i * T, (i + 1) *
  // T).
  const int64_t t = target_length;
  const int64_t length = source_length;
  for (int32_t j = 0; j < target_length; ++j) {
    const int64_t low = source_start * t + j * length;
    const int64_t high = low + length;
    const int64_t first = floor_div(low, t);
    const int64_t last = floor_div(high - 1, t);
    BoxTap& tap = axis.taps[static_cast<size_t>(j)];
    tap.weight_index = static_cast<int32_t>(axis.weights.size());
    tap.first = -1;
    // Weights from the running total, so that they add up to exactly 256 over the footprint.
    int64_t covered = 0;
    int64_t given = 0;
    for (int64_t i = first; i <= last; ++i) {
      covered += std::min(high, (i + 1) * t) - std::max(low, i * t);
      const int64_t total = (covered * 256 + length / 2) / length;
      const int64_t weight = total - given;
      given = total;
      if (i < 0 || i >= source_limit || weight == 0) continue;
      if (tap.first < 0) tap.first = static_cast<int32_t>(i);
      // Pixels between two weighted ones keep their place with a weight of 0.
      while (tap.first + tap.count < i) {
        axis.weights.push_back(0);
        ++tap.count;
      }
      axis.weights.push_back(static_cast<uint16_t>(weight));
      ++tap.count;
    }
    if (tap.first < 0) tap.first = 0;
  }
  axis.even_weight = even_weight(axis);
  return axis;
}

BoxScaler::BoxScaler(const Rect& source, Size source_size, Size target)
    : source_(source),
      source_size_(source_size),
      target_(target),
      columns_(box_axis(source.left, source.right - source.left, target.width, source_size.width)),
      rows_(box_axis(source.top, source.bottom - source.top, target.height, source_size.height)) {}

void BoxScaler::scale(const Pixels& from, const Pixels& to, std::vector<uint32_t>& scratch) const {
  if (!from || !to || from.bits == to.bits) return;
  if (from.width != source_size_.width || from.height != source_size_.height) return;
  if (to.width < target_.width || to.height < target_.height) return;
  if (columns_.taps.empty() || rows_.taps.empty()) return;

  // Across first, only the source rows some target row reads.
  int32_t top = source_size_.height;
  int32_t bottom = 0;
  for (const BoxTap& tap : rows_.taps) {
    if (tap.count == 0) continue;
    top = std::min(top, tap.first);
    bottom = std::max(bottom, tap.first + tap.count);
  }
  const auto width = static_cast<size_t>(target_.width);
  scratch.resize(static_cast<size_t>(std::max(bottom - top, 0)) * width);
  for (int32_t sy = top; sy < bottom; ++sy) {
    const uint32_t* in = from.row(sy);
    uint32_t* out = scratch.data() + (sy - top) * width;
    if (columns_.even_weight) {
      for (size_t tx = 0; tx < width; ++tx) {
        const BoxTap& tap = columns_.taps[tx];
        out[tx] = evenly_weighted_sum(in + tap.first, 1, tap.count, columns_.even_weight);
      }
      continue;
    }
    for (size_t tx = 0; tx < width; ++tx) {
      const BoxTap& tap = columns_.taps[tx];
      // Enlarging, most target pixels lie inside one source pixel.
      out[tx] = whole(tap, columns_.weights) ? in[tap.first] & kColour
                                             : weighted_sum(in, 1, tap, columns_.weights.data());
    }
  }
  // Then down the columns of what the first pass left.
  for (int32_t ty = 0; ty < target_.height; ++ty) {
    BoxTap tap = rows_.taps[static_cast<size_t>(ty)];
    uint32_t* out = to.row(ty);
    if (tap.count == 0) {
      std::fill(out, out + width, 0u);
      continue;
    }
    if (ty > 0 && same_taps(tap, rows_.taps[static_cast<size_t>(ty) - 1], rows_.weights)) {
      std::memcpy(out, to.row(ty - 1), width * sizeof(uint32_t));
      continue;
    }
    tap.first -= top;
    if (whole(tap, rows_.weights)) {
      std::memcpy(out, scratch.data() + tap.first * width, width * sizeof(uint32_t));
      continue;
    }
    const auto step = static_cast<ptrdiff_t>(width);
    if (rows_.even_weight) {
      const uint32_t* first_row = scratch.data() + tap.first * width;
      for (size_t tx = 0; tx < width; ++tx) {
        out[tx] = evenly_weighted_sum(first_row + tx, step, tap.count, rows_.even_weight);
      }
      continue;
    }
    if (tap.count == 2) {
      // Enlarging, a target row lies across two source rows at most.
      const uint32_t* upper = scratch.data() + tap.first * width;
      const uint32_t* lower = upper + width;
      const uint32_t w0 = rows_.weights[static_cast<size_t>(tap.weight_index)];
      const uint32_t w1 = rows_.weights[static_cast<size_t>(tap.weight_index) + 1];
      for (size_t tx = 0; tx < width; ++tx) out[tx] = two_pixel_sum(upper[tx], lower[tx], w0, w1);
      continue;
    }
    for (size_t tx = 0; tx < width; ++tx) {
      out[tx] = weighted_sum(scratch.data() + tx, step, tap, rows_.weights.data());
    }
  }
}

}  // namespace sabla
