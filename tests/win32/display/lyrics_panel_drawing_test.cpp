#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "core/sources/lyric_search_fakes.h"
#include "display/gdi_text_measurer_win32.h"
#include "display/info_panel_win32.h"
#include "display/lyrics_panel_empty.h"
#include "display/lyrics_panel_style.h"
#include "display/lyrics_panel_win32.h"
#include "host/plugin_state.h"
#include "host/window_drawing_win32.h"
#include "win32/display/panel_canvas.h"
#include "win32/host/test_window.h"

namespace sabla {
namespace {

using test::not_black;
using test::only_green;
using test::only_red;

constexpr COLORREF kBar = RGB(0, 0, 255);
bool bar(COLORREF c) { return c == kBar; }
bool white(COLORREF c) { return c == RGB(255, 255, 255); }

void delete_font(void* font) { DeleteObject(static_cast<HGDIOBJ>(font)); }

// Without anti-aliasing every text pixel has exactly the text colour.
PlatformFont crisp_font(int height) {
  return PlatformFont(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                  0, NONANTIALIASED_QUALITY, FF_SWISS | DEFAULT_PITCH, L"Tahoma"),
                      &delete_font);
}

int area(const Rect& r) { return (r.right - r.left) * (r.bottom - r.top); }

// Lines at 1, 2 and 3 seconds and one without a timetag.
constexpr std::u16string_view kTimed =
    u"[00:01:00]one one\r\n[00:02:00]two two\r\n[00:03:00]three three\r\nno tag here";

class LyricsPanelDrawing : public ::testing::Test {
 protected:
  LyricsPanelDrawing() : canvas(400, 220) {
    panel.font = crisp_font(18);
    panel.font_size = 20;
    panel.color = RGB(255, 255, 255);
    // Room on the left for the edit mode's columns.
    panel.rect = Rect{150, 0, 400, 200};
    panel.init(32, 512, std::make_unique<GdiTextMeasurer>(canvas.dc(), panel.font));
    panel.count_rows();
    state.settings.current_line_color = kBar;
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
  Point centre(const Rect& r) const {
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  test::PanelCanvas canvas;
  PluginState state;
  LyricDocument panel;
};

TEST_F(LyricsPanelDrawing, TheCurrentLineStandsOnABarAndNothingElseDoes) {
  ASSERT_TRUE(canvas.ready());
  panel.load_text(60000, kTimed);
  draw(2500);
  ASSERT_EQ(panel.current_slot(), 1);

  const Rect current = text_rect(1);
  const int bar_pixels = canvas.count(current, bar);
  EXPECT_GT(bar_pixels, area(current) / 2);
  EXPECT_EQ(canvas.count(bar), bar_pixels);  // the bar stays behind the current line's text
  EXPECT_GT(canvas.count(current, only_red), 0);
  EXPECT_EQ(canvas.count(only_red), canvas.count(current, only_red));
  EXPECT_GT(canvas.count(text_rect(0), white), 0);
  EXPECT_GT(canvas.count(text_rect(2), white), 0);
  EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);
}

TEST_F(LyricsPanelDrawing, NoBarInTheTextColourBeforeTheFirstTagOrForUntimedLyrics) {
  panel.load_text(60000, kTimed);
  // Bar and text of the current line in the same colour: only the colour changes.
  state.settings.current_line_color = state.settings.current_font_color;
  draw(2500);
  const int red = canvas.count(text_rect(1), only_red);
  EXPECT_GT(red, 0);
  EXPECT_LT(red, area(text_rect(1)) / 2);

  // Before the first timetag no line is current.
  state.settings.current_line_color = kBar;
  draw(500);
  EXPECT_EQ(panel.current_line(), -1);
  EXPECT_EQ(canvas.count(bar), 0);
  EXPECT_EQ(canvas.count(only_red), 0);
  EXPECT_GT(canvas.count(white), 0);

  // Lyrics without timetags move evenly over the song, but none of their lines is highlighted.
  panel.load_text(60000, u"one\r\ntwo\r\nthree");
  draw(30000);
  EXPECT_EQ(panel.current_line(), 1);
  EXPECT_EQ(canvas.count(bar), 0);
  EXPECT_EQ(canvas.count(only_red), 0);
}

TEST_F(LyricsPanelDrawing, TheTimedLineUnderTheMouseIsMarkedForAClick) {
  panel.load_text(60000, kTimed);
  draw(2500);
  state.pointer.cursor_client = centre(text_rect(2));
  draw(2500);
  EXPECT_TRUE(state.pointer.line_hovered);
  EXPECT_EQ(state.pointer.hovered_line, 2);
  EXPECT_GT(canvas.count(text_rect(2), only_green), 0);
  EXPECT_EQ(canvas.count(only_green), canvas.count(text_rect(2), only_green));

  // A line without a time cannot be sought to.
  state.pointer.cursor_client = centre(text_rect(3));
  draw(2500);
  EXPECT_FALSE(state.pointer.line_hovered);
  EXPECT_EQ(canvas.count(only_green), 0);
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
    const LyricLine* line = panel.slot_line(k);
    const EditColumns c = edit_columns(text_rect(k), panel.marker_extent(),
                                       shown_tag(*line, state.settings.input_timetag_digit).extent);
    const Rect tag{c.tag.left, c.tag.top, c.marker.left, c.tag.bottom};
    const Rect marker{c.marker.left, c.marker.top, text_rect(k).left, c.marker.bottom};
    const Rect before{0, c.tag.top, c.tag.left, c.tag.bottom};
    EXPECT_EQ(canvas.count(before, not_black), 0) << k;
    // A line without a time shows the empty tag, so the column lines up.
    EXPECT_GT(canvas.count(tag, not_black), 0) << k;
    if (k == 2) {
      EXPECT_GT(canvas.count(marker, not_black), 0);
    } else {
      EXPECT_EQ(canvas.count(marker, not_black), 0) << k;
    }
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

// Holds every check at its first look at the file system until the test opens the gate, and
// counts the checks that got there.
class GatedLyricFiles final : public test::FakeLyricFiles {
 public:
  std::optional<uint64_t> last_write_time(std::u16string_view path) const override {
    std::unique_lock lock(mutex_);
    ++checks_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
    return FakeLyricFiles::last_write_time(path);
  }
  int checks() const {
    const std::lock_guard lock(mutex_);
    return checks_;
  }
  void wait_for_checks(int n) const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return checks_ >= n; });
  }
  void open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  mutable int checks_ = 0;
  bool open_ = false;
};

