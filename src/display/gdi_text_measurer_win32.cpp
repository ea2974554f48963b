#include "display/gdi_text_measurer_win32.h"

#include "display/gdi_select_win32.h"

namespace sabla {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

Rect GdiTextMeasurer::calc_rect(const char16_t* text, int count) {
  RECT r{0, 0, 0, 0};
  // A negative count would make DrawTextW read up to a terminator the caller never promised.
  if (!dc_ || count < 0 || (count > 0 && !text)) return Rect{};
  ScopedSelect font(dc_, static_cast<HGDIOBJ>(font_.get()));
  DrawTextW(dc_, count > 0 ? reinterpret_cast<const wchar_t*>(text) : L"", count, &r,
            DT_CALCRECT | DT_NOPREFIX);
  return Rect{r.left, r.top, r.right, r.bottom};
}

int GdiTextMeasurer::trailing_overhang(char16_t ch) {
  if (!dc_) return 0;
  ScopedSelect font(dc_, static_cast<HGDIOBJ>(font_.get()));
  ABC abc{};
  // Fonts without ABC widths (raster fonts) have no overhang to add.
  if (!GetCharABCWidthsW(dc_, ch, ch, &abc)) return 0;
  return abc.abcC;
}

}  // namespace sabla
