#include <gtest/gtest.h>
#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the COM declarations GDI+ builds on.
#include <objidl.h>
// Keep after objidl.h.
#include <gdiplus.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <memory>
#include <vector>

#include "display/artwork_load_win32.h"
#include "display/dib_section_win32.h"
#include "display/frame_renderer_win32.h"
#include "display/frame_surfaces_win32.h"
#include "display/info_panel_win32.h"
#include "state/plugin_state.h"
#include "state/window_drawing_win32.h"
#include "settings/settings_format.h"
#include "win32/settings/temp_folder.h"

namespace sabla {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 270;
constexpr COLORREF kBackground = RGB(10, 20, 30);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// A copy of what a device context shows, read through a DIB section of our own.
class Picture {
 public:
  Picture(HDC source, int width, int height) : width_(width), pixels_(width * height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, so rows read in screen order
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const uint32_t*>(bits);
    if (words) pixels_.assign(words, words + width * height);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(dib);
  }

  COLORREF at(int x, int y) const {
    const uint32_t p = pixels_[static_cast<size_t>(y * width_ + x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Pixels in [left, right) x [top, bottom) that are not `colour`.
  int count_other(const Rect& r, COLORREF colour) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += at(x, y) != colour;
    }
    return n;
  }
  int count(const Rect& r, COLORREF colour) const {
    return (r.right - r.left) * (r.bottom - r.top) - count_other(r, colour);
  }
  // The rightmost column in rows [top, bottom) with a pixel that is not `colour`; -1 for none.
  int rightmost_other(int top, int bottom, COLORREF colour) const {
    for (int x = width_ - 1; x >= 0; --x) {
      for (int y = top; y < bottom; ++y) {
        if (at(x, y) != colour) return x;
      }
    }
    return -1;
  }

 private:
  int width_;
  std::vector<uint32_t> pixels_;
};

// An image file of one colour written by GDI+'s own encoder for `mime` ("image/png", ...).
bool write_image(const std::wstring& path, int width, int height, COLORREF colour,
                 const wchar_t* mime) {
  namespace gp = Gdiplus::DllExports;
  UINT count = 0;
  UINT bytes = 0;
  if (gp::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0) return false;
  std::vector<uint8_t> block(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.data());
  if (gp::GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
  const Gdiplus::ImageCodecInfo* codec = nullptr;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, mime) == 0) codec = &codecs[i];
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (!codec || gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppRGB, nullptr,
                                              &bitmap) != Gdiplus::Ok) {
    return false;
  }
  const Gdiplus::ARGB argb = 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 |
                             GetBValue(colour);
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::GpSolidFill* brush = nullptr;
  bool ok = gp::GdipGetImageGraphicsContext(bitmap, &graphics) == Gdiplus::Ok &&
            gp::GdipCreateSolidFill(argb, &brush) == Gdiplus::Ok &&
            gp::GdipFillRectangleI(graphics, brush, 0, 0, width, height) == Gdiplus::Ok;
  if (brush) gp::GdipDeleteBrush(brush);
  if (graphics) gp::GdipDeleteGraphics(graphics);
  ok = ok && gp::GdipSaveImageToFile(bitmap, path.c_str(), &codec->Clsid, nullptr) == Gdiplus::Ok;
  gp::GdipDisposeImage(bitmap);
  return ok;
}

std::string file_bytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Near enough to red for a JPEG's smoothing.
bool reddish(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 70 && GetBValue(c) < 70; }

