// The frame as the renderer composes it in memory against the frame GDI drew on its own: the
// same state drawn by render_frame and by a reference kept here, which does every step the way
// the renderer once did (the dots' copies with StretchBlt, the lyric lines drawn every frame,
// brushes and pens made per frame), compared pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/dib_section_win32.h"
#include "display/display_layout_win32.h"
#include "display/dots_visualizer.h"
#include "display/frame_cache_win32.h"
#include "display/frame_items_win32.h"
#include "display/frame_overlay.h"
#include "display/frame_overlay_win32.h"
#include "display/frame_renderer_win32.h"
#include "display/frame_surfaces_win32.h"
#include "display/gdi_text_measurer_win32.h"
#include "display/info_panel_win32.h"
#include "display/level_indicator.h"
#include "display/lyrics_panel_win32.h"
#include "lyrics/lyric_document.h"
#include "lyrics/timetag.h"
#include "settings/item_font_win32.h"
#include "settings/settings_format.h"
#include "state/plugin_state.h"
#include "state/track_info.h"
#include "state/window_drawing_win32.h"

namespace sabla {
namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 300;

HDC dc_of(PluginState& state, MemoryDcRole role) { return memory_dc(state, role); }

// ---- The reference: the frame as GDI alone drew it ----

bool reference_plain(PluginState& state, const VisualizerSettings& dots) {
  const LyricDocument* panel = as_lyric_document(state.settings.items[kLyricsItem].get());
  return !dots.shown || (panel && panel->edit_mode()) ||
         (state.options.options_open && state.settings.current_tab == 1) ||
         state.window.window_changed;
}

void reference_fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void reference_dots(PluginState& state, const VisualizerSettings& settings, double radius) {
  HDC frame = dc_of(state, MemoryDcRole::kFrame);
  HDC feedback = dc_of(state, MemoryDcRole::kFeedback);
  HDC canvas = dc_of(state, MemoryDcRole::kCanvas);
  VisualizerState& v = state.frame.visualizer;
  step_colour_phase(v);
  if (const std::optional<Rect> source = feedback_source(settings.expansion)) {
    // Halftone stretching, as the context was made with.
    StretchBlt(canvas, 0, 0, kCanvasSide, kCanvasSide, feedback, source->left, source->top,
               source->right - source->left, source->bottom - source->top, SRCCOPY);
  }
  if (const std::optional<Rect> disc = centre_disc_box(settings.expansion)) {
    const HGDIOBJ pen = SelectObject(canvas, GetStockObject(BLACK_PEN));
    const HGDIOBJ brush = SelectObject(canvas, GetStockObject(BLACK_BRUSH));
    Ellipse(canvas, disc->left, disc->top, disc->right, disc->bottom);
    SelectObject(canvas, pen);
    SelectObject(canvas, brush);
  }
  if (settings.dot_count > 0) {
    const COLORREF colour = dot_colour(v);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    const HGDIOBJ old_pen = SelectObject(canvas, pen);
    const HGDIOBJ old_brush = SelectObject(canvas, brush);
    for (int32_t i = 0; i < settings.dot_count; ++i) {
      const DotBox dot =
          dot_box(radius, dot_angle(i, settings.dot_count, v.rotation_angle), settings.dot_size);
      if (dot.ellipse) {
        Ellipse(canvas, dot.box.left, dot.box.top, dot.box.right, dot.box.bottom);
      } else {
        const RECT r{dot.box.left, dot.box.top, dot.box.right, dot.box.bottom};
        FillRect(canvas, &r, brush);
      }
    }
    SelectObject(canvas, old_pen);
    SelectObject(canvas, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
  }
  StretchBlt(feedback, 0, 0, kFeedbackSide, kFeedbackSide, canvas, 0, 0, kCanvasSide, kCanvasSide,
             SRCCOPY);
  const DrawingArea& area = state.window.drawing_area;
  const Rect crop = canvas_crop(area.width, area.height);
  StretchBlt(frame, area.x, area.y, area.width + 1, area.height + 1, canvas, crop.left, crop.top,
             crop.right - crop.left, crop.bottom - crop.top, SRCCOPY);
}

void reference_frame(PluginState& state) {
  HDC frame = dc_of(state, MemoryDcRole::kFrame);
  Settings& s = state.settings;
  const DrawingArea& area = state.window.drawing_area;
  state.frame.last_frame_ms = state.clock.now_ms;
  VisualizerState& v = state.frame.visualizer;
  const VisualizerSettings dots = visualizer_settings(s.visualizer);
  bounce_dot_colours(v);
  const double radius = orbit_radius(dots.max_radius, state.frame.indicator_previous[0],
                                     state.frame.indicator_previous[1], state.frame.level_peak);
  turn_dots(v, dots.rotation_speed);
  const HGDIOBJ font = SelectObject(frame, window_drawing(state)->info_font.get());
  if (reference_plain(state, dots)) {
    reference_fill(frame, RECT{0, 0, area.width + 1, area.height + 1}, s.bg_color);
  } else {
    reference_dots(state, dots, radius);
  }
  SetBkMode(frame, TRANSPARENT);
  SetTextColor(frame, RGB(255, 255, 255));
  for (const int32_t index : s.drawing_order) {
    if (index < 0 || index >= kItemCount) continue;
    DisplayItem& item = *s.items[static_cast<size_t>(index)];
    if (index == kLyricsItem) {
      draw_lyrics_panel(state, frame, *as_lyric_document(&item));  // every line, every frame
    } else if (index < kTextItemCount) {
      draw_text_item(frame, item, frame_item_text(state, index));
    } else if (index == kVolumeLeftItem || index == kVolumeRightItem) {
      const int channel = index - kVolumeLeftItem;
      const int32_t value = indicator_value(
          state.instance->render.levels[static_cast<size_t>(channel)], state.instance->playing);
      draw_level_indicator(frame, item, channel, value, state.frame);
    } else if (index == kCoverArtItem) {
      draw_artwork(state, frame, item);
    }
  }
  draw_frame_overlay(state, frame);
  SelectObject(frame, font);
  state.window.window_changed = false;
}

// ---- The comparison ----

std::vector<uint32_t> pixels_of(PluginState& state, MemoryDcRole role) {
  GdiFlush();
  const Pixels p = surface_pixels(*window_drawing(state), role);
  std::vector<uint32_t> out;
  for (int32_t y = 0; y < p.height; ++y) out.insert(out.end(), p.row(y), p.row(y) + p.width);
  return out;
}

// A difference of a channel that is still hard to see.
constexpr int kVisible = 8;

struct Difference {
  size_t pixels = 0;  // pixels that differ at all
  size_t marked = 0;  // pixels whose channels differ by more than kVisible
  int worst = 0;      // the largest difference of one channel
  size_t total = 0;
  double share() const { return total ? static_cast<double>(pixels) / total : 0; }
  double marked_share() const { return total ? static_cast<double>(marked) / total : 0; }
};

Difference compare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  Difference d;
  d.total = std::min(a.size(), b.size());
  if (a.size() != b.size()) d.pixels = std::max(a.size(), b.size());
  for (size_t i = 0; i < d.total; ++i) {
    if ((a[i] & 0xFFFFFF) == (b[i] & 0xFFFFFF)) continue;
    ++d.pixels;
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      worst = std::max(worst, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                       static_cast<int>((b[i] >> shift) & 0xFF)));
    }
    d.worst = std::max(d.worst, worst);
    d.marked += worst > kVisible;
  }
  return d;
}

