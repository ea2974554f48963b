#pragma once
#include <windows.h>

#include "display/lyric_slot_draws.h"
#include "display/pixel_scaling.h"
#include "lyrics/lyric_document.h"

namespace sabla {

struct PluginState;
class LyricLinesCache;

// Draws the lyrics panel for this frame. With lines: lays them out for `play_time`, highlights
// the current line, marks the line under the mouse (for a click to seek to) and in edit mode
// shows the timetag column and the cursor marker. Without lines: runs the background look for
// lyrics and, for beginners, draws the hint. A hidden panel draws nothing.
// With a `cache` and the pixels of `dc`'s picture (`frame`), the lines are laid over the frame
// from the cache, which is drawn again only when what the lines show changed; the frame comes
// out the same either way.
void draw_lyrics_panel(PluginState& state, HDC dc, LyricDocument& panel,
                       LyricLinesCache* cache = nullptr, const Pixels& frame = Pixels{});

// Draws the texts of `lines` with GDI in `font`, each rectangle moved by (dx, dy).
void draw_panel_texts(HDC dc, HFONT font, const PanelDraw& lines, int32_t dx, int32_t dy);

}  // namespace sabla