HWND make_window() {
  static const ATOM registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SablaFrameRendererTest";
    return RegisterClassW(&wc);
  }();
  (void)registered;
  return CreateWindowExW(WS_EX_TOOLWINDOW, L"SablaFrameRendererTest", L"visualizer",
                         WS_POPUP | WS_VISIBLE, 100, 100, kWidth, kHeight, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

class FrameRenderer : public ::testing::Test {
 protected:
  // One window for all the tests: Wine takes seconds to map and unmap a visible top-level
  // window.
  static void SetUpTestSuite() { window_ = make_window(); }
  static void TearDownTestSuite() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    Settings& s = state_.settings;
    reset_settings(s, SettingsDefaults{u"C:\\Documents", u"Tahoma"});
    s.visualizer[0] = 0;
    s.bg_color = kBackground;
    s.beginner = 0;
    s.show_status = {0, 0, 0};
    s.info_font_color = kWhite;
    s.mouse_on_font_color = kRed;
    s.message_font_color = kGreen;
    state_.requests.probe_off = true;
    state_.clock.track_info_valid = true;
    state_.instance = std::make_unique<PluginInstance>();
    state_.window.drawing = open_window_drawing(window_);
    ASSERT_NE(window_drawing(state_), nullptr);
    state_.window.drawing_area = DrawingArea{0, 0, kWidth, kHeight};
    state_.window.window_rect = Rect{100, 100, 100 + kWidth, 100 + kHeight};
    for (auto& item : s.items) item->place(kWidth, kHeight);
    create_frame_surfaces(state_);
    window_drawing(state_)->info_font = make_info_font(window_dc(state_));
  }
  void TearDown() override { state_.window.drawing.reset(); }

  DisplayItem& item(int index) { return *state_.settings.items[static_cast<size_t>(index)]; }
  void hide_all_items() {
    for (auto& i : state_.settings.items) i->draw_order = -1;
  }
  void render() { render_frame(state_, window_, Rect{0, 0, kWidth, kHeight}); }
  Picture frame() { return Picture(memory_dc(state_, MemoryDcRole::kFrame), kWidth, kHeight); }

  // A picture of `size` in one colour, as the song change leaves the artwork.
  void load_artwork(Size size, COLORREF colour) {
    WindowDrawing& drawing = *window_drawing(state_);
    HDC dc = memory_dc(state_, MemoryDcRole::kArtwork);
    SurfaceBitmap& surface = drawing.surfaces[static_cast<size_t>(MemoryDcRole::kArtwork)];
    surface.reset();
    surface = SurfaceBitmap(dc, create_dib_section(dc, size));
    fill(dc, Rect{0, 0, size.width, size.height}, colour);
    state_.frame.artwork_size = size;
  }
  static void fill(HDC dc, const Rect& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT rect{r.left, r.top, r.right, r.bottom};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
  Size option_text_size() {
    HDC dc = memory_dc(state_, MemoryDcRole::kFrame);
    const HGDIOBJ previous = SelectObject(dc, window_drawing(state_)->info_font.get());
    SIZE size{};
    GetTextExtentPoint32W(dc, L"OPTION", 6, &size);
    SelectObject(dc, previous);
    return Size{size.cx, size.cy};
  }

  static inline HWND window_ = nullptr;
  PluginState state_;
};

// Rows with the bar's colour, counted up from the bottom of a 255-pixel indicator at column x.
int bar_height(const Picture& p, int x, COLORREF colour) {
  int rows = 0;
  while (rows < 255 && p.at(x, 254 - rows) == colour) ++rows;
  return rows;
}

TEST_F(FrameRenderer, SurfacesHaveTheirSizesAndANewWindowSizeKeepsTheArtwork) {
  const WindowDrawing& drawing = *window_drawing(state_);
  auto bitmap = [&](MemoryDcRole role) {
    BITMAP b{};
    GetObjectW(drawing.surfaces[static_cast<size_t>(role)].get(), sizeof b, &b);
    return b;
  };
  EXPECT_EQ(bitmap(MemoryDcRole::kFrame).bmWidth, kWidth + 1);
  EXPECT_EQ(bitmap(MemoryDcRole::kFrame).bmHeight, kHeight + 1);
  EXPECT_EQ(bitmap(MemoryDcRole::kFeedback).bmWidth, 64);
  EXPECT_EQ(bitmap(MemoryDcRole::kFeedback).bmBitsPixel, 32);
  EXPECT_EQ(bitmap(MemoryDcRole::kCanvas).bmHeight, 256);
  EXPECT_EQ(bitmap(MemoryDcRole::kCanvas).bmBitsPixel, 32);

  load_artwork(Size{30, 30}, kRed);
  state_.frame.artwork_cache_size = Size{30, 30};
  release_frame_surfaces(state_);
  for (const MemoryDcRole role :
       {MemoryDcRole::kFrame, MemoryDcRole::kFeedback, MemoryDcRole::kCanvas}) {
    EXPECT_FALSE(drawing.surfaces[static_cast<size_t>(role)]);
  }
  // The artwork is the song's: a new window size only scales it again.
  EXPECT_TRUE(drawing.surfaces[static_cast<size_t>(MemoryDcRole::kArtwork)]);
  EXPECT_EQ(state_.frame.artwork_size, (Size{30, 30}));
  // Without surfaces a frame is not drawn, and the change it would have consumed waits.
  state_.window.window_changed = true;
  render();
  EXPECT_TRUE(state_.window.window_changed);

  create_frame_surfaces(state_);
  render_frame(state_, nullptr, Rect{0, 0, kWidth, kHeight});
  EXPECT_TRUE(state_.window.window_changed);
  render();
  EXPECT_FALSE(state_.window.window_changed);
}

TEST_F(FrameRenderer, RealArtworkFilesStayThroughANewWindowSize) {
  hide_all_items();
  DisplayItem& art = item(kCoverArtItem);
  art.draw_order = 1;
  art.keep_aspect = 0;
  art.size_mode_h = 0;
  art.size_mode_v = 0;
  const test::TempFolder folder;
  const std::wstring png = folder / L"cover.png";
  ASSERT_TRUE(write_image(png, 64, 32, kRed, L"image/png"));
  const std::wstring wide = folder / L"wide.png";
  ASSERT_TRUE(write_image(wide, 40000, 10, kRed, L"image/png"));
  const std::string png_bytes = file_bytes(png);
  write_bytes(folder / L"truncated.png", png_bytes.substr(0, png_bytes.size() / 2));
  write_bytes(folder / L"empty.png", "");

  struct Case {
    const wchar_t* name;
    const wchar_t* mime;  // null: the file is already there
    bool loads;
  };
  const Case cases[] = {{L"cover.png", nullptr, true},   {L"cover.jpg", L"image/jpeg", true},
                        {L"cover.bmp", L"image/bmp", true},
                        // Wider than a GDI bitmap side may safely be: refused, not drawn.
                        {L"wide.png", nullptr, false},
                        {L"truncated.png", nullptr, false}, {L"empty.png", nullptr, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + std::wcslen(c.name)));
    const std::wstring path = folder / c.name;
    if (c.mime) {
      ASSERT_TRUE(write_image(path, 64, 32, kRed, c.mime));
    }
    art.rect = Rect{20, 10, 220, 110};
    const std::optional<LoadedArtwork> loaded =
        render_artwork_file(*window_drawing(state_), path, art);
    ASSERT_EQ(loaded.has_value(), c.loads);
    state_.frame.artwork_size = loaded ? loaded->image : Size{};
    state_.frame.artwork_cache_size = loaded ? loaded->fitted : Size{};
    state_.window.window_changed = true;
    render();
    auto red_pixels = [&] {
      const Picture p = frame();
      int n = 0;
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) n += reddish(p.at(x, y));
      }
      return n;
    };
    const int before = red_pixels();
    EXPECT_EQ(before > 0, c.loads);

    // "swin": the frame surfaces go and come at the new size; the cover is scaled again.
    release_frame_surfaces(state_);
    state_.window.drawing_area = DrawingArea{0, 0, kWidth - 20, kHeight - 20};
    create_frame_surfaces(state_);
    art.rect = Rect{20, 10, 120, 60};
    state_.window.window_changed = true;
    render();
    const int after = red_pixels();
    EXPECT_EQ(after > 0, c.loads);
    if (c.loads) {
      EXPECT_LT(after, before);  // the item is a quarter the size
    }
    state_.window.drawing_area = DrawingArea{0, 0, kWidth, kHeight};
    release_frame_surfaces(state_);
    create_frame_surfaces(state_);
  }
}

