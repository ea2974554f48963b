#pragma once
#include <windows.h>

#include "state/window_state.h"
#include "settings/settings.h"

namespace sabla {

struct PluginState;

// Places every display item on a drawing area of `area`'s size, cuts the lyrics panel into
// rows of `song_return_size` pixels and measures its loaded lines in its font on `dc` (without
// a context the panel keeps measuring with what it had).
void place_display_items(Settings& settings, const DrawingArea& area, HDC dc);

// The same for the shown window: its drawing area and its device context. Called whenever the
// window's size, the design or the fonts change.
void layout_display(PluginState& state);

}  // namespace sabla
