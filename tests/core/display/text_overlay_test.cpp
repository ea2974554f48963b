#include "display/text_overlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <random>
#include <vector>

namespace sabla {
namespace {

int channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// Every channel within one step.
bool near(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(channel(a, shift) - channel(b, shift)) > 1) return false;
  }
  return (a >> 24) == (b >> 24);
}

// Text whose edge pixel covers `share` of the pixel, blended in proportion: what a rasteriser
// without any gamma would leave over `background`.
uint32_t linear_text(uint32_t background, uint32_t colour, double share) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double v = channel(colour, shift) * share + channel(background, shift) * (1 - share);
    out |= static_cast<uint32_t>(std::lround(v)) << shift;
  }
  return out;
}

TEST(TextOverlay, BlendsEachChannelTowardsTheTextColourAsTheCapturesShow) {
  struct Case {
    uint32_t background, low, high, colour, expected;
  };
  const Case cases[] = {
      // Untouched: black over black, white over white.
      {0x00123456, 0x00000000, 0x00FFFFFF, 0x00FF8000, 0x00123456},
      // Covered, by the text or an opaque bar: the captures agree.
      {0x00123456, 0x000000C8, 0x000000C8, 0x00FF8000, 0x000000C8},
      {0x00123456, 0x00FF8000, 0x00FF8000, 0x00FF8000, 0x00FF8000},
      // Half a white pixel: 128 over black, 255 over white; over grey 100 it is
      // 255 - 155 * 127 / 255, cut to a whole step.
      {0x00646464, 0x00808080, 0x00FFFFFF, 0x00FFFFFF, 0x00B2B2B2},
      // Half a black pixel: over white it is 127, over black 0; over 200 it is 200 * 127 / 255.
      {0x00C8C8C8, 0x00000000, 0x007F7F7F, 0x00000000, 0x00636363},
      // The background equal to the text colour stays as it is.
      {0x00FF8000, 0x00804000, 0x00FFBF7F, 0x00FF8000, 0x00FF8000},
      // Captures that no shade of this colour could give keep the background.
      {0x00123456, 0x00FFFFFF, 0x00FFFFFE, 0x00000000, 0x00123456},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(blend_text_pixel(c.background, c.low, c.high, c.colour), c.expected)
        << std::hex << c.background << " " << c.low << " " << c.high << " " << c.colour;
  }
  // Bits beyond the colour never leak in or out.
  EXPECT_EQ(blend_text_pixel(0xFF123456, 0xAA000000, 0xBBFFFFFF, 0xCC000000), 0x00123456u);
}

TEST(TextOverlay, ReproducesProportionalBlendingOverAnyBackground) {
  std::mt19937 random(5);
  int worst = 0;
  for (int i = 0; i < 20000; ++i) {
    const uint32_t colour = random() & 0x00FFFFFF;
    const uint32_t background = random() & 0x00FFFFFF;
    const double share = (random() % 17) / 16.0;
    const uint32_t got = blend_text_pixel(background, linear_text(0, colour, share),
                                          linear_text(0x00FFFFFF, colour, share), colour);
    const uint32_t expected = linear_text(background, colour, share);
    for (int shift = 0; shift < 24; shift += 8) {
      const int b = channel(background, shift);
      const int t = channel(colour, shift);
      const int g = channel(got, shift);
      // Between the background and the text colour, and off by a rounding at most.
      ASSERT_GE(g, std::min(b, t));
      ASSERT_LE(g, std::max(b, t));
      worst = std::max(worst, std::abs(g - channel(expected, shift)));
    }
  }
  EXPECT_LE(worst, 2);
}

// GDI's grey-level text blend, channel by channel, with plain division.
int divided_blend(int background, int text, int low, int high) {
  if (background > text) return text + (background - text) * (high - text) / (255 - text);
  if (background < text) return text - (text - background) * (text - low) / text;
  return background;
}

