// Placeholders for the work of subsystems that are not built yet. Each does nothing, and those
// that report success report that nothing was done; see later_stages.h.
#include "host/later_stages.h"

namespace sabla {

void create_options_window(PluginState&, HandlerServices&) {}

}  // namespace sabla