// Live GDI objects, counted the way Wine lets a test count them (handles whose high word is 0
// name the object at that index).
int live_gdi_objects() {
  int count = 0;
  for (uintptr_t index = 1; index <= 0xFFFF; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
  }
  return count;
}

HWND make_window() {
  static const ATOM registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SablaFramePixelsTest";
    return RegisterClassW(&wc);
  }();
  (void)registered;
  return CreateWindowExW(WS_EX_TOOLWINDOW, L"SablaFramePixelsTest", L"visualizer",
                         WS_POPUP | WS_VISIBLE, 100, 100, kWidth, kHeight, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Forty timed lines, a few seconds apart, some with an '&' and some long enough to be cut.
std::u16string forty_lines() {
  std::u16string text;
  for (int i = 0; i < 40; ++i) {
    if (i > 0) text += u"\r\n";
    text += format_tag(5000 + i * 4000, TagForm::kLong).view();
    const std::string n = "line " + std::to_string(i) + (i % 3 ? " of the song & more" : "") +
                          (i % 7 == 0 ? ", sung slowly and at great length across the row" : "");
    text.append(n.begin(), n.end());
  }
  return text;
}

class FramePixels : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { window_ = make_window(); }
  static void TearDownTestSuite() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    for (PluginState* state : {&fresh_, &reference_}) prepare(*state);
  }
  void TearDown() override {
    for (PluginState* state : {&fresh_, &reference_}) state->window.drawing.reset();
  }

  void prepare(PluginState& state) {
    Settings& s = state.settings;
    reset_settings(s, SettingsDefaults{u"C:\\Documents", u"Tahoma"});
    finish_settings_read(s);
    s.beginner = 0;
    state.window.drawing = open_window_drawing(window_);
    ASSERT_NE(window_drawing(state), nullptr);
    HDC dc = window_dc(state);
    build_item_fonts(s.items, dc);
    LyricDocument& panel = lyrics(state);
    panel.set_line_spacing(s.song_return_size);
    panel.init(s.song_bf_size[1], s.song_bf_size[0],
               std::make_unique<GdiTextMeasurer>(dc, panel.font));
    panel.load_text(200000, forty_lines());
    window_drawing(state)->info_font = make_info_font(dc);
    resize(state, kWidth, kHeight);
    state.window.window_changed = false;

    // A picture for the artwork: stripes, so that scaling shows.
    WindowDrawing& drawing = *window_drawing(state);
    HDC art = memory_dc(state, MemoryDcRole::kArtwork);
    SurfaceBitmap& surface = drawing.surfaces[static_cast<size_t>(MemoryDcRole::kArtwork)];
    surface = SurfaceBitmap(art, create_dib_section(art, Size{90, 60}));
    for (int i = 0; i < 6; ++i) {
      reference_fill(art, RECT{i * 15, 0, i * 15 + 15, 60}, RGB(40 * i, 255 - 40 * i, 90));
    }
    state.frame.artwork_size = Size{90, 60};

    state.instance = std::make_unique<PluginInstance>();
    state.instance->playing = true;
    state.clock.track_info_valid = true;
    state.clock.playing_started = true;
    state.requests.probe_off = true;
    state.song.title = u"Title of the song";
    state.song.track_artist_shown = u"Artist";
    state.song.album = u"Album";
    state.song.track_year = 2008;
    state.song.track_rating = 80;
    state.song.track_number = 3;
    state.song.track_count = 12;
    fill_info_items(state.info_texts, state.song);
    state.window.window_rect = Rect{100, 100, 100 + kWidth, 100 + kHeight};
    state.settings.show_status = {1, 1, 1};
    state.status = StatusMessage{u"Saved lrc", 50};
  }

  static void resize(PluginState& state, int width, int height) {
    release_frame_surfaces(state);
    state.window.drawing_area = DrawingArea{0, 0, width, height};
    place_display_items(state.settings, state.window.drawing_area, window_dc(state));
    create_frame_surfaces(state);
    state.window.window_changed = true;
  }

  static LyricDocument& lyrics(PluginState& state) {
    return *as_lyric_document(state.settings.items[kLyricsItem].get());
  }

  // Both states the same way.
  void change(const std::function<void(PluginState&)>& how) {
    how(fresh_);
    how(reference_);
  }

  // Draws `frames` frames of both, each at its own play time and levels, and compares each.
  // Returns the worst frame's difference.
  Difference run(int frames, MemoryDcRole role = MemoryDcRole::kFrame,
                 const std::function<void(PluginState&, int)>& each = nullptr) {
    Difference worst;
    for (int i = 0; i < frames; ++i) {
      for (PluginState* state : {&fresh_, &reference_}) {
        state->clock.play_time = 20000 + (frame_ + i) * step_ms_;
        state->clock.now_ms += 33;
        state->instance->render.levels = {static_cast<uint8_t>((frame_ + i) * 7 % 128),
                                          static_cast<uint8_t>((frame_ + i) * 11 % 128)};
        if (each) each(*state, i);
      }
      render_frame(fresh_, window_,
                   Rect{0, 0, fresh_.window.drawing_area.width, fresh_.window.drawing_area.height});
      reference_frame(reference_);
      const Difference d = compare(pixels_of(fresh_, role), pixels_of(reference_, role));
      if (d.pixels >= worst.pixels) worst = d;
    }
    frame_ += frames;
    return worst;
  }

  static inline HWND window_ = nullptr;
  PluginState fresh_;
  PluginState reference_;
  int frame_ = 0;
  int step_ms_ = 700;  // play time from one frame to the next
};

