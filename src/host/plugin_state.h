#pragma once
#include <memory>

#include "display/frame_state.h"
#include "host/host_link.h"
#include "host/input_state.h"
#include "host/key_names.h"
#include "host/playback_clock.h"
#include "host/plugin_instance.h"
#include "host/requests.h"
#include "host/song_info.h"
#include "host/string_table.h"
#include "host/track_info.h"
#include "host/wheel_input.h"
#include "host/window_state.h"
#include "player/player_types.h"
#include "settings/settings.h"
#include "sources/lyric_source_state.h"
#include "web/version_check.h"

namespace sabla {

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

}  // namespace sabla
