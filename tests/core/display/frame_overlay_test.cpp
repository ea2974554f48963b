#include <gtest/gtest.h>

#include <array>

#include "display/frame_overlay.h"
#include "state/key_names.h"
#include "lyrics/lyric_document.h"
#include "settings/settings.h"
#include "settings/settings_format.h"

namespace sabla {
namespace {

TEST(FrameOverlay, CounterShowsMinutesSecondsAndHundredths) {
  EXPECT_EQ(counter_text(0), u"00:00:00");
  EXPECT_EQ(counter_text(83'456), u"01:23:45");
  EXPECT_EQ(counter_text(59'999), u"00:59:99");
  // Past 99 minutes the minutes take three digits rather than wrap.
  EXPECT_EQ(counter_text(6'000'000), u"100:00:00");
  // Before the song's start (a negative delay) the counter stays at zero.
  EXPECT_EQ(counter_text(-1'500), u"00:00:00");
}

TEST(FrameOverlay, ModeWordAndKeyHelpNameTheBoundKeys) {
  EXPECT_EQ(mode_word(kModeUntimed), u"Auto Scroll");
  EXPECT_EQ(mode_word(kModeManualScroll), u"Manual Scroll");
  EXPECT_EQ(mode_word(kModeEdit), u"Edit mode");
  EXPECT_EQ(mode_word(kModeTimed), u"");
  EXPECT_EQ(mode_word(kModeNoLines), u"");

  Settings s;
  reset_settings(s, SettingsDefaults{u"C:\\Documents", u"Tahoma"});
  KeyNames keys;
  keys.build_key_names();
  s.scroll_up = 'A';
  s.scroll_down = 'B';
  s.edit_mode = 'C';
  s.save_ipod = 'D';
  s.ins_tag = 'E';
  s.save_key = 'F';
  EXPECT_EQ(key_help_line(kModeManualScroll, s, keys),
            u"A/B/Wheel=Scroll    C=Edit mode    D=Save iPod notes    WheelClick=Exit Manual "
            u"Scroll");
  EXPECT_EQ(key_help_line(kModeEdit, s, keys),
            u"A/B/Wheel=Move cursor    E=Insert timetag    Del/BS=Delete    F=Save    D=Save iPod "
            u"notes    C/WheelClick=Exit Edit mode");
  EXPECT_EQ(key_help_line(kModeUntimed, s, keys), u"");
  EXPECT_EQ(key_help_line(kModeTimed, s, keys), u"");
}

TEST(FrameOverlay, LinksStatusAndOptionButtonPlaces) {
  const std::array<Size, 3> names{Size{40, 14}, Size{0, 14}, Size{25, 14}};
  const std::vector<Rect> links = search_link_rects(names, 466);
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[0], (Rect{100, 466, 140, 480}));
  EXPECT_EQ(links[1], (Rect{156, 466, 156, 480}));
  EXPECT_EQ(links[2], (Rect{172, 466, 197, 480}));

  EXPECT_EQ(status_rect(640, 480, 45, false), (Rect{0, 466, 585, 480}));
  EXPECT_EQ(status_rect(640, 480, 45, true), (Rect{0, 466, 640, 480}));
  EXPECT_EQ(option_button_rect(640, 480, Size{45, 16}), (Rect{590, 464, 640, 480}));

  const Rect r{10, 20, 30, 40};
  EXPECT_TRUE(contains(r, Point{10, 20}));
  EXPECT_TRUE(contains(r, Point{30, 40}));
  EXPECT_FALSE(contains(r, Point{31, 40}));
  EXPECT_FALSE(contains(r, Point{10, 19}));
}

}  // namespace
}  // namespace sabla
