#pragma once
#include <cstdint>

#include "state/host_messages.h"
#include "state/host_records.h"
#include "state/render_levels.h"

namespace sabla {

// The per-instance record: made at "init", handed to the host as its reference value, freed at
// "clr ". The handler works on its own copy of everything the host sends.
struct PluginInstance {
  void* host_cookie = nullptr;
  HostCallback host_callback = nullptr;
  void* window = nullptr;  // the visualizer window; empty while hidden
  DrawingRect rect{};      // the visualizer area inside the window
  uint32_t options = 0;    // the host's drawing options from "show" and "swin"
  RenderState render;
  TrackRecord track{};    // the host's track information at the last play or track change
  StreamRecord stream{};  // the host's stream information, kept but not read
  bool playing = false;
  int32_t seek_position_ms = 0;  // the position of the last "setp"
};

}  // namespace sabla
