#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "core/sources/lyric_search_fakes.h"
#include "display/gdi_text_measurer_win32.h"
#include "display/info_panel_win32.h"
#include "display/lyrics_panel_empty.h"
#include "display/lyrics_panel_style.h"
#include "display/lyrics_panel_win32.h"
#include "state/plugin_state.h"
#include "state/window_drawing_win32.h"
#include "win32/display/panel_canvas.h"
#include "win32/host/test_window.h"

namespace sabla {
namespace {

using test::not_black;
using test::only_green;
using test::only_red;

bool bar(COLORREF c) { return c == RGB(0, 0, 255); }
int area(const Rect& r) { return (r.right - r.left) * (r.bottom - r.top); }

// Lines at 1, 2 and 3 seconds and one without a timetag.
constexpr std::u16string_view kTimed =
    u"[00:01:00]one one\r\n[00:02:00]two two\r\n[00:03:00]three three\r\nno tag here";

class LyricsPanelDrawing : public ::testing::Test {
 protected:
  LyricsPanelDrawing() : canvas(400, 220) {
    panel.font = test::crisp_font(18);
    panel.font_size = 20;
    panel.color = RGB(255, 255, 255);
    panel.rect = Rect{150, 0, 400, 200};  // room on the left for the edit mode's columns
    panel.init(32, 512, std::make_unique<GdiTextMeasurer>(canvas.dc(), panel.font));
    panel.count_rows();
    state.settings.current_line_color = RGB(0, 0, 255);
    state.settings.current_font_color = RGB(255, 0, 0);
    state.settings.mouse_on_font_color = RGB(0, 255, 0);
    state.settings.info_font_color = RGB(0, 255, 0);
    state.pointer.cursor_client = Point{-50, -50};
  }
  void draw(int32_t play_ms) {
    state.clock.play_time = play_ms;
    canvas.clear();
    draw_lyrics_panel(state, canvas.dc(), panel);
  }
  const Rect& text_rect(int k) const { return panel.slots()[static_cast<size_t>(k)].text_rect; }

  test::PanelCanvas canvas;
  PluginState state;
  LyricDocument panel;
};

TEST_F(LyricsPanelDrawing, OnlyTheCurrentLineStandsOnABarAndTheMouseMarksTimedLines) {
  ASSERT_TRUE(canvas.ready());
  panel.load_text(60000, kTimed);
  draw(2500);
  ASSERT_EQ(panel.current_slot(), 1);
  const int bar_pixels = canvas.count(text_rect(1), bar);
  EXPECT_GT(bar_pixels, area(text_rect(1)) / 2);
  EXPECT_EQ(canvas.count(bar), bar_pixels);
  EXPECT_GT(canvas.count(text_rect(1), only_red), 0);
  EXPECT_EQ(canvas.count(only_red), canvas.count(text_rect(1), only_red));
  EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);

