#pragma once
// Playing positions and tracks as the transport bar, the visualizer area and the log show them.
#include <cstdint>
#include <string>

#include "playlist.h"

namespace standin {

// "m:ss", minutes unbounded.
std::string format_position(uint32_t ms);

// "Artist - Title  (m:ss)", or the title alone without an artist.
std::string track_summary(const PlaylistTrack& track);

}  // namespace standin
