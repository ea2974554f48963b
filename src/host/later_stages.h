#pragma once
// The work of other subsystems that the visual message handler calls: the song-change pipeline,
// saving the lyrics, the frame surfaces, the fonts, the layout, the version checks, the idle
// processing and the options window. Each owning subsystem gives its function its real body in
// its own folder and removes the placeholder from later_stages.cpp; until then the placeholder
// does nothing and reports that nothing was done.
#include <cstdint>

namespace sabla {

struct PluginState;
class HandlerServices;

// What opened the options window.
enum class OptionsTrigger { kConfigureMessage, kOptionKey, kOptionButton };

// The frame renderer's off-screen surfaces for the current drawing area.
void create_frame_surfaces(PluginState& state);
void release_frame_surfaces(PluginState& state);
// The information font.
void create_info_font(PluginState& state);
void delete_info_font(PluginState& state);
// Places every display item on the drawing area and lays out the lyrics panel's rows.
void layout_display(PluginState& state);
// Start the release and the beta version checks on threads of their own.
void start_release_version_check(PluginState& state);
void start_beta_version_check(PluginState& state);
// Everything an idle call does after the lyric clock: requests, the frame, keys, wheel, clicks.
void idle_processing(PluginState& state, HandlerServices& services);
// Opens the modeless options window.
void open_options_window(PluginState& state, HandlerServices& services, OptionsTrigger trigger);

}  // namespace sabla
