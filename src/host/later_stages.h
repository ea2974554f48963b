#pragma once
// Stages of the visual message handler: the idle processing (idle_processing.cpp) and opening
// the options window (options_window_opening.cpp, options_window_creation.cpp).
#include <cstdint>

namespace sabla {

struct PluginState;
class HandlerServices;

// What opened the options window.
enum class OptionsTrigger { kConfigureMessage, kOptionKey, kOptionButton };

// Everything an idle call does after the lyric clock: requests, the frame, keys, wheel, clicks.
void idle_processing(PluginState& state, HandlerServices& services);
// Opens the modeless options window ("cnfg", the O key, the on-screen button): the pointer's
// hover goes, unsaved lyrics are saved first (options_window_opening.cpp), then
// create_options_window does the rest.
void open_options_window(PluginState& state, HandlerServices& services, OptionsTrigger trigger);
// The rest of the opening, with the lyrics saved: the song-change pipeline, the wheel released,
// the current song forgotten when the player has no track, the settings, fonts and layout
// loaded again, and the dialog made.
void create_options_window(PluginState& state, HandlerServices& services);

}  // namespace sabla
