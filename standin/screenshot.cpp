#include "screenshot.h"

// WIN32_LEAN_AND_MEAN leaves out the COM declarations GDI+ builds on.
#include <objidl.h>
// Keep after objidl.h.
#include <gdiplus.h>

#include <cstring>
#include <unordered_set>

#include "win32_handles.h"

namespace standin {

namespace gp = Gdiplus::DllExports;

namespace {

// GDI+ from start-up to shut-down.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
  }
  ~GdiplusSession() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  explicit operator bool() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// A GDI+ bitmap over memory the caller keeps alive.
class GdiplusBitmap {
 public:
  explicit GdiplusBitmap(const Capture& c) {
    // GDI+ wants a writable pointer but only reads from it when saving.
    auto* scan0 = reinterpret_cast<BYTE*>(const_cast<uint32_t*>(c.pixels.data()));
    if (gp::GdipCreateBitmapFromScan0(c.width, c.height, c.width * 4, PixelFormat32bppRGB, scan0,
                                      &bitmap_) != Gdiplus::Ok) {
      bitmap_ = nullptr;
    }
  }
  ~GdiplusBitmap() {
    if (bitmap_) gp::GdipDisposeImage(bitmap_);
  }
  GdiplusBitmap(const GdiplusBitmap&) = delete;
  GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;

  Gdiplus::GpBitmap* get() const { return bitmap_; }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

bool find_encoder(const wchar_t* mime_type, CLSID& clsid) {
  UINT count = 0;
  UINT bytes = 0;
  if (gp::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0) return false;
  // The codec array is followed by the strings it points to, all in one block of `bytes`.
  std::vector<uint8_t> block(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.data());
  if (bytes < count * sizeof(Gdiplus::ImageCodecInfo) ||
      gp::GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) {
    return false;
  }
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, mime_type) == 0) {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

size_t Capture::distinct_colours() const {
  std::unordered_set<uint32_t> colours;
  for (const uint32_t p : pixels) colours.insert(p & 0xFFFFFF);
  return colours.size();
}

namespace {

// The pixels of `source` from (0, 0), `width` by `height`.
bool capture_dc(HDC source, int width, int height, Capture& capture, std::string& error) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  const UniqueMemoryDc memory_dc(CreateCompatibleDC(source));
  void* bits = nullptr;
  const UniqueGdiObject bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!source || !memory_dc || !bitmap || !bits) {
    error = "cannot make a bitmap of " + std::to_string(width) + "x" + std::to_string(height);
    return false;
  }
  {
    const SelectedObject selected(memory_dc.get(), bitmap.get());
    if (!BitBlt(memory_dc.get(), 0, 0, width, height, source, 0, 0, SRCCOPY | CAPTUREBLT)) {
      error = "copying the window's pixels failed";
      return false;
    }
  }
  GdiFlush();
  capture.width = width;
  capture.height = height;
  capture.pixels.assign(static_cast<const uint32_t*>(bits),
                        static_cast<const uint32_t*>(bits) + static_cast<size_t>(width) * height);
  return true;
}

}  // namespace

bool capture_client(HWND window, Capture& capture, std::string& error) {
  RECT client{};
  if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) {
    error = "the window has no client area";
    return false;
  }
  const WindowDc window_dc(window);
  return capture_dc(window_dc.get(), client.right, client.bottom, capture, error);
}

bool capture_whole_window(HWND window, Capture& capture, std::string& error) {
  RECT outer{};
  if (!GetWindowRect(window, &outer) || outer.right <= outer.left || outer.bottom <= outer.top) {
    error = "the window has no size";
    return false;
  }
  const WindowDc window_dc(window, WindowDc::kWholeWindow);
  return capture_dc(window_dc.get(), outer.right - outer.left, outer.bottom - outer.top, capture,
                    error);
}

bool save_png(const Capture& capture, const std::wstring& path, std::string& error) {
  const GdiplusSession session;
  if (!session) {
    error = "GDI+ does not start";
    return false;
  }
  CLSID png{};
  if (!find_encoder(L"image/png", png)) {
    error = "GDI+ has no PNG encoder";
    return false;
  }
  const GdiplusBitmap bitmap(capture);
  if (!bitmap.get()) {
    error = "GDI+ cannot take the captured pixels";
    return false;
  }
  if (gp::GdipSaveImageToFile(bitmap.get(), path.c_str(), &png, nullptr) != Gdiplus::Ok) {
    error = "GDI+ cannot write the file";
    return false;
  }
  return true;
}

}  // namespace standin
