#pragma once
#include <cstdint>

namespace sabla {

struct PluginState;

// About 30 frames a second is enough for the lyrics and the dots.
inline constexpr uint32_t kFrameIntervalMs = 33;

// Whether an idle call at `now_ms` draws a frame, the last one having been drawn at
// `last_frame_ms`. The millisecond timer wraps after 49.7 days; the difference is taken modulo
// 2^32 so the frames go on across the wrap. `every_call` (editing timetags on the panel, or the
// options window's timing tab) draws at every idle call, so the marks follow the keys at once.
bool frame_due(uint32_t now_ms, uint32_t last_frame_ms, bool every_call);

// The same for the plug-in's state: every call while the lyrics panel has lines and is in edit
// mode, or while the options window is open on tab 1.
bool frame_due(const PluginState& state);

}  // namespace sabla
