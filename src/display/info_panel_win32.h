#pragma once
// The song information texts on the visualizer area and the fonts they, and the overlay, are
// drawn with.
#include <windows.h>

#include <string_view>

#include "state/gdi_handles_win32.h"
#include "settings/display_item.h"

namespace sabla {

struct PluginState;
struct WindowDrawing;

// Draws `text` behind the item's label into the item's rectangle, in its font and colour;
// nothing for a hidden item. The context's font is put back afterwards.
void draw_text_item(HDC dc, const DisplayItem& item, std::u16string_view text);

// The information font for `dc`: 14 pixels high, `dc`'s character set, a variable-pitch Swiss
// face, "Microsoft Sans Serif". Empty when GDI refuses.
GdiFont make_info_font(HDC dc);
// Deletes the window's information font and makes it again for the window's context.
void replace_info_font(WindowDrawing& drawing);

// The information font of the shown window (nothing while it is hidden): made afresh, or
// deleted at "hide".
void create_info_font(PluginState& state);
void delete_info_font(PluginState& state);

// After a font setting changed: the information font and the fonts of the text items 0 to 13.
// The caller clears `fonts_changed` and lays the display out again.
void rebuild_item_fonts(PluginState& state);

}  // namespace sabla
