#pragma once
#include <windows.h>

#include "state/frame_state.h"

namespace sabla {

// A 32-bit, bottom-up, one-plane DIB section of `size`; null when a side is below 1 or GDI
// refuses. The caller owns it (SurfaceBitmap).
HBITMAP create_dib_section(HDC dc, Size size);

}  // namespace sabla
