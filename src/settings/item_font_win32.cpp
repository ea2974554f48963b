#include "settings/item_font_win32.h"

#include <algorithm>

namespace sabla {
namespace {

void delete_font(void* font) { DeleteObject(static_cast<HGDIOBJ>(font)); }

}  // namespace

LOGFONTW item_log_font(const DisplayItem& item, HDC dc) {
  LOGFONTW lf{};
  lf.lfHeight = item.font_size;
  lf.lfWeight = item.font_weight;
  lf.lfItalic = static_cast<BYTE>(item.font_italic);
  lf.lfCharSet = static_cast<BYTE>(dc ? GetTextCharset(dc) : DEFAULT_CHARSET);
  lf.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
  // LOGFONTW holds 31 characters of face name; a longer name is cut there.
  const size_t length = std::min<size_t>(item.face_name.size(), LF_FACESIZE - 1);
  std::copy_n(item.face_name.begin(), length, lf.lfFaceName);
  lf.lfFaceName[length] = L'\0';
  return lf;
}

bool build_font(DisplayItem& item, HDC dc) {
  item.font.reset();
  const LOGFONTW lf = item_log_font(item, dc);
  HFONT font = CreateFontIndirectW(&lf);
  if (!font) return false;
  item.font = PlatformFont(font, &delete_font);
  return true;
}

void build_item_fonts(DisplayItems& items, HDC dc) {
  for (int i = 0; i < kTextItemCount; ++i) {
    if (DisplayItem* item = items[static_cast<size_t>(i)].get()) build_font(*item, dc);
  }
}

std::u16string icon_title_face_name() {
  LOGFONTW lf{};
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0)) return {};
  lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
  const std::wstring face(lf.lfFaceName);
  return std::u16string(face.begin(), face.end());
}

}  // namespace sabla
