#pragma once
// The pixels of a part of a window as it shows, children included, and saving them as a BMP
// file (the DPI script turns those into PNG).
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace sabla::test {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rows;  // bottom-up, as a BMP file stores them
  bool operator==(const Pixels&) const = default;
};

// `area` in the window's own coordinates, its non-client part included.
inline Pixels capture_window(HWND window, const RECT& area) {
  Pixels pixels;
  pixels.width = area.right - area.left;
  pixels.height = area.bottom - area.top;
  if (pixels.width <= 0 || pixels.height <= 0) return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const HDC window_dc = GetWindowDC(window);
  const HDC memory_dc = CreateCompatibleDC(window_dc);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory_dc && bitmap && bits) {
    const HGDIOBJ previous = SelectObject(memory_dc, bitmap);
    if (BitBlt(memory_dc, 0, 0, pixels.width, pixels.height, window_dc, area.left, area.top,
               SRCCOPY)) {
      GdiFlush();
      const auto* first = static_cast<const uint32_t*>(bits);
      pixels.rows.assign(first, first + static_cast<size_t>(pixels.width) * pixels.height);
    }
    SelectObject(memory_dc, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory_dc) DeleteDC(memory_dc);
  ReleaseDC(window, window_dc);
  return pixels;
}

// The whole window, caption and frame included.
inline Pixels capture_window(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  return capture_window(window, RECT{0, 0, outer.right - outer.left, outer.bottom - outer.top});
}

inline bool save_bmp(const Pixels& pixels, const std::wstring& path) {
  if (pixels.rows.empty()) return false;
  const auto image_bytes = static_cast<DWORD>(pixels.rows.size() * sizeof(uint32_t));
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + image_bytes;
  info.biSize = sizeof info;
  info.biWidth = pixels.width;
  info.biHeight = pixels.height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  const HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  DWORD total = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr);
  total += written;
  ok = ok && WriteFile(out, &info, sizeof info, &written, nullptr);
  total += written;
  ok = ok && WriteFile(out, pixels.rows.data(), image_bytes, &written, nullptr);
  total += written;
  CloseHandle(out);
  return ok && total == file.bfSize;
}

// Where the DPI script asks for them (SABLA_DIALOG_SHOTS, a Windows folder), a picture of
// `window` as it shows, named `name`; nothing otherwise. The window gets a moment to paint.
inline bool keep_dialog_shot(HWND window, const wchar_t* name) {
  const char* folder = std::getenv("SABLA_DIALOG_SHOTS");
  if (!folder || !*folder) return true;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int i = 0; i < 20; ++i) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
  const std::string narrow(folder);
  return save_bmp(capture_window(window),
                  std::wstring(narrow.begin(), narrow.end()) + L"\\" + name);
}

}  // namespace sabla::test
