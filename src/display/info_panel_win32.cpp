#include "display/info_panel_win32.h"

#include <string>

#include "display/gdi_select_win32.h"
#include "display/text_item.h"
#include "state/window_drawing_win32.h"
#include "settings/item_font_win32.h"

namespace sabla {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

void draw_text_item(HDC dc, const DisplayItem& item, std::u16string_view text) {
  if (!dc || item.draw_order < 0) return;
  const ScopedSelect font(dc, static_cast<HGDIOBJ>(item.font.get()));
  SetTextColor(dc, item.color);
  const std::u16string shown = text_item_text(item, text);
  RECT r{item.rect.left, item.rect.top, item.rect.right, item.rect.bottom};
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(shown.c_str()), static_cast<int>(shown.size()), &r,
            text_item_flags(item));
}

GdiFont make_info_font(HDC dc) {
  const BYTE charset = static_cast<BYTE>(dc ? GetTextCharset(dc) : DEFAULT_CHARSET);
  return GdiFont(CreateFontW(14, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, charset,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             VARIABLE_PITCH | FF_SWISS, L"Microsoft Sans Serif"));
}

void replace_info_font(WindowDrawing& drawing) {
  drawing.info_font.reset();
  drawing.info_font = make_info_font(drawing.window_dc.get());
}

void rebuild_item_fonts(PluginState& state) {
  if (WindowDrawing* drawing = window_drawing(state)) replace_info_font(*drawing);
  build_item_fonts(state.settings.items, window_dc(state));
}

}  // namespace sabla
