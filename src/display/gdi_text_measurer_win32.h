#pragma once
#include <windows.h>

#include "lyrics/text_measure.h"
#include "settings/display_item.h"

namespace sabla {

// Text sizes in an item's font on a device context, as GDI draws them. The font is looked up
// at each call, so a font rebuilt in place is followed; without one the context's current font
// is used. Neither the context nor the font is owned: both must outlive the measurer.
class GdiTextMeasurer final : public TextMeasurer {
 public:
  GdiTextMeasurer(HDC dc, const PlatformFont& font) : dc_(dc), font_(font) {}

  Rect calc_rect(const char16_t* text, int count) override;
  int trailing_overhang(char16_t ch) override;

 private:
  HDC dc_;
  const PlatformFont& font_;
};

}  // namespace sabla
