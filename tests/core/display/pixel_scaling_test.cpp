#include "display/pixel_scaling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "display/dots_visualizer.h"

namespace sabla {
namespace {

struct Picture {
  Picture(int32_t width, int32_t height, int32_t stride = 0)
      : bits(static_cast<size_t>((stride ? stride : width) * height), 0xDEADBEEFu),
        view{bits.data(), width, height, stride ? stride : width} {}
  uint32_t at(int32_t x, int32_t y) const { return view.row(y)[x]; }
  std::vector<uint32_t> bits;
  Pixels view;
};

Picture noise(int32_t width, int32_t height, uint32_t seed) {
  Picture p(width, height);
  std::mt19937 random(seed);
  for (uint32_t& b : p.bits) b = random() & 0x00FFFFFFu;
  return p;
}

int channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

TEST(PixelScaling, NearestSourceRoundsAsGdiEnlarges) {
  // Maps read back from GDI's own StretchBlt of a row numbered 0, 1, 2, ...
  struct Case {
    int32_t source, target;
    std::vector<int32_t> map;
  };
  const Case cases[] = {
      {4, 10, {0, 0, 0, 1, 1, 2, 2, 2, 3, 3}},
      {3, 10, {0, 0, 0, 1, 1, 1, 1, 2, 2, 2}},
      {5, 7, {0, 1, 1, 2, 3, 3, 4}},
      {4, 4, {0, 1, 2, 3}},
      {1, 3, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> map;
    for (int32_t i = 0; i < c.target; ++i) map.push_back(nearest_source(i, c.source, c.target));
    EXPECT_EQ(map, c.map) << c.source << " onto " << c.target;
  }
  // The canvas over a full-HD frame: every canvas column shows, in order, none beyond it.
  int32_t previous = 0;
  for (int32_t i = 0; i < 1921; ++i) {
    const int32_t s = nearest_source(i, 256, 1921);
    ASSERT_TRUE(s == previous || s == previous + 1) << i;
    previous = s;
  }
  EXPECT_EQ(previous, 255);
  EXPECT_EQ(nearest_source(5, 0, 10), 0);
  EXPECT_EQ(nearest_source(5, 10, 0), 0);
}

TEST(PixelScaling, NearestScalerCopiesTheMappedPixelsAndRefusesWhatDoesNotFit) {
  const Picture canvas = noise(256, 256, 7);
  struct Case {
    Rect source;
    Size target;
    int32_t x, y;
  };
  const Case cases[] = {
      {Rect{0, 32, 256, 224}, Size{641, 481}, 0, 0},  // 4:3 window, middle band
      {Rect{56, 0, 200, 256}, Size{301, 501}, 3, 2},  // taller than wide, offset
      {Rect{0, 0, 256, 256}, Size{100, 90}, 0, 0},    // smaller than the canvas
  };
  for (const Case& c : cases) {
    Picture frame(c.target.width + c.x + 5, c.target.height + c.y + 5, c.target.width + c.x + 9);
    const NearestScaler scaler(c.source, c.target);
    EXPECT_TRUE(scaler.made_for(c.source, c.target));
    scaler.scale(canvas.view, frame.view, c.x, c.y);
    const int32_t w = c.source.right - c.source.left;
    const int32_t h = c.source.bottom - c.source.top;
    int wrong = 0;
    for (int32_t y = 0; y < frame.view.height; ++y) {
      for (int32_t x = 0; x < frame.view.width; ++x) {
        const bool in =
            x >= c.x && y >= c.y && x < c.x + c.target.width && y < c.y + c.target.height;
        const uint32_t expected =
            in ? canvas.at(c.source.left + nearest_source(x - c.x, w, c.target.width),
                           c.source.top + nearest_source(y - c.y, h, c.target.height))
               : 0xDEADBEEFu;
        wrong += frame.at(x, y) != expected;
      }
    }
    EXPECT_EQ(wrong, 0) << c.target.width << " x " << c.target.height;
  }

  // A part reaching past the source, or a target past the picture, writes nothing.
  Picture frame(50, 50);
  NearestScaler(Rect{0, 0, 257, 256}, Size{50, 50}).scale(canvas.view, frame.view, 0, 0);
  NearestScaler(Rect{0, 0, 256, 256}, Size{50, 50}).scale(canvas.view, frame.view, 1, 0);
  NearestScaler(Rect{0, 0, 256, 256}, Size{51, 50}).scale(canvas.view, frame.view, 0, 0);
  NearestScaler().scale(canvas.view, frame.view, 0, 0);
  EXPECT_TRUE(std::all_of(frame.bits.begin(), frame.bits.end(),
                          [](uint32_t b) { return b == 0xDEADBEEFu; }));
}

TEST(PixelScaling, BoxAxisWeighsEachSourcePixelByItsShareOfTheFootprint) {
  struct Case {
    int32_t start, length, target, limit;
    int32_t inside_total;  // what a footprint fully inside the picture adds up to
  };
  const Case cases[] = {{0, 256, 64, 256, 256}, {2, 60, 256, 64, 256}, {0, 64, 64, 64, 256},
                        {-3, 70, 256, 64, 256}, {1, 62, 256, 64, 256}, {0, 7, 3, 7, 256}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << "+" << c.length << " onto " << c.target);
    const BoxAxis axis = box_axis(c.start, c.length, c.target, c.limit);
    ASSERT_EQ(axis.taps.size(), static_cast<size_t>(c.target));
    for (int32_t j = 0; j < c.target; ++j) {
      const BoxTap& tap = axis.taps[static_cast<size_t>(j)];
      const double low = c.start + static_cast<double>(j) * c.length / c.target;
      const double high = c.start + static_cast<double>(j + 1) * c.length / c.target;
      int32_t total = 0;
      for (int32_t i = 0; i < tap.count; ++i) {
        const int32_t pixel = tap.first + i;
        ASSERT_GE(pixel, 0);
        ASSERT_LT(pixel, c.limit);
        const double share =
            std::max(0.0, std::min(high, pixel + 1.0) - std::max(low, 1.0 * pixel)) / (high - low);
        const int32_t weight = axis.weights[static_cast<size_t>(tap.weight_index + i)];
        EXPECT_NEAR(weight, share * 256, 1.0) << "pixel " << pixel << " of target " << j;
        total += weight;
      }
      if (low >= 0 && high <= c.limit) {
        EXPECT_EQ(total, c.inside_total) << "target " << j;
      } else {
        EXPECT_LT(total, 256) << "target " << j << " reaches outside: darker";
      }
    }
  }
  // The shrink of the canvas onto the feedback picture is a plain 4 x 4 average.
  const BoxAxis shrink = box_axis(0, 256, 64, 256);
  for (size_t j = 0; j < shrink.taps.size(); ++j) {
    EXPECT_EQ(shrink.taps[j].first, static_cast<int32_t>(4 * j));
    EXPECT_EQ(shrink.taps[j].count, 4);
  }
  EXPECT_TRUE(std::all_of(shrink.weights.begin(), shrink.weights.end(),
                          [](uint16_t w) { return w == 64; }));
  EXPECT_TRUE(box_axis(0, 0, 10, 10).taps.empty());
  EXPECT_TRUE(box_axis(0, 10, 0, 10).taps.empty());
}

// The same filter in floating point, one pixel at a time.
uint32_t reference_box(const Picture& from, const Rect& source, Size target, int32_t x, int32_t y) {
  const double sx = static_cast<double>(source.right - source.left) / target.width;
  const double sy = static_cast<double>(source.bottom - source.top) / target.height;
  const double left = source.left + x * sx;
  const double top = source.top + y * sy;
  double sum[3] = {0, 0, 0};
  for (int32_t py = static_cast<int32_t>(std::floor(top)); py < top + sy; ++py) {
    const double hy = std::min(top + sy, py + 1.0) - std::max(top, 1.0 * py);
    for (int32_t px = static_cast<int32_t>(std::floor(left)); px < left + sx; ++px) {
      if (px < 0 || py < 0 || px >= from.view.width || py >= from.view.height) continue;
      const double hx = std::min(left + sx, px + 1.0) - std::max(left, 1.0 * px);
      for (int k = 0; k < 3; ++k) sum[k] += channel(from.at(px, py), 8 * k) * hx * hy;
    }
  }
  uint32_t out = 0;
  for (int k = 0; k < 3; ++k) {
    out |= static_cast<uint32_t>(std::lround(sum[k] / (sx * sy))) << (8 * k);
  }
  return out;
}

TEST(PixelScaling, BoxScalerMatchesTheFilterInFloatingPoint) {
  const Picture feedback = noise(kFeedbackSide, kFeedbackSide, 11);
  const Picture canvas = noise(kCanvasSide, kCanvasSide, 12);
  struct Case {
    const Picture* from;
    Rect source;
    Size target;
  };
  const Case cases[] = {
      {&feedback, *feedback_source(2), Size{256, 256}},   // the trails drifting outward
      {&feedback, *feedback_source(-3), Size{256, 256}},  // inward: black beyond the picture
      {&feedback, *feedback_source(0), Size{256, 256}},
      {&canvas, Rect{0, 0, 256, 256}, Size{64, 64}},  // the shrink
      {&canvas, Rect{10, 20, 200, 90}, Size{37, 91}},
  };
  std::vector<uint32_t> scratch;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.source.left << "," << c.source.top << " onto " << c.target.width);
    const Size size{c.from->view.width, c.from->view.height};
    const BoxScaler scaler(c.source, size, c.target);
    ASSERT_TRUE(scaler.made_for(c.source, size, c.target));
    Picture out(c.target.width, c.target.height);
    scaler.scale(c.from->view, out.view, scratch);
    int worst = 0;
    for (int32_t y = 0; y < c.target.height; ++y) {
      for (int32_t x = 0; x < c.target.width; ++x) {
        const uint32_t expected = reference_box(*c.from, c.source, c.target, x, y);
        const uint32_t got = out.at(x, y);
        ASSERT_EQ(got >> 24, 0u) << "no bits beyond the colour";
        for (int k = 0; k < 3; ++k) {
          worst = std::max(worst, std::abs(channel(got, 8 * k) - channel(expected, 8 * k)));
        }
      }
    }
    // Two passes, each rounded to whole steps, and weights in 256ths.
    EXPECT_LE(worst, 3);
  }

