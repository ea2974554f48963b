#pragma once
#include <windows.h>

#include <utility>

namespace sabla {

// A window's device context, released to its window when dropped.
class WindowDc {
 public:
  WindowDc() = default;
  explicit WindowDc(HWND window) : window_(window), dc_(window ? GetDC(window) : nullptr) {}
  ~WindowDc() { reset(); }
  WindowDc(WindowDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  HWND window() const { return window_; }
  void reset() {
    if (dc_) ReleaseDC(window_, dc_);
    dc_ = nullptr;
    window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// A memory device context, deleted when dropped. Whoever selects a bitmap into it selects the
// original back before the context goes.
class MemoryDc {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC compatible_with) : dc_(CreateCompatibleDC(compatible_with)) {}
  ~MemoryDc() { reset(); }
  MemoryDc(MemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  MemoryDc& operator=(MemoryDc&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC get() const { return dc_; }
  void reset() {
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
};

// A bitmap selected into a memory device context for as long as it lives. The context's
// previous bitmap goes back in before this one is deleted, since GDI refuses to delete a
// selected bitmap and the context would otherwise leak it.
class SurfaceBitmap {
 public:
  SurfaceBitmap() = default;
  SurfaceBitmap(HDC dc, HBITMAP bitmap)
      : dc_(dc), bitmap_(bitmap), previous_(dc && bitmap ? SelectObject(dc, bitmap) : nullptr) {}
  ~SurfaceBitmap() { reset(); }
  SurfaceBitmap(SurfaceBitmap&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)),
        bitmap_(std::exchange(other.bitmap_, nullptr)),
        previous_(std::exchange(other.previous_, nullptr)) {}
  SurfaceBitmap& operator=(SurfaceBitmap&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
      bitmap_ = std::exchange(other.bitmap_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  SurfaceBitmap(const SurfaceBitmap&) = delete;
  SurfaceBitmap& operator=(const SurfaceBitmap&) = delete;

  HBITMAP get() const { return bitmap_; }
  HDC dc() const { return dc_; }
  explicit operator bool() const { return bitmap_ != nullptr; }
  void reset() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// A GDI object (font, pen, brush) deleted when dropped. It must not be selected anywhere then.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using GdiFont = GdiObject<HFONT>;
using GdiPen = GdiObject<HPEN>;
using GdiBrush = GdiObject<HBRUSH>;

}  // namespace sabla
