#pragma once
// A small top-down 32-bit drawing surface whose pixels the display tests can read back.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>

#include "lyrics/rect.h"

namespace sabla::test {

class PanelCanvas {
 public:
  PanelCanvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row y starts at bits_ + y * width
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    clear();
  }
  ~PanelCanvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  PanelCanvas(const PanelCanvas&) = delete;
  PanelCanvas& operator=(const PanelCanvas&) = delete;

  HDC dc() const { return dc_; }
  bool ready() const { return dc_ && bits_; }
  void clear() {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = 0;
  }

  // The pixel at (x, y) as a COLORREF.
  COLORREF at(int x, int y) const {
    const uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Pixels inside `area` (cut to the canvas; right and bottom excluded) that satisfy `test`.
  int count(const Rect& area, const std::function<bool(COLORREF)>& test) const {
    GdiFlush();
    int n = 0;
    for (int y = std::max(0, area.top); y < std::min(height_, area.bottom); ++y) {
      for (int x = std::max(0, area.left); x < std::min(width_, area.right); ++x) {
        if (test(at(x, y))) ++n;
      }
    }
    return n;
  }
  int count(const std::function<bool(COLORREF)>& test) const {
    return count(Rect{0, 0, width_, height_}, test);
  }
  Rect whole() const { return Rect{0, 0, width_, height_}; }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// Pixels of a colour made of one channel, as anti-aliased text over black leaves them too.
inline bool only_red(COLORREF c) {
  return GetRValue(c) > 0 && GetGValue(c) == 0 && GetBValue(c) == 0;
}
inline bool only_green(COLORREF c) {
  return GetGValue(c) > 0 && GetRValue(c) == 0 && GetBValue(c) == 0;
}
inline bool not_black(COLORREF c) { return c != RGB(0, 0, 0); }

}  // namespace sabla::test
