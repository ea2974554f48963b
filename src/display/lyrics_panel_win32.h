#pragma once
#include <windows.h>

#include "lyrics/lyric_document.h"

namespace sabla {

struct PluginState;

// Draws the lyrics panel for this frame. With lines: lays them out for `play_time`, highlights
// the current line, marks the line under the mouse (for a click to seek to) and in edit mode
// shows the timetag column and the cursor marker. Without lines: runs the background look for
// lyrics and, for beginners, draws the hint. A hidden panel draws nothing.
void draw_lyrics_panel(PluginState& state, HDC dc, LyricDocument& panel);

}  // namespace sabla
