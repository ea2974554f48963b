#include "player_model.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace standin {

uint64_t steady_clock_ms() {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

PlayerModel::PlayerModel(std::vector<PlaylistTrack> tracks, Clock clock)
    : tracks_(std::move(tracks)), lyrics_(tracks_.size()), clock_(std::move(clock)) {
  if (!tracks_.empty()) select(0);
}

void PlayerModel::anchor(uint32_t position_ms) {
  anchor_position_ = std::min(position_ms, end_ms());
  anchor_time_ = clock_();
}

void PlayerModel::select(size_t index) {
  current_ = index;
  state_ = PlayState::kStopped;
  anchor(tracks_[index].start_ms);
}

void PlayerModel::start_playing() {
  const uint32_t position = position_ms();
  // Playing a track that has played to its end starts it again.
  anchor(position >= end_ms() ? tracks_[current_].start_ms : position);
  state_ = PlayState::kPlaying;
}

void PlayerModel::emit(PlayerEvent::Kind kind, uint32_t position_ms) {
  events_.push_back({kind, current_, position_ms});
}

bool PlayerModel::play() {
  if (tracks_.empty() || state_ == PlayState::kPlaying) return false;
  start_playing();
  emit(PlayerEvent::Kind::kPlay);
  return true;
}

bool PlayerModel::pause() {
  if (state_ != PlayState::kPlaying) return false;
  anchor(position_ms());
  state_ = PlayState::kPaused;
  emit(PlayerEvent::Kind::kPause);
  return true;
}

bool PlayerModel::resume() {
  if (state_ != PlayState::kPaused) return false;
  start_playing();
  emit(PlayerEvent::Kind::kUnpause);
  return true;
}

bool PlayerModel::stop() {
  if (state_ == PlayState::kStopped) return false;
  select(current_);
  emit(PlayerEvent::Kind::kStop);
  return true;
}

bool PlayerModel::seek(uint32_t position_ms) {
  if (tracks_.empty()) return false;
  anchor(position_ms);
  emit(PlayerEvent::Kind::kSetPosition, anchor_position_);
  return true;
}

bool PlayerModel::next() {
  if (tracks_.empty()) return false;
  const bool was_playing = state_ == PlayState::kPlaying;
  const bool last = current_ + 1 == tracks_.size();
  select(last ? 0 : current_ + 1);
  if (!was_playing) return true;
  if (last) {
    emit(PlayerEvent::Kind::kStop);
  } else {
    start_playing();
    emit(PlayerEvent::Kind::kChangeTrack);
  }
  return true;
}

bool PlayerModel::previous() {
  if (tracks_.empty()) return false;
  const bool was_playing = state_ == PlayState::kPlaying;
  if (current_ == 0 && was_playing) return seek(tracks_[0].start_ms);
  select(current_ == 0 ? 0 : current_ - 1);
  if (was_playing) {
    start_playing();
    emit(PlayerEvent::Kind::kChangeTrack);
  }
  return true;
}

bool PlayerModel::fast_forward() {
  if (tracks_.empty()) return false;
  return seek(position_ms() + kSkipMs);
}

bool PlayerModel::rewind() {
  if (tracks_.empty()) return false;
  const uint32_t position = position_ms();
  return seek(position > kSkipMs ? position - kSkipMs : 0);
}

void PlayerModel::update() {
  if (state_ == PlayState::kPlaying && position_ms() >= end_ms()) next();
}

uint32_t PlayerModel::position_ms() const {
  if (tracks_.empty()) return 0;
  if (state_ != PlayState::kPlaying) return anchor_position_;
  const uint64_t now = clock_();
  const uint64_t elapsed = now > anchor_time_ ? now - anchor_time_ : 0;
  return static_cast<uint32_t>(std::min<uint64_t>(anchor_position_ + elapsed, end_ms()));
}

std::optional<size_t> PlayerModel::find(const TrackIds& ids) const {
  for (size_t i = 0; i < tracks_.size(); ++i) {
    if (tracks_[i].ids == ids) return i;
  }
  return std::nullopt;
}

std::vector<PlayerEvent> PlayerModel::take_events() { return std::exchange(events_, {}); }

}  // namespace standin
