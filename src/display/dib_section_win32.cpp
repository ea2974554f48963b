#include "display/dib_section_win32.h"

namespace sabla {
namespace {

HBITMAP create_dib(HDC dc, Size size, LONG height, void** bits) {
  if (size.width < 1 || size.height < 1) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

HBITMAP create_dib_section(HDC dc, Size size) {
  void* bits = nullptr;
  return create_dib(dc, size, size.height, &bits);  // positive: bottom-up
}

HBITMAP create_top_down_dib(HDC dc, Size size, uint32_t** bits) {
  void* pixels = nullptr;
  HBITMAP bitmap = create_dib(dc, size, -size.height, &pixels);
  if (bits) *bits = bitmap ? static_cast<uint32_t*>(pixels) : nullptr;
  return bitmap;
}

}  // namespace sabla
