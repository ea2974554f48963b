// What happens before the options window opens, whichever way the user asked for it.
#include "host/handler_services.h"
#include "host/handler_steps.h"
#include "host/input_actions.h"
#include "state/plugin_state.h"
#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

// The key and the configure command are asked for with edits pending; the on-screen button is
// clicked from edit mode, where whatever is on screen is what the user means to keep.
bool save_first(PluginState& state, OptionsTrigger trigger) {
  if (trigger == OptionsTrigger::kOptionButton) {
    const LyricDocument* panel = lyrics_panel(state);
    return panel && panel->edit_mode();
  }
  return state.requests.lyrics_modified;
}

}  // namespace

void open_options_window(PluginState& state, HandlerServices& services, OptionsTrigger trigger) {
  if (!state.window.visible || state.options.options_open) return;
  // The window covers the visualizer: nothing may stay lit under a pointer that is now elsewhere.
  state.pointer.line_hovered = false;
  state.pointer.hovered_line = 0;
  state.frame.search_link_marks.fill(false);
  state.pointer.cursor_screen = Point{};
  state.pointer.cursor_client = Point{};
  // The editors load the lyrics from the files, so unsaved timetags would be lost to them. A
  // failed save is reported and the window opens all the same.
  if (save_first(state, trigger)) save_lrc_with_status(state, services);
  create_options_window(state, services);
}

}  // namespace sabla