  // Shrinking by a whole factor, each pass is the plain average of its pixels, rounded.
  const BoxScaler shrink(Rect{0, 0, 256, 256}, Size{256, 256}, Size{64, 64});
  Picture small(64, 64);
  shrink.scale(canvas.view, small.view, scratch);
  int differ = 0;
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      uint32_t expected = 0;
      for (int k = 0; k < 3; ++k) {
        int down = 0;
        for (int32_t dy = 0; dy < 4; ++dy) {
          int across = 0;
          for (int32_t dx = 0; dx < 4; ++dx)
            across += channel(canvas.at(4 * x + dx, 4 * y + dy), 8 * k);
          down += (across + 2) / 4;
        }
        expected |= static_cast<uint32_t>((down + 2) / 4) << (8 * k);
      }
      differ += small.at(x, y) != expected;
    }
  }
  EXPECT_EQ(differ, 0);

  // One colour stays exactly that colour whatever the scale, and a picture onto itself is
  // refused rather than read while written.
  Picture flat(64, 64);
  std::fill(flat.bits.begin(), flat.bits.end(), 0x00507090u);
  Picture out(256, 256);
  BoxScaler(Rect{2, 2, 62, 62}, Size{64, 64}, Size{256, 256}).scale(flat.view, out.view, scratch);
  EXPECT_TRUE(
      std::all_of(out.bits.begin(), out.bits.end(), [](uint32_t b) { return b == 0x00507090u; }));
  Picture same = noise(64, 64, 3);
  const std::vector<uint32_t> before = same.bits;
  BoxScaler(Rect{2, 2, 62, 62}, Size{64, 64}, Size{60, 60}).scale(same.view, same.view, scratch);
  EXPECT_EQ(same.bits, before);
  // A source of another size than the scaler's is left alone too.
  BoxScaler(Rect{0, 0, 32, 32}, Size{32, 32}, Size{64, 64}).scale(flat.view, same.view, scratch);
  EXPECT_EQ(same.bits, before);
}

}  // namespace
}  // namespace sabla
