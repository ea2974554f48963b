// The options window is not built yet: until it is, opening it stops after the saving step and
// changes nothing else (see later_stages.h).
#include "host/later_stages.h"

namespace sabla {

void create_options_window(PluginState&, HandlerServices&) {}

}  // namespace sabla
