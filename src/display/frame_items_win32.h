#pragma once
// The item drawers of the frame that are not text: the level indicators and the artwork.
#include <windows.h>

#include <cstdint>

#include "state/frame_state.h"
#include "settings/display_item.h"

namespace sabla {

struct PluginState;

// Indicator `channel` (0 left, 1 right) showing `value`: the value follows the bar
// ballistics from what the channel showed in the last frame, is remembered for the next frame
// and raises the level peak; a visible item is filled in its colour up to that value.
void draw_level_indicator(HDC dc, const DisplayItem& item, int channel, int32_t value,
                          FrameState& frame);

// The loaded artwork in its item, at the size and place the keep-aspect rule and the item's
// alignment give, from the scaled copy. The copy is scaled again when the window changed and
// the item is stretched with the window on both axes, or when it no longer has the size drawn.
// Nothing for a hidden item or while no artwork is loaded.
void draw_artwork(PluginState& state, HDC dc, const DisplayItem& item);

}  // namespace sabla