// The trails come from a different filter. Wine's halftone StretchBlt interpolates between the
// two nearest pixels each way, and shrinking the canvas to a quarter it reads one pixel in four;
// the renderer averages each pixel's whole footprint (as halftone stretching does on Windows).
// A dot's trail therefore comes out a little softer on the way down and a little blockier on the
// way up, and every later frame carries the difference on. Nearly every pixel of the smeared
// trails differs by a step or two; allowed: any channel up to 80 apart (the dots' brightest
// component is 120), and at most 15% of the pixels more than 8 apart. Drifting inward, Wine
// leaves the canvas's rim, which lies outside the last picture, as it was and smears the
// picture's edge over it, where the renderer draws black: there only the largest difference is
// bounded. The disc, the dots just drawn and everything over them are exact (the other tests).
constexpr int kTrailWorst = 80;
constexpr double kTrailVisibleShare = 0.15;

TEST_F(FramePixels, PlainBackgroundWithEveryItemIsTheSame) {
  change([](PluginState& s) { s.settings.visualizer[0] = 0; });
  Difference d = run(6);
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;
  EXPECT_GT(frame_cache(*window_drawing(fresh_)).lyrics.remakes(), 0);
  // At thirty frames a second the lines stay put for seconds: drawn once, laid over again.
  step_ms_ = 33;
  const int before = frame_cache(*window_drawing(fresh_)).lyrics.remakes();
  d = run(20);
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;
  EXPECT_LE(frame_cache(*window_drawing(fresh_)).lyrics.remakes() - before, 1);
}

