#pragma once
// Plays the host's part over time: what happens in the player (a play, a seek, a track change,
// from the user, the scenario or the plug-in's own automation calls) reaches the plug-in as the
// matching visual message, and while the visualizer is shown it gets render data and idle time
// at the pace its registration asked for.
#include <cstdint>
#include <string>
#include <vector>

#include "player_model.h"
#include "registration_record.h"
#include "render_synth.h"
#include "visual_host.h"

namespace standin {

// The idle pace is kept within these bounds whatever the plug-in registered.
inline constexpr uint32_t kMinIdleIntervalMs = 1;
inline constexpr uint32_t kMaxIdleIntervalMs = 1000;

// What the plug-in's registration asked the host for.
struct PluginRequests {
  uint32_t idle_interval_ms = 10;
  bool wants_idle = true;
  bool wants_configure = true;
  uint32_t waveform_channels = 2;
  uint32_t spectrum_channels = 2;
};

PluginRequests requests_of(const Registration& registration);

class HostDriver {
 public:
  // `locations` are the tracks' full paths (UTF-8), in playlist order.
  HostDriver(VisualHost& host, PlayerModel& model, std::vector<std::string> locations,
             PluginRequests requests);

  // Sends the messages for the player's events so far, oldest first.
  void deliver_events();

  // When its time has come (`now` in milliseconds): render data while the track plays, then the
  // idle message, both only while the visualizer is shown. Returns when the next is due; two
  // idle calls are never closer together than the interval.
  uint64_t idle(uint64_t now);

  const PluginRequests& requests() const { return requests_; }

 private:
  void send_track(const PlayerEvent& event);

  VisualHost& host_;
  PlayerModel& model_;
  std::vector<std::string> locations_;
  std::vector<RenderTones> tones_;
  PluginRequests requests_;
  uint64_t next_idle_ = 0;
  sabla::TrackRecord track_record_;
  sabla::StreamRecord stream_record_;
  sabla::RenderData render_data_;
};

}  // namespace standin
