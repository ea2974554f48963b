#include "state/plugin_state.h"

#include "lyrics/lyric_document.h"
#include "settings/display_items.h"

namespace sabla {

LyricDocument* lyrics_panel(PluginState& state) {
  return as_lyric_document(state.settings.items[kLyricsItem].get());
}

}  // namespace sabla
