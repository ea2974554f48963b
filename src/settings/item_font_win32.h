#pragma once
#include <windows.h>

#include <string>

#include "settings/display_item.h"
#include "settings/display_items.h"

namespace sabla {

// The LOGFONTW of an item's font: height `font_size`, weight, italic, the character set of `dc`
// (DEFAULT_CHARSET without one), a Swiss family with default pitch and the item's face name.
LOGFONTW item_log_font(const DisplayItem& item, HDC dc);

// Replaces the item's font with a new one made from its settings; false when GDI refused.
bool build_font(DisplayItem& item, HDC dc);

// Fonts of the text items 0-13.
void build_item_fonts(DisplayItems& items, HDC dc);

// Face of the system icon-title font, the default face of the text items.
std::u16string icon_title_face_name();

}  // namespace sabla