  const Rect r = text_rect(2);
  state.pointer.cursor_client = Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  draw(2500);
  EXPECT_TRUE(state.pointer.line_hovered);
  EXPECT_EQ(state.pointer.hovered_line, 2);
  EXPECT_GT(canvas.count(r, only_green), 0);
  EXPECT_EQ(canvas.count(only_green), canvas.count(r, only_green));
  // A line without a time cannot be sought to.
  state.pointer.cursor_client.y += 20;
  draw(2500);
  EXPECT_FALSE(state.pointer.line_hovered);
  EXPECT_EQ(canvas.count(only_green), 0);
}

TEST_F(LyricsPanelDrawing, NoBarInTheTextColourBeforeTheFirstTagOrForUntimedLyrics) {
  panel.load_text(60000, kTimed);
  const uint32_t bar_colour = state.settings.current_line_color;
  state.settings.current_line_color = state.settings.current_font_color;
  draw(2500);
  const int red = canvas.count(text_rect(1), only_red);
  EXPECT_GT(red, 0);
  EXPECT_LT(red, area(text_rect(1)) / 2);  // the glyphs only

  state.settings.current_line_color = bar_colour;
  draw(500);
  EXPECT_EQ(panel.current_line(), -1);
  EXPECT_EQ(canvas.count(bar) + canvas.count(only_red), 0);
  EXPECT_GT(canvas.count(not_black), 0);

  panel.load_text(60000, u"one\r\ntwo\r\nthree");
  draw(30000);
  EXPECT_EQ(panel.current_line(), 1);
  EXPECT_EQ(canvas.count(bar) + canvas.count(only_red), 0);
}

TEST_F(LyricsPanelDrawing, EditModeShowsTagsAndTheCursorMarkerLeftOfTheText) {
  panel.load_text(60000, kTimed);
  draw(2500);
  panel.toggle_edit_mode();
  panel.scroll(1);
  panel.scroll(1);
  draw(2500);
  ASSERT_EQ(panel.cursor_slot(), 2);
  ASSERT_EQ(panel.current_slot(), 1);
  for (int k = 0; k < panel.line_count(); ++k) {
    const Rect& text = text_rect(k);
    const EditColumns c =
        edit_columns(text, panel.marker_extent(), shown_tag(*panel.slot_line(k), 0).extent);
    EXPECT_EQ(canvas.count(Rect{0, text.top, c.tag.left, text.bottom}, not_black), 0) << k;
    // A line without a time shows the empty tag, so the column lines up.
    EXPECT_GT(canvas.count(Rect{c.tag.left, text.top, c.marker.left, text.bottom}, not_black), 0)
        << k;
    const int marker =
        canvas.count(Rect{c.marker.left, text.top, text.left, text.bottom}, not_black);
    EXPECT_EQ(marker > 0, k == 2) << k;
  }
}

TEST_F(LyricsPanelDrawing, AHiddenPanelDrawsNothing) {
  panel.load_text(60000, kTimed);
  panel.draw_order = -1;
  state.pointer.line_hovered = true;
  draw(2500);
  EXPECT_EQ(canvas.count(not_black), 0);
  EXPECT_FALSE(state.pointer.line_hovered);  // a click must not seek to a line nobody sees

  panel.load_text(60000, u"");
  state.strings.set(kNoLyricsHintId, u"No lyrics for %s");
  state.settings.beginner = 1;
  state.clock.track_info_valid = true;
  state.frame.hint_frames = 10;
  draw(2500);
  EXPECT_EQ(canvas.count(not_black), 0);
}

// Holds every check at its first look at the file system until opened, counting the checks.
class GatedLyricFiles final : public test::FakeLyricFiles {
 public:
  std::optional<uint64_t> last_write_time(std::u16string_view path) const override {
    ++checks;
    gate_.wait();
    return FakeLyricFiles::last_write_time(path);
  }
  void open() {
    if (!opened_.exchange(true)) opener_.set_value();
  }
  mutable std::atomic<int> checks{0};

 private:
  std::atomic<bool> opened_{false};
  std::promise<void> opener_;
  std::shared_future<void> gate_ = opener_.get_future().share();
};

void wait_until(const std::function<bool()>& done) {
  while (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

class EmptyLyricsPanel : public LyricsPanelDrawing {
 protected:
  EmptyLyricsPanel() {
    state.sources.recheck = std::make_unique<LyricRecheck>(
        files, [] { return 10000u; }, &start_worker_thread);
    state.strings.set(kNoLyricsHintId, u"Put [ %s.txt ] in\r\n%s\r\nor %s");
    state.song.title_safe = u"T";
    state.settings.beginner = 1;
    state.clock.track_info_valid = true;
    state.clock.now_ms = 10000;
  }
  // The files go before the base fixture's state, whose check reads them.
  ~EmptyLyricsPanel() override {
    files.open();
    state.sources.recheck->wait();  // dropping it would not wait
    state.sources.recheck.reset();
  }
  GatedLyricFiles files;
};

TEST_F(EmptyLyricsPanel, ProbeOffStartsNoCheckButTheHintStillShows) {
  test::TestWindow window;
  state.window.drawing = open_window_drawing(window.visualizer());
  ASSERT_NE(window_drawing(state), nullptr);
  replace_info_font(*window_drawing(state));
  state.requests.probe_off = true;
  for (int frame = 1; frame <= 10; ++frame) {
    draw(0);
    EXPECT_EQ(canvas.count(not_black), 0) << frame;
  }
  draw(0);
  const int hint = canvas.count(panel.rect, only_green);
  EXPECT_GT(hint, 0);
  EXPECT_EQ(canvas.count(not_black), hint);  // in the information colour, inside the panel
  EXPECT_EQ(files.checks, 0);
  state.window.drawing.reset();
}

TEST_F(EmptyLyricsPanel, NoSecondCheckStartsWhileOneRuns) {
  draw(0);
  wait_until([&] { return files.checks == 1; });
  state.clock.now_ms += 10 * kRecheckIntervalMs;
  draw(0);
  EXPECT_TRUE(state.sources.recheck->running());
  EXPECT_EQ(files.checks, 1);
  files.open();
  wait_until([&] { return !state.sources.recheck->running(); });
  draw(0);
  wait_until([&] { return files.checks == 2; });
}

}  // namespace
}  // namespace sabla
