#include "display_text.h"

namespace standin {

std::string format_position(uint32_t ms) {
  const uint32_t seconds = ms / 1000;
  const uint32_t s = seconds % 60;
  return std::to_string(seconds / 60) + ":" + (s < 10 ? "0" : "") + std::to_string(s);
}

std::string track_summary(const PlaylistTrack& track) {
  std::string text = track.title;
  if (!track.artist.empty()) text = track.artist + " - " + text;
  return text + "  (" + format_position(track.length_ms) + ")";
}

}  // namespace standin