TEST_F(FrameRenderer, LevelIndicatorsRiseAndFallByTheBallistics) {
  hide_all_items();
  DisplayItem& left = item(kVolumeLeftItem);
  left.draw_order = 1;
  left.rect = Rect{20, 0, 30, 255};
  left.color = kGreen;
  DisplayItem& right = item(kVolumeRightItem);
  right.rect = Rect{40, 0, 50, 255};
  right.color = kGreen;
  state_.instance->playing = true;
  state_.instance->render.levels = {100, 100};  // shown as 200

  for (int expected : {32, 64, 96, 128, 160, 192, 200, 200}) {
    render();
    const Picture p = frame();
    EXPECT_EQ(bar_height(p, 25, kGreen), expected);
    EXPECT_EQ(p.count(Rect{40, 0, 50, 255}, kGreen), 0) << "the hidden right indicator";
  }
  // The hidden indicator still followed its channel, so showing it starts from there.
  EXPECT_EQ(state_.frame.indicator_previous[1], 200);
  EXPECT_EQ(state_.frame.level_peak, 400);

  state_.instance->playing = false;
  for (int expected : {184, 168, 152}) {
    render();
    EXPECT_EQ(bar_height(frame(), 25, kGreen), expected);
  }
}

TEST_F(FrameRenderer, HiddenItemsDrawNothing) {
  state_.window.window_rect = Rect{0, 0, kWidth, kHeight};  // no links, no button
  state_.info_texts[0] = u"Title of the song";
  state_.song.track_year = 1999;
  state_.clock.play_time = 83'456;
  state_.instance->playing = true;
  state_.instance->render.levels = {120, 120};
  load_artwork(Size{40, 40}, kRed);
  hide_all_items();
  for (int i = 0; i < 3; ++i) render();
  const Picture p = frame();
  EXPECT_EQ(p.count_other(Rect{0, 0, kWidth, kHeight}, kBackground), 0);
  // What the frame drew reached the window.
  HDC screen = GetDC(window_);
  EXPECT_EQ(GetPixel(screen, kWidth / 2, kHeight / 2), kBackground);
  ReleaseDC(window_, screen);

  for (int index : {0, 3, 10, kVolumeLeftItem, kCoverArtItem}) {
    item(index).draw_order = 1;
    render();
    EXPECT_GT(frame().count_other(item(index).rect, kBackground), 0) << "item " << index;
    item(index).draw_order = -1;
  }
}

