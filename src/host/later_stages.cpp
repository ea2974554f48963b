// Placeholders for the work of subsystems that are not built yet. Each does nothing, and those
// that report success report that nothing was done; see later_stages.h.
#include "host/later_stages.h"

namespace sabla {

void create_frame_surfaces(PluginState&) {}
void release_frame_surfaces(PluginState&) {}
void create_info_font(PluginState&) {}
void delete_info_font(PluginState&) {}
void layout_display(PluginState&) {}
void start_release_version_check(PluginState&) {}
void start_beta_version_check(PluginState&) {}
void idle_processing(PluginState&, HandlerServices&) {}
void open_options_window(PluginState&, HandlerServices&, OptionsTrigger) {}

}  // namespace sabla