TEST_F(FramePixels, DotsWithoutTrailsAndLyricsOverThemAreTheSame) {
  // An expansion of half the picture leaves no trails: the canvas keeps every dot drawn.
  change([](PluginState& s) { s.settings.visualizer = {1, 60, 40, 40, 6, 5}; });
  Difference d = run(12);
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;
  // Dots of one and two pixels are squares.
  change([](PluginState& s) { s.settings.visualizer = {1, 80, 33, 90, 9, 2}; });
  d = run(6);
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;
}

TEST_F(FramePixels, DotsWithTrailsStayWithinTheFilterTolerance) {
  change([](PluginState& s) { s.settings.visualizer = {1, 60, 2, 40, 6, 5}; });
  for (const MemoryDcRole role : {MemoryDcRole::kCanvas, MemoryDcRole::kFrame}) {
    const Difference d = run(30, role);
    EXPECT_GT(d.pixels, 0u) << "the reference is the other filter";
    EXPECT_LE(d.worst, kTrailWorst);
    EXPECT_LE(d.marked_share(), kTrailVisibleShare) << d.marked << " of " << d.total;
  }
  change([](PluginState& s) { s.settings.visualizer = {1, 60, -2, 40, 6, 5}; });
  const Difference d = run(30, MemoryDcRole::kCanvas);
  EXPECT_LE(d.worst, kTrailWorst);
  // Beyond the last picture the trails are black: the rim stays dark.
  const std::vector<uint32_t> canvas = pixels_of(fresh_, MemoryDcRole::kCanvas);
  for (const int i : {0, 3, 255, 256 * 128, 256 * 128 + 255, 256 * 255 + 128}) {
    EXPECT_EQ(canvas[static_cast<size_t>(i)] & 0xFFFFFFu, 0u) << "pixel " << i;
  }
}