TEST_F(FrameRenderer, ArtworkLandsWhereTheKeepAspectRuleAndAlignmentPutIt) {
  hide_all_items();
  DisplayItem& art = item(kCoverArtItem);
  art.draw_order = 1;
  art.rect = Rect{20, 10, 220, 110};
  art.keep_aspect = 1;
  art.align_h = 2;
  art.align_v = 0;
  art.size_mode_h = 0;
  art.size_mode_v = 0;
  load_artwork(Size{300, 600}, kRed);  // fits as 50 x 100
  state_.window.window_changed = true;
  render();
  EXPECT_EQ(state_.frame.artwork_cache_size, (Size{50, 100}));
  Picture p = frame();
  EXPECT_EQ(p.count(Rect{95, 10, 145, 110}, kRed), 50 * 100);
  EXPECT_EQ(p.count(Rect{0, 0, kWidth, kHeight}, kRed), 50 * 100);

  art.align_h = 1;
  render();
  p = frame();
  EXPECT_EQ(p.count(Rect{170, 10, 220, 110}, kRed), 50 * 100);
  EXPECT_EQ(p.count(Rect{0, 0, kWidth, kHeight}, kRed), 50 * 100);

  // A wide picture at the bottom of the item.
  load_artwork(Size{400, 100}, kGreen);  // fits as 200 x 50
  art.align_v = 1;
  state_.window.window_changed = true;
  render();
  p = frame();
  EXPECT_EQ(p.count(Rect{20, 60, 220, 110}, kGreen), 200 * 50);
  EXPECT_EQ(p.count(Rect{0, 0, kWidth, kHeight}, kGreen), 200 * 50);

  // Stretched over the whole item once the proportions no longer count.
  art.keep_aspect = 0;
  render();
  EXPECT_EQ(frame().count(Rect{0, 0, kWidth, kHeight}, kGreen), 200 * 100);
  EXPECT_EQ(state_.frame.artwork_cache_size, (Size{200, 100}));
}

TEST_F(FrameRenderer, LinksAndOptionButtonStayOffAtTheScreenCorner) {
  hide_all_items();
  state_.clock.playing_started = true;
  for (auto& name : state_.settings.URL_name) name = u"Search";
  const Size option = option_text_size();
  const Rect button{kWidth - option.width - 5, kHeight - option.height, kWidth, kHeight};
  const Rect links{100, kHeight - 14, kWidth - option.width - 5, kHeight};
  state_.pointer.cursor_client = Point{kWidth - 2, kHeight - 2};

  render();
  Picture p = frame();
  EXPECT_TRUE(state_.frame.option_button_request);
  EXPECT_GT(p.count(button, kRed), 0) << "the button under the mouse";
  EXPECT_GT(p.count_other(links, kBackground), 0);

  state_.pointer.cursor_client = Point{102, kHeight - 8};
  render();
  EXPECT_TRUE(state_.frame.search_link_marks[0]);
  EXPECT_FALSE(state_.frame.search_link_marks[1]);
  EXPECT_FALSE(state_.frame.option_button_request);
  EXPECT_GT(frame().count(links, kRed), 0);

  // Full screen: the window's left and top edges are 0 (one of them is enough).
  for (const Rect& corner : {Rect{0, 0, kWidth, kHeight}, Rect{0, 100, kWidth, 100 + kHeight},
                             Rect{100, 0, 100 + kWidth, kHeight}}) {
    state_.window.window_rect = corner;
    for (const Point& cursor : {Point{102, kHeight - 8}, Point{kWidth - 2, kHeight - 2}}) {
      state_.pointer.cursor_client = cursor;
      render();
      EXPECT_EQ(frame().count_other(Rect{0, 0, kWidth, kHeight}, kBackground), 0);
      EXPECT_FALSE(state_.frame.option_button_request);
      EXPECT_FALSE(state_.frame.search_link_marks[0]);
    }
  }
}

