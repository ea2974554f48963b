#pragma once
// A top-down 32-bit surface whose pixels the display tests read back, and a font whose text
// pixels have exactly the text colour.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>

#include "lyrics/rect.h"
#include "settings/display_item.h"

namespace sabla::test {

class PanelCanvas {
 public:
  PanelCanvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
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
    std::fill(bits_, bits_ + width_ * height_, 0u);
  }
  // Pixels inside `area` (cut to the canvas) whose COLORREF satisfies `test`.
  int count(const Rect& area, const std::function<bool(COLORREF)>& test) const {
    GdiFlush();
    int n = 0;
    for (int y = std::max(0, area.top); y < std::min(height_, area.bottom); ++y) {
      for (int x = std::max(0, area.left); x < std::min(width_, area.right); ++x) {
        const uint32_t p = bits_[y * width_ + x];
        if (test(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF))) ++n;
      }
    }
    return n;
  }
  int count(const std::function<bool(COLORREF)>& test) const {
    return count(Rect{0, 0, width_, height_}, test);
  }

 private:
  int width_;
  int height_;
  HDC dc_ = CreateCompatibleDC(nullptr);
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};

inline PlatformFont crisp_font(int height) {
  return PlatformFont(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                  0, NONANTIALIASED_QUALITY, FF_SWISS, L"Tahoma"),
                      [](void* font) { DeleteObject(static_cast<HGDIOBJ>(font)); });
}

// One-channel colours, as text anti-aliased over black leaves them too.
inline bool only_red(COLORREF c) { return GetRValue(c) && !GetGValue(c) && !GetBValue(c); }
inline bool only_green(COLORREF c) { return GetGValue(c) && !GetRValue(c) && !GetBValue(c); }
inline bool not_black(COLORREF c) { return c != RGB(0, 0, 0); }

}  // namespace sabla::test
