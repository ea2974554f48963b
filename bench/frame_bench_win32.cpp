// What one frame costs: render_frame with the default design (dots on, every default item,
// artwork) and 40 lyric lines, at 640 x 480 and at 1920 x 1080, then with parts taken away so
// the difference shows what each costs. Builds for Windows and runs under Wine:
//   cmake --build --preset win32 --target frame_bench
//   scripts/wine-run.sh build/win32/src/display/frame_bench.exe
// The renderer alone, next to the figure through the handler (bench/host_frame_bench_win32.cpp).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_harness.h"
#include "display/dib_section_win32.h"
#include "display/display_layout_win32.h"
#include "display/dots_visualizer.h"
#include "display/frame_renderer_win32.h"
#include "display/frame_surfaces_win32.h"
#include "display/gdi_text_measurer_win32.h"
#include "display/info_panel_win32.h"
#include "display/pixel_scaling.h"
#include "state/plugin_state.h"
#include "state/track_info.h"
#include "state/window_drawing_win32.h"
#include "lyrics/lyric_document.h"
#include "lyrics/timetag.h"
#include "settings/item_font_win32.h"
#include "settings/settings_format.h"

namespace {

using namespace sabla;

constexpr int kFrames = 100;

HWND make_window(int width, int height) {
  static const ATOM registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SablaFrameBench";
    return RegisterClassW(&wc);
  }();
  (void)registered;
  return CreateWindowExW(WS_EX_TOOLWINDOW, L"SablaFrameBench", L"visualizer", WS_POPUP | WS_VISIBLE,
                         10, 10, width, height, nullptr, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

// Forty timed lines of mixed Latin and Japanese text, a few seconds apart.
std::u16string forty_lines() {
  std::u16string text;
  for (int i = 0; i < 40; ++i) {
    if (i > 0) text += u"\r\n";
    text += format_tag(5000 + i * 4000, TagForm::kLong).view();
    text += u"\u6B4C\u8A5E\u306E\u884C ";
    const std::string n = "line " + std::to_string(i) + " of the song, sung slowly";
    text.append(n.begin(), n.end());
  }
  return text;
}

struct Variant {
  const char* name;
  bool dots;
  bool lyrics;
  bool items;
};

void load_artwork(PluginState& state, Size size) {
  WindowDrawing& drawing = *window_drawing(state);
  HDC dc = memory_dc(state, MemoryDcRole::kArtwork);
  SurfaceBitmap& surface = drawing.surfaces[static_cast<size_t>(MemoryDcRole::kArtwork)];
  surface.reset();
  surface = SurfaceBitmap(dc, create_dib_section(dc, size));
  PatBlt(dc, 0, 0, size.width, size.height, WHITENESS);
  state.frame.artwork_size = size;
}

void measure(int width, int height, const Variant& variant) {
  const HWND window = make_window(width, height);
  PluginState state;
  Settings& s = state.settings;
  reset_settings(s, SettingsDefaults{u"C:\\Documents", u"Tahoma"});
  finish_settings_read(s);
  state.window.drawing = open_window_drawing(window);
  if (!window_drawing(state)) {
    std::printf("the window could not be drawn on\n");
    return;
  }
  HDC dc = window_dc(state);
  build_item_fonts(s.items, dc);
  LyricDocument* panel = as_lyric_document(s.items[kLyricsItem].get());
  panel->set_line_spacing(s.song_return_size);
  panel->init(s.song_bf_size[1], s.song_bf_size[0],
              std::make_unique<GdiTextMeasurer>(dc, panel->font));
  panel->load_text(200000, forty_lines());
  window_drawing(state)->info_font = make_info_font(dc);
  state.window.drawing_area = DrawingArea{0, 0, width, height};
  state.window.window_rect = Rect{10, 10, 10 + width, 10 + height};
  place_display_items(s, state.window.drawing_area, dc);
  create_frame_surfaces(state);
  load_artwork(state, Size{300, 300});

  state.instance = std::make_unique<PluginInstance>();
  state.instance->playing = true;
  state.clock.track_info_valid = true;
  state.clock.playing_started = true;
  state.requests.probe_off = true;
  SongInfo& song = state.song;
  song.title = u"\u6B4C\u306E\u984C\u540D Title";
  song.track_artist_shown = u"Artist";
  song.album = u"Album";
  song.track_year = 2008;
  song.track_rating = 80;
  song.track_number = 3;
  song.track_count = 12;
  fill_info_items(state.info_texts, song);

  s.visualizer[0] = variant.dots ? 1 : 0;
  if (!variant.lyrics) panel->draw_order = -1;
  if (!variant.items) {
    for (auto& item : s.items) item->draw_order = -1;
  }

  const Rect drawing{0, 0, width, height};
  std::vector<double> micros;
  micros.reserve(kFrames);
  for (int i = 0; i < kFrames + 10; ++i) {
    state.clock.play_time = 20000 + i * 33;
    state.clock.now_ms += 33;
    state.instance->render.levels = {static_cast<uint8_t>(i * 7 % 128),
                                     static_cast<uint8_t>(i * 11 % 128)};
    const double start = bench::now_us();
    render_frame(state, window, drawing);
    GdiFlush();
    const double us = bench::now_us() - start;
    if (i >= 10) micros.push_back(us);  // the first frames warm the font caches
  }
  bench::Samples samples;
  for (double us : micros) samples.add(us);
  bench::report_plain("renderer alone " + std::to_string(width) + "x" + std::to_string(height) +
                          ": " + variant.name,
                      samples);

  release_frame_surfaces(state);
  state.window.drawing.reset();
  DestroyWindow(window);
}

// The dots' three picture copies on their own, on the renderer's surfaces: the trails (the
// feedback zoomed onto the canvas), the shrink (canvas onto the feedback) and the last copy
// (canvas stretched over the frame), by GDI's StretchBlt and by the renderer's own loops.
void measure_copies(int width, int height) {
  const HWND window = make_window(width, height);
  PluginState state;
  state.window.drawing = open_window_drawing(window);
  state.window.drawing_area = DrawingArea{0, 0, width, height};
  create_frame_surfaces(state);
  HDC frame = memory_dc(state, MemoryDcRole::kFrame);
  HDC feedback = memory_dc(state, MemoryDcRole::kFeedback);
  HDC canvas = memory_dc(state, MemoryDcRole::kCanvas);
  const auto time = [](const char* name, int width, int height, auto copy) {
    std::vector<double> micros;
    for (int i = 0; i < kFrames; ++i) {
      const double start = bench::now_us();
      copy();
      GdiFlush();
      micros.push_back(bench::now_us() - start);
    }
    bench::Samples samples;
    for (double us : micros) samples.add(us);
    bench::report_plain("renderer alone " + std::to_string(width) + "x" + std::to_string(height) +
                            ": dots copy, " + name,
                        samples);
  };
  // GDI's stretching, as the renderer once did these copies, for comparison.
  SetStretchBltMode(canvas, HALFTONE);
  SetStretchBltMode(feedback, HALFTONE);
  time("GDI trails: 60 x 60 onto 256 x 256", width, height,
       [&] { StretchBlt(canvas, 0, 0, 256, 256, feedback, 2, 2, 60, 60, SRCCOPY); });
  time("GDI shrink: 256 x 256 onto 64 x 64", width, height,
       [&] { StretchBlt(feedback, 0, 0, 64, 64, canvas, 0, 0, 256, 256, SRCCOPY); });
  time("GDI last copy: canvas over the frame", width, height,
       [&] { StretchBlt(frame, 0, 0, width + 1, height + 1, canvas, 0, 32, 256, 192, SRCCOPY); });
  // The renderer's own loops over the same pictures.
  const WindowDrawing& drawing = *window_drawing(state);
  const Pixels frame_pixels = surface_pixels(drawing, MemoryDcRole::kFrame);
  const Pixels feedback_pixels = surface_pixels(drawing, MemoryDcRole::kFeedback);
  const Pixels canvas_pixels = surface_pixels(drawing, MemoryDcRole::kCanvas);
  std::vector<uint32_t> scratch;
  const BoxScaler trails(Rect{2, 2, 62, 62}, Size{64, 64}, Size{256, 256});
  const BoxScaler shrink(Rect{0, 0, 256, 256}, Size{256, 256}, Size{64, 64});
  const Rect crop = canvas_crop(width, height);
  const NearestScaler last_copy(crop, Size{width + 1, height + 1});
  time("trails: 60 x 60 onto 256 x 256", width, height,
       [&] { trails.scale(feedback_pixels, canvas_pixels, scratch); });
  time("shrink: 256 x 256 onto 64 x 64", width, height,
       [&] { shrink.scale(canvas_pixels, feedback_pixels, scratch); });
  time("last copy: canvas over the frame", width, height,
       [&] { last_copy.scale(canvas_pixels, frame_pixels, 0, 0); });
  release_frame_surfaces(state);
  state.window.drawing.reset();
  DestroyWindow(window);
}

}  // namespace

int main() {
  const Variant variants[] = {
      {"full frame (dots, items, 40 lines)", true, true, true},
      {"plain background, items, 40 lines", false, true, true},
      {"dots, items, lyrics panel hidden", true, false, true},
      {"dots only (every item hidden)", true, false, false},
      {"plain background, overlay and copy only", false, false, false},
  };
  for (const auto& size : {std::pair{640, 480}, std::pair{1920, 1080}}) {
    for (const Variant& v : variants) measure(size.first, size.second, v);
    measure_copies(size.first, size.second);
  }
  return 0;
}
