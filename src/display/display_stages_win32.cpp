// The display's stages as the visual message handler runs them: the information font from
// "show" to "hide", and the layout of the items on the window.
#include "display/display_layout_win32.h"
#include "display/info_panel_win32.h"
#include "state/window_drawing_win32.h"

namespace sabla {

void create_info_font(PluginState& state) {
  if (WindowDrawing* drawing = window_drawing(state)) replace_info_font(*drawing);
}

void delete_info_font(PluginState& state) {
  if (WindowDrawing* drawing = window_drawing(state)) drawing->info_font.reset();
}

void layout_display(PluginState& state) {
  place_display_items(state.settings, state.window.drawing_area, window_dc(state));
}

}  // namespace sabla