class EmptyLyricsPanel : public LyricsPanelDrawing {
 protected:
  EmptyLyricsPanel() {
    state.sources.recheck = std::make_unique<LyricRecheck>(files);
    state.song.title_safe = u"T";
    state.song.file_path = u"C:\\M\\a.mp3";
    state.settings.path[0] = u"R";
    state.strings.set(kNoLyricsHintId, u"Put [ %s.txt ] in\r\n%s\r\nor %s");
    state.settings.beginner = 1;
    state.clock.track_info_valid = true;
    state.clock.now_ms = 10000;
    panel.load_text(60000, u"");
  }
  ~EmptyLyricsPanel() override {
    files.open();
    state.sources.recheck.reset();
  }

  // Goes before the base fixture's state, whose check reads it: the destructor lets the check
  // finish and drops it first.
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
  EXPECT_FALSE(state.sources.recheck->running());
  EXPECT_EQ(files.checks(), 0);
  state.window.drawing.reset();
}

TEST_F(EmptyLyricsPanel, NoSecondCheckStartsWhileOneRuns) {
  draw(0);
  files.wait_for_checks(1);
  state.clock.now_ms += 10 * kRecheckIntervalMs;
  draw(0);
  EXPECT_TRUE(state.sources.recheck->running());
  EXPECT_EQ(files.checks(), 1);

  files.open();
  while (state.sources.recheck->running())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  draw(0);
  files.wait_for_checks(2);
}

}  // namespace
}  // namespace sabla
