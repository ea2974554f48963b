#pragma once
// The stages the visual message handler calls whose owners are not built yet: the options window
// (a placeholder in later_stages.cpp that does nothing), and the idle processing
// (idle_processing.cpp).
#include <cstdint>

namespace sabla {

struct PluginState;
class HandlerServices;

// What opened the options window.
enum class OptionsTrigger { kConfigureMessage, kOptionKey, kOptionButton };

// Everything an idle call does after the lyric clock: requests, the frame, keys, wheel, clicks.
void idle_processing(PluginState& state, HandlerServices& services);
// Opens the modeless options window.
void open_options_window(PluginState& state, HandlerServices& services, OptionsTrigger trigger);

}  // namespace sabla
