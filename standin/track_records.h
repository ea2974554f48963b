#pragma once
// The host's track and stream records for a playlist track, as the stand-in hands them to the
// plug-in with "vply" and "ctrk".
#include <string_view>

#include "state/host_records.h"
#include "playlist.h"

namespace standin {

// Writes `text` (UTF-8) into a host text: the length unit, then the characters. A text longer
// than the field is cut at 255 units, never between the two halves of a surrogate pair; the
// characters end with a zero unit whenever the field has room for one.
void write_host_text(sabla::HostText& field, std::string_view text);

// The file name part of a location: after its last '\' or '/'; empty for a web address.
std::string_view location_file_name(std::string_view location);

// Whether the location is a web address, as a stream's is.
bool is_stream_location(std::string_view location);

// Every field the plug-in reads, from the track; all other bytes zero. The location is the full
// path the player reports. Identity values A and B are the track and database ids.
void build_track_record(const PlaylistTrack& track, std::string_view location,
                        sabla::TrackRecord& record);

// A stream's title and address for a web location; otherwise only the header.
void build_stream_record(const PlaylistTrack& track, std::string_view location,
                         sabla::StreamRecord& record);

}  // namespace standin
