#include "host_driver.h"

#include <algorithm>

#include "track_records.h"

namespace standin {

namespace {

constexpr uint32_t kWantsIdle = 0x08;
constexpr uint32_t kWantsConfigure = 0x20;

}  // namespace

PluginRequests requests_of(const Registration& registration) {
  PluginRequests requests;
  requests.idle_interval_ms =
      std::clamp(registration.time_between_data_ms, kMinIdleIntervalMs, kMaxIdleIntervalMs);
  requests.wants_idle = (registration.options & kWantsIdle) != 0;
  requests.wants_configure = (registration.options & kWantsConfigure) != 0;
  requests.waveform_channels = registration.waveform_channels;
  requests.spectrum_channels = registration.spectrum_channels;
  return requests;
}

HostDriver::HostDriver(VisualHost& host, PlayerModel& model, std::vector<std::string> locations,
                       PluginRequests requests)
    : host_(host), model_(model), locations_(std::move(locations)), requests_(requests) {
  locations_.resize(model.tracks().size());
  for (const PlaylistTrack& track : model.tracks()) tones_.push_back(tones_for(track));
}

void HostDriver::send_track(const PlayerEvent& event) {
  const PlaylistTrack& track = model_.tracks().at(event.track);
  build_track_record(track, locations_[event.track], track_record_);
  build_stream_record(track, locations_[event.track], stream_record_);
  if (event.kind == PlayerEvent::Kind::kPlay) {
    host_.play(&track_record_, &stream_record_);
  } else {
    host_.change_track(&track_record_, &stream_record_);
  }
}

void HostDriver::deliver_events() {
  for (const PlayerEvent& event : model_.take_events()) {
    switch (event.kind) {
      case PlayerEvent::Kind::kPlay:
      case PlayerEvent::Kind::kChangeTrack:
        send_track(event);
        break;
      case PlayerEvent::Kind::kSetPosition:
        host_.set_position(event.position_ms);
        break;
      case PlayerEvent::Kind::kPause:
        host_.pause();
        break;
      case PlayerEvent::Kind::kUnpause:
        host_.unpause();
        break;
      case PlayerEvent::Kind::kStop:
        host_.stop();
        break;
    }
  }
}

uint64_t HostDriver::idle(uint64_t now) {
  if (now < next_idle_) return next_idle_;
  next_idle_ = now + requests_.idle_interval_ms;
  if (!host_.shown() || host_.in_call()) return next_idle_;
  const bool wants_render = requests_.waveform_channels > 0 || requests_.spectrum_channels > 0;
  if (wants_render && model_.state() == PlayState::kPlaying) {
    synthesise_render_data(tones_[model_.current()], model_.position_ms(),
                           requests_.waveform_channels, requests_.spectrum_channels, render_data_);
    host_.render(&render_data_, static_cast<uint32_t>(now));
  }
  if (requests_.wants_idle) host_.idle();
  return next_idle_;
}

}  // namespace standin
