#pragma once
// The stages the visual message handler calls whose owners are not built yet: the version checks
// and the options window (placeholders in later_stages.cpp that do nothing), and the idle
// processing (idle_processing.cpp).
#include <cstdint>

namespace sabla {

struct PluginState;
class HandlerServices;

// What opened the options window.
enum class OptionsTrigger { kConfigureMessage, kOptionKey, kOptionButton };

// Start the release and the beta version checks on threads of their own.
void start_release_version_check(PluginState& state);
void start_beta_version_check(PluginState& state);
// Everything an idle call does after the lyric clock: requests, the frame, keys, wheel, clicks.
void idle_processing(PluginState& state, HandlerServices& services);
// Opens the modeless options window.
void open_options_window(PluginState& state, HandlerServices& services, OptionsTrigger trigger);

}  // namespace sabla
