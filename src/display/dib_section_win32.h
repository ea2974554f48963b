#pragma once
#include <windows.h>

#include <cstdint>

#include "state/frame_state.h"

namespace sabla {

// A 32-bit, bottom-up, one-plane DIB section of `size`; null when a side is below 1 or GDI
// refuses. The caller owns it (SurfaceBitmap).
HBITMAP create_dib_section(HDC dc, Size size);

// The same, top-down, with its pixels: the first row is the top one and rows follow each other
// without a gap, so the program can write the picture itself. Null (and no pixels) when a side
// is below 1 or GDI refuses.
HBITMAP create_top_down_dib(HDC dc, Size size, uint32_t** bits);

}  // namespace sabla