TEST_F(FrameRenderer, StatusSpansTheFullWidthWhileTheOptionsWindowIsOpen) {
  hide_all_items();
  state_.window.window_rect = Rect{0, 0, kWidth, kHeight};  // the button out of the way
  state_.settings.show_status = {0, 0, 1};
  state_.status = StatusMessage{u"Saved lrc", 50};
  const int option_width = option_text_size().width;

  render();
  int right = frame().rightmost_other(kHeight - 14, kHeight, kBackground);
  EXPECT_LE(right, kWidth - option_width - 10);
  EXPECT_GE(right, kWidth - option_width - 14);
  EXPECT_EQ(state_.status.frames, 49);

  state_.options.options_open = true;
  render();
  right = frame().rightmost_other(kHeight - 14, kHeight, kBackground);
  EXPECT_GE(right, kWidth - 4);
  EXPECT_EQ(state_.status.frames, 48);

  // Hidden by the setting, the message still runs out.
  state_.settings.show_status[2] = 0;
  render();
  EXPECT_EQ(frame().rightmost_other(0, kHeight, kBackground), -1);
  EXPECT_EQ(state_.status.frames, 47);
}

TEST_F(FrameRenderer, NoDotsStillDrawTheTrailsAndTheCentreDisc) {
  hide_all_items();
  Settings& s = state_.settings;
  s.visualizer = {1, 60, 2, 40, 0, 5};
  HDC feedback = memory_dc(state_, MemoryDcRole::kFeedback);
  fill(feedback, Rect{0, 0, 64, 64}, kWhite);

  render();
  Picture canvas(memory_dc(state_, MemoryDcRole::kCanvas), 256, 256);
  EXPECT_EQ(canvas.at(128, 128), kBlack);
  EXPECT_EQ(canvas.at(10, 10), kWhite);
  auto coloured = [](const Picture& p, int w, int h) {
    int n = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const COLORREF c = p.at(x, y);
        n += GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c);
      }
    }
    return n;
  };
  EXPECT_EQ(coloured(canvas, 256, 256), 0);
  Picture p = frame();
  EXPECT_EQ(p.at(kWidth / 2, kHeight / 2), kBlack);
  EXPECT_EQ(p.at(2, 2), kWhite);

  s.visualizer[4] = 6;
  render();
  EXPECT_GT(coloured(Picture(memory_dc(state_, MemoryDcRole::kCanvas), 256, 256), 256, 256), 0);
  EXPECT_GT(coloured(frame(), kWidth, kHeight), 0);
}

TEST_F(FrameRenderer, ChangedWindowGetsAPlainBackgroundOnce) {
  hide_all_items();
  state_.window.window_rect = Rect{0, 0, kWidth, kHeight};  // no button
  state_.settings.visualizer = {1, 60, 2, 40, 6, 5};
  fill(memory_dc(state_, MemoryDcRole::kFeedback), Rect{0, 0, 64, 64}, kWhite);
  state_.window.window_changed = true;
  render();
  EXPECT_EQ(frame().count_other(Rect{0, 0, kWidth, kHeight}, kBackground), 0);
  EXPECT_FALSE(state_.window.window_changed);

  render();
  const Picture p = frame();
  EXPECT_EQ(p.at(kWidth / 2, kHeight / 2), kBlack);
  EXPECT_EQ(p.at(2, 2), kWhite);
}

// Wine answers 0 to GetGuiResources but takes a handle whose high word is 0 as the live object
// at that index, so counting such indices counts live GDI objects.
int live_gdi_objects() {
  int count = 0;
  for (uintptr_t index = 1; index <= 0xFFFF; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
  }
  return count;
}

TEST_F(FrameRenderer, FramesLeaveNoGdiObjectBehind) {
  state_.settings.visualizer = {1, 60, 2, 40, 6, 5};
  state_.settings.show_status = {1, 1, 1};
  state_.status = StatusMessage{u"Saved lrc", 50};
  state_.clock.playing_started = true;
  state_.instance->playing = true;
  state_.instance->render.levels = {90, 40};
  load_artwork(Size{64, 32}, kRed);
  DisplayItem& art = item(kCoverArtItem);
  render();
  const int objects = live_gdi_objects();
  for (int i = 0; i < 20; ++i) {
    art.keep_aspect = i % 2;  // a new artwork cache every frame
    state_.pointer.cursor_client = i % 2 ? Point{102, kHeight - 8} : Point{kWidth - 2, kHeight - 2};
    render();
  }
  EXPECT_EQ(live_gdi_objects(), objects);
}

}  // namespace
}  // namespace sabla
