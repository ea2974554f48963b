#include <gtest/gtest.h>

#include <cmath>

#include "display/dots_visualizer.h"
#include "settings/display_items.h"

namespace sabla {
namespace {

TEST(DotsVisualizer, ColourBouncesBetweenItsBoundsOneComponentPerPhase) {
  VisualizerState v;
  bounce_dot_colours(v);  // 50, 70, 80 lie inside their bounds
  EXPECT_EQ(v.dot_red_step, 1);
  EXPECT_EQ(v.dot_green_step, 1);
  EXPECT_EQ(v.dot_blue_step, -1);

  v.dot_red = 80;    // upper bound
  v.dot_green = 40;  // lower bound
  v.dot_blue = 121;  // past the upper bound
  bounce_dot_colours(v);
  EXPECT_EQ(v.dot_red_step, -1);
  EXPECT_EQ(v.dot_green_step, -1);
  EXPECT_EQ(v.dot_blue_step, 1);
  v.dot_red = 11;
  v.dot_green = 99;
  v.dot_blue = 51;
  bounce_dot_colours(v);
  EXPECT_EQ(v.dot_red_step, -1);
  EXPECT_EQ(v.dot_green_step, -1);
  EXPECT_EQ(v.dot_blue_step, 1);

  // Seven frames change each component once, red in phase 0, green in 2, blue in 4.
  VisualizerState p;
  step_colour_phase(p);
  EXPECT_EQ(p.dot_red, 51);
  EXPECT_EQ(p.colour_phase, 1);
  for (int i = 0; i < 6; ++i) step_colour_phase(p);
  EXPECT_EQ(p.colour_phase, 0);
  EXPECT_EQ(p.dot_red, 51);
  EXPECT_EQ(p.dot_green, 71);
  EXPECT_EQ(p.dot_blue, 79);

  p.dot_red = 300;
  p.dot_green = 256;
  p.dot_blue = 7;
  EXPECT_EQ(dot_colour(p), make_color(44, 0, 7));
}

TEST(DotsVisualizer, LoudMusicPullsTheOrbitInAndTheAngleWrapsOnce) {
  int32_t peak = 0;
  EXPECT_DOUBLE_EQ(orbit_radius(60, 0, 0, peak), 79.0);
  EXPECT_EQ(peak, 1);
  peak = 200;
  EXPECT_DOUBLE_EQ(orbit_radius(60, 50, 50, peak), 49.0);
  EXPECT_DOUBLE_EQ(orbit_radius(60, 60, 50, peak), 46.0);

  VisualizerState v;
  turn_dots(v, 40);
  EXPECT_DOUBLE_EQ(v.rotation_angle, 0.04);
  v.rotation_angle = 6.27;
  turn_dots(v, 40);
  EXPECT_NEAR(v.rotation_angle, 6.31 - 6.283185307, 1e-12);
  v.rotation_angle = 0;
  turn_dots(v, -40);
  EXPECT_DOUBLE_EQ(v.rotation_angle, -0.04);
}

TEST(DotsVisualizer, DotBoxesBySize) {
  const double quarter = kFullTurn / 4;
  EXPECT_NEAR(dot_angle(1, 4, 0.5), quarter + 0.5, 1e-12);

  // Angle 0 puts the dot straight below the middle (y = r cos 0).
  DotBox one = dot_box(79, 0, 1);
  EXPECT_EQ(one.box, (Rect{128, 207, 129, 208}));
  EXPECT_FALSE(one.ellipse);
  DotBox two = dot_box(79, 0, 2);
  EXPECT_EQ(two.box, (Rect{127, 206, 129, 208}));
  EXPECT_FALSE(two.ellipse);
  DotBox three = dot_box(79, 0, 3);
  EXPECT_EQ(three.box, (Rect{127, 206, 130, 209}));
  EXPECT_TRUE(three.ellipse);
  DotBox five = dot_box(79, 0, 5);
  EXPECT_EQ(five.box, (Rect{126, 205, 131, 210}));

  // Positions are cut toward zero: -10.7 gives -10, not -11.
  DotBox left = dot_box(10.7, -quarter, 1);
  EXPECT_EQ(left.box.left, 128 - 10);
  EXPECT_EQ(left.box.top, 128);
  EXPECT_TRUE(dot_box(10, 0, 0).box.left == dot_box(10, 0, 0).box.right);

  // Values no dialog gives but a hand-edited file may: far off the canvas, never overflowing.
  const DotBox far = dot_box(2147483647.0 + 19, 0, 2147483647);
  EXPECT_GT(far.box.top, 256);
  EXPECT_LT(far.box.top, far.box.bottom);
  EXPECT_EQ(dot_box(std::nan(""), 0, -2147483647 - 1).box.right, 128 - (1 << 19));
}

TEST(DotsVisualizer, CentreDiscFeedbackSquareAndCrop) {
  EXPECT_EQ(centre_disc_box(2), (Rect{111, 111, 145, 145}));
  EXPECT_EQ(centre_disc_box(15), (Rect{111, 111, 145, 145}));
  EXPECT_EQ(centre_disc_box(0), (Rect{111, 111, 145, 145}));
  EXPECT_EQ(centre_disc_box(-1), (Rect{108, 108, 148, 148}));
  EXPECT_EQ(centre_disc_box(-4), (Rect{99, 99, 157, 157}));
  EXPECT_FALSE(centre_disc_box(-5));

  EXPECT_EQ(feedback_source(2), (Rect{2, 2, 62, 62}));
  EXPECT_EQ(feedback_source(-3), (Rect{-3, -3, 67, 67}));
  EXPECT_EQ(feedback_source(31), (Rect{31, 31, 33, 33}));
  EXPECT_FALSE(feedback_source(32));

  EXPECT_EQ(canvas_crop(640, 480), (Rect{0, 32, 256, 224}));
  EXPECT_EQ(canvas_crop(300, 400), (Rect{32, 0, 224, 256}));
  EXPECT_EQ(canvas_crop(100, 100), (Rect{0, 0, 256, 256}));
  EXPECT_EQ(canvas_crop(0, -5), (Rect{0, 0, 256, 256}));
  // 300 / 700 * 256 = 109.7, cut to 109; (256 - 109) / 2 = 73.
  EXPECT_EQ(canvas_crop(700, 300), (Rect{0, 73, 256, 182}));

  const VisualizerSettings s = visualizer_settings({1, 60, 2, 40, 6, 5});
  EXPECT_TRUE(s.shown);
  EXPECT_EQ(s.dot_size, 5);
  EXPECT_FALSE(visualizer_settings({2, 60, 2, 40, 6, 5}).shown);
}

}  // namespace
}  // namespace sabla