TEST_F(FramePixels, ScrolledPanelWithHighlightAndMouseIsTheSame) {
  change([](PluginState& s) {
    s.settings.visualizer = {1, 60, 40, 40, 6, 5};
    s.settings.current_line_color = RGB(0, 0, 200);  // a bar under the current line
    s.settings.current_font_color = RGB(255, 255, 0);
    lyrics(s).scroll(3);  // manual scrolling: the window stays where it was put
    lyrics(s).scroll(3);
  });
  Difference d = run(4);
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;

  // The mouse over one row after another, and off the panel again.
  const LyricDocument& panel = lyrics(fresh_);
  ASSERT_GT(panel.visible_slots(), 3);
  const int before = frame_cache(*window_drawing(fresh_)).lyrics.remakes();
  const int objects = live_gdi_objects();
  d = run(8, MemoryDcRole::kFrame, [&](PluginState& s, int i) {
    const Rect& r = panel.slots()[static_cast<size_t>(i % 4)].text_rect;
    s.pointer.cursor_client = i < 6 ? Point{r.left + 3, r.top + 3} : Point{-10, -10};
  });
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;
  EXPECT_TRUE(fresh_.pointer.line_hovered == reference_.pointer.line_hovered);
  const int remade = frame_cache(*window_drawing(fresh_)).lyrics.remakes() - before;
  EXPECT_GE(remade, 4) << "a new row under the mouse draws the lines again";
  EXPECT_EQ(live_gdi_objects(), objects) << "drawing the lines again makes nothing that stays";

  // Back to automatic: the current line moves on with the play time.
  change([](PluginState& s) { lyrics(s).return_to_automatic(); });
  d = run(10);
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;
}

TEST_F(FramePixels, NewWindowSizeIsTheSame) {
  change([](PluginState& s) { s.settings.visualizer = {1, 60, 40, 40, 6, 5}; });
  Difference d = run(3);
  EXPECT_EQ(d.pixels, 0u);
  for (const Size size : {Size{kWidth - 80, kHeight - 20}, Size{200, 280}, Size{kWidth, kHeight}}) {
    change([&](PluginState& s) { resize(s, size.width, size.height); });
    d = run(4);  // the first frame after the change on a plain background
    EXPECT_EQ(d.pixels, 0u) << size.width << " x " << size.height << ", worst " << d.worst;
  }
}

TEST_F(FramePixels, EditModeIsTheSame) {
  change([](PluginState& s) {
    s.settings.visualizer = {1, 60, 2, 40, 6, 5};  // edit mode shows a plain background
    lyrics(s).toggle_edit_mode();
  });
  ASSERT_TRUE(lyrics(fresh_).edit_mode());
  Difference d = run(3);
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;
  // The cursor moves down, a tag is stamped, the short tags are shown.
  d = run(6, MemoryDcRole::kFrame, [](PluginState& s, int i) {
    lyrics(s).scroll(1);
    if (i == 2) lyrics(s).set_cursor_line_time(123456);
    if (i == 4) s.settings.input_timetag_digit = 1;
  });
  EXPECT_EQ(d.pixels, 0u) << "worst channel difference " << d.worst;
}

}  // namespace
}  // namespace sabla