TEST(TextOverlay, MultipliesExactlyWhereGdiDivides) {
  std::mt19937 random(9);
  int mismatches = 0;
  for (int text = 0; text < 256; ++text) {
    for (int k = 0; k < 24; ++k) {
      // The extremes first: full shades, no shade.
      const int low = k == 0 ? 0 : k == 1 ? text : static_cast<int>(random() % (text + 1));
      const int high = k == 0   ? 255
                       : k == 1 ? text
                                : text + static_cast<int>(random() % (256 - text));
      if (low == high) continue;
      for (int background = 0; background < 256; ++background) {
        const uint32_t got = blend_text_pixel(
            static_cast<uint32_t>(background) << 8, static_cast<uint32_t>(low) << 8,
            static_cast<uint32_t>(high) << 8, static_cast<uint32_t>(text) << 8);
        mismatches += channel(got, 8) != divided_blend(background, text, low, high);
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

struct Captures {
  Captures(int32_t width, int32_t height)
      : black(static_cast<size_t>(width * height), 0u),
        white(static_cast<size_t>(width * height), 0x00FFFFFFu),
        black_view{black.data(), width, height, width},
        white_view{white.data(), width, height, width} {}
  // A text pixel of `colour` covering `share` of (x, y).
  void mark(int32_t x, int32_t y, uint32_t colour, double share) {
    const size_t i = static_cast<size_t>(y * black_view.width + x);
    black[i] = linear_text(0, colour, share);
    white[i] = linear_text(0x00FFFFFF, colour, share);
  }
  std::vector<uint32_t> black, white;
  Pixels black_view, white_view;
};

TEST(TextOverlay, KeepsOnlyTouchedPixelsInsideTheInksAndLaysThemOverAtTheirPlace) {
  Captures c(20, 10);
  c.mark(2, 1, 0x00FF0000, 1.0);
  c.mark(3, 1, 0x00FF0000, 0.5);
  c.mark(4, 1, 0x00FF0000, 0.25);
  c.mark(8, 1, 0x00FF0000, 1.0);
  c.mark(5, 6, 0x000000FF, 1.0);
  c.mark(15, 8, 0x0000FF00, 1.0);  // outside every ink: left out
  const TextInk inks[] = {{Rect{0, 0, 20, 4}, 0x00FF0000},
                          {Rect{0, 4, 12, 10}, 0x000000FF},
                          {Rect{-5, -5, -1, -1}, 0}};  // beyond the captures: nothing
  TextOverlay overlay;
  EXPECT_TRUE(overlay.empty());
  ASSERT_TRUE(overlay.build(c.black_view, c.white_view, inks));
  EXPECT_EQ(overlay.pixel_count(), 5u);

  std::vector<uint32_t> frame(30 * 20, 0x00404040u);
  const Pixels onto{frame.data(), 30, 20, 30};
  overlay.draw(onto, 10, 5);
  auto at = [&](int32_t x, int32_t y) { return frame[static_cast<size_t>(y * 30 + x)]; };
  EXPECT_EQ(at(12, 6), 0x00FF0000u);
  EXPECT_TRUE(near(at(13, 6), linear_text(0x00404040, 0x00FF0000, 0.5))) << std::hex << at(13, 6);
  EXPECT_TRUE(near(at(14, 6), linear_text(0x00404040, 0x00FF0000, 0.25))) << std::hex << at(14, 6);
  EXPECT_EQ(at(18, 6), 0x00FF0000u);
  EXPECT_EQ(at(15, 11), 0x000000FFu);
  const auto changed =
      std::count_if(frame.begin(), frame.end(), [](uint32_t p) { return p != 0x00404040u; });
  EXPECT_EQ(changed, 5);

  // Laid over partly outside the frame: what falls outside is left out, nothing else moves.
  std::fill(frame.begin(), frame.end(), 0x00404040u);
  overlay.draw(onto, -3, 14);
  EXPECT_TRUE(near(at(0, 15), linear_text(0x00404040, 0x00FF0000, 0.5)));
  EXPECT_EQ(at(5, 15), 0x00FF0000u);
  // Of the first row's four pixels one falls left of the frame; the blue one below it.
  EXPECT_EQ(std::count_if(frame.begin(), frame.end(), [](uint32_t p) { return p != 0x00404040u; }),
            3);

  // Captures of different sizes give nothing.
  Captures other(20, 11);
  EXPECT_FALSE(overlay.build(c.black_view, other.white_view, inks));
  EXPECT_TRUE(overlay.empty());
  overlay.clear();
  EXPECT_EQ(overlay.pixel_count(), 0u);
}

TEST(TextOverlay, LaysEveryShadeOverAsTheBlendOfOnePixelDoes) {
  // A picture of random shades in three colours over a random background: the overlay's
  // tables give what blend_text_pixel gives, pixel by pixel.
  std::mt19937 random(21);
  const uint32_t colours[] = {0x00FF8000, 0x00FFFFFF, 0x00103050};
  Captures c(64, 48);
  for (int32_t y = 0; y < 48; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      if (random() % 3 == 0) c.mark(x, y, colours[y / 16], (random() % 17) / 16.0);
    }
  }
  std::vector<TextInk> inks;
  for (int band = 0; band < 3; ++band) {
    inks.push_back(TextInk{Rect{0, band * 16, 64, band * 16 + 16}, colours[band]});
  }
  TextOverlay overlay;
  ASSERT_TRUE(overlay.build(c.black_view, c.white_view, inks));
  std::vector<uint32_t> frame(64 * 48);
  for (uint32_t& p : frame) p = random() & 0x00FFFFFF;
  const std::vector<uint32_t> background = frame;
  overlay.draw(Pixels{frame.data(), 64, 48, 64}, 0, 0);
  int wrong = 0;
  for (size_t i = 0; i < frame.size(); ++i) {
    wrong +=
        frame[i] != blend_text_pixel(background[i], c.black[i], c.white[i], colours[i / 64 / 16]);
  }
  EXPECT_EQ(wrong, 0);
}

TEST(TextOverlay, LaysCoveredAndUnexplainedPixelsOverAsOnePixelsBlendDoes) {
  // Pixels an opaque bar covers in its own colour, pixels the captures cannot explain as a shade
  // of the text colour, and ordinary shades, side by side in one run, over backgrounds that
  // reach every channel value: each must come out as blend_text_pixel says.
  const uint32_t colour = 0x00FF8000;
  struct Pixel {
    uint32_t low, high;
  };
  const Pixel pixels[] = {
      {0x00203040, 0x00203040},  // covered by a bar of another colour
      {0x00FF8000, 0x00FF8000},  // covered by the text
      {0x00000000, 0x00000000},  // covered in black
      {0x00FFFFFF, 0x00FFFFFE},  // no shade of the colour: kept
      {0x00FF8000, 0x00FF80FF},  // one channel cannot be explained: the whole pixel is kept
      {0x00804000, 0x00FFBF7F},  // half a text pixel
      {0x00FF0000, 0x00FFFFFF},  // the lightest shade
  };
  constexpr int32_t kWidth = static_cast<int32_t>(std::size(pixels));
  constexpr int32_t kHeight = 256;
  std::vector<uint32_t> black(kWidth * kHeight), white(kWidth * kHeight);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      black[static_cast<size_t>(y * kWidth + x)] = pixels[x].low;
      white[static_cast<size_t>(y * kWidth + x)] = pixels[x].high;
    }
  }
  const TextInk inks[] = {{Rect{0, 0, kWidth, kHeight}, colour}};
  TextOverlay overlay;
  ASSERT_TRUE(overlay.build(Pixels{black.data(), kWidth, kHeight, kWidth},
                            Pixels{white.data(), kWidth, kHeight, kWidth}, inks));
  EXPECT_EQ(overlay.pixel_count(), static_cast<size_t>(kWidth * kHeight));
  std::vector<uint32_t> frame(kWidth * kHeight);
  for (int32_t y = 0; y < kHeight; ++y) {
    // Every value in every channel, and a top byte that must not survive.
    const auto v = static_cast<uint32_t>(y);
    for (int32_t x = 0; x < kWidth; ++x) {
      frame[static_cast<size_t>(y * kWidth + x)] = 0xAB000000u | v << 16 | (255 - v) << 8 | v;
    }
  }
  const std::vector<uint32_t> background = frame;
  overlay.draw(Pixels{frame.data(), kWidth, kHeight, kWidth}, 0, 0);
  for (size_t i = 0; i < frame.size(); ++i) {
    ASSERT_EQ(frame[i], blend_text_pixel(background[i], black[i], white[i], colour))
        << "pixel " << i % kWidth << " over " << std::hex << background[i];
  }
}

TEST(TextOverlay, FillsLongCoveredStretchesAsTheBlendOfEachPixelWouldAtAnyPlace) {
  // Rows of random stretches: covered in one colour (1 to 20 pixels, around the length from
  // which a stretch is filled whole), shaded, untouched; laid over at places that cut runs at
  // either edge. Every pixel must still come out as blend_text_pixel says, and nothing else
  // may change.
  constexpr int32_t kWidth = 96;
  constexpr int32_t kHeight = 24;
  const uint32_t colour = 0x00FF8000;
  const uint32_t covers[] = {0x00FF8000, 0x00203040, 0x00000000};
  std::mt19937 random(7);
  std::vector<uint32_t> black(kWidth * kHeight), white(kWidth * kHeight);
  size_t touched = 0;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth;) {
      const int32_t length = std::min<int32_t>(1 + random() % 20, kWidth - x);
      const uint32_t kind = random() % 5;
      for (int32_t i = 0; i < length; ++i, ++x) {
        const size_t at = static_cast<size_t>(y * kWidth + x);
        if (kind < 3) {
          black[at] = white[at] = covers[kind];
        } else if (kind == 3) {
          black[at] = 0x00804000;
          white[at] = 0x00FFBF7F;
        } else {
          black[at] = 0;
          white[at] = 0x00FFFFFF;
        }
        touched += kind != 4;
      }
    }
  }
  const TextInk inks[] = {{Rect{0, 0, kWidth, kHeight}, colour}};
  TextOverlay overlay;
  ASSERT_TRUE(overlay.build(Pixels{black.data(), kWidth, kHeight, kWidth},
                            Pixels{white.data(), kWidth, kHeight, kWidth}, inks));
  EXPECT_EQ(overlay.pixel_count(), touched);
  const struct {
    int32_t x, y;
  } places[] = {{0, 0}, {-5, 0}, {13, -3}, {-1, 7}};
  for (const auto& place : places) {
    constexpr int32_t kFrameWidth = 100;
    std::vector<uint32_t> frame(kFrameWidth * kHeight);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = 0xAB000000u | random() % 0x1000000u;
    const std::vector<uint32_t> background = frame;
    overlay.draw(Pixels{frame.data(), kFrameWidth, kHeight, kFrameWidth}, place.x, place.y);
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kFrameWidth; ++x) {
        const size_t at = static_cast<size_t>(y * kFrameWidth + x);
        const int32_t sx = x - place.x;
        const int32_t sy = y - place.y;
        uint32_t expected = background[at];
        if (sx >= 0 && sx < kWidth && sy >= 0 && sy < kHeight) {
          const size_t from = static_cast<size_t>(sy * kWidth + sx);
          if (black[from] != 0 || white[from] != 0x00FFFFFF) {
            expected = blend_text_pixel(background[at], black[from], white[from], colour);
          }
        }
        ASSERT_EQ(frame[at], expected) << "pixel " << x << "," << y << " at " << place.x << ","
                                       << place.y;
      }
    }
  }
}

}  // namespace
}  // namespace sabla
