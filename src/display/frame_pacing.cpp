#include "display/frame_pacing.h"

#include "state/plugin_state.h"
#include "lyrics/lyric_document.h"

namespace sabla {

bool frame_due(uint32_t now_ms, uint32_t last_frame_ms, bool every_call) {
  return every_call || now_ms - last_frame_ms >= kFrameIntervalMs;
}

bool frame_due(const PluginState& state) {
  const LyricDocument* panel = as_lyric_document(state.settings.items[kLyricsItem].get());
  const bool editing = panel && panel->line_count() > 0 && panel->edit_mode();
  const bool timing_tab = state.options.options_open && state.settings.current_tab == 1;
  return frame_due(state.clock.now_ms, state.frame.last_frame_ms, editing || timing_tab);
}

}  // namespace sabla
