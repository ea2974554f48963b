#pragma once
#include <memory>

#include "state/frame_state.h"
#include "state/host_link.h"
#include "state/input_state.h"
#include "state/key_names.h"
#include "state/playback_clock.h"
#include "state/plugin_instance.h"
#include "state/requests.h"
#include "state/song_info.h"
#include "state/string_table.h"
#include "state/track_info.h"
#include "state/wheel_input.h"
#include "state/window_state.h"
#include "player/player_types.h"
#include "settings/settings.h"
#include "sources/lyric_source_state.h"
#include "web/version_check.h"

namespace sabla {

class LyricDocument;

// The program-wide record: every setting, the current song, the clock, the display items,
// the request bytes and the status line. The DLL owns the single instance; tests build their own.
// Later subsystems add their nested parts here.
struct PluginState {
  Settings settings;

  bool in_handler = false;  // a visual message is being handled
  HostLink host;
  std::unique_ptr<PluginInstance> instance;  // from the handler's "init" to its "clr "

  PlaybackClock clock;
  SongInfo song;
  InfoTexts info_texts;
  LyricSourceState sources;

  WindowState window;
  FrameState frame;
  PointerState pointer;
  InputState input;
  OptionsWindowState options;
  Requests requests;
  StatusMessage status;

  StringTable strings;
  KeyNames key_names;
  WheelInput wheel;
  // Last, so that its threads are waited for before the request flags they write go away.
  VersionChecks version_checks;
};

// The lyrics panel among the display items, or null before the settings made it.
LyricDocument* lyrics_panel(PluginState& state);

}  // namespace sabla
