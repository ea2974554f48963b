#pragma once
// Host records for the handler's tests, written the way the host lays them out.
#include <cstring>
#include <string_view>

#include "state/host_records.h"

namespace sabla::test {

// Writes `text` as the host does: a length unit, then the characters.
inline void put_host_text(HostText& field, std::u16string_view text) {
  std::memset(&field, 0, sizeof field);
  const size_t length = text.size() < kHostTextMaxLength ? text.size() : kHostTextMaxLength;
  field.length = static_cast<char16_t>(length);
  std::memcpy(field.text, text.data(), length * sizeof(char16_t));
}

inline TrackRecord make_track(std::u16string_view name, std::u16string_view artist,
                              std::u16string_view album, uint32_t identity_a = 1,
                              uint32_t identity_b = 2) {
  TrackRecord track{};
  put_host_text(track.name, name);
  put_host_text(track.artist, artist);
  put_host_text(track.album, album);
  track.identity_a = identity_a;
  track.identity_b = identity_b;
  track.total_time_ms = 240000;
  return track;
}

inline PlayMessage play_message(const TrackRecord* track) {
  PlayMessage play{};
  play.has_track = track != nullptr;
  play.track = track;
  return play;
}

inline ChangeTrackMessage change_track_message(const TrackRecord* track) {
  ChangeTrackMessage change{};
  change.has_track = track != nullptr;
  change.track = track;
  return change;
}

}  // namespace sabla::test
