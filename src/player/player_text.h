#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace sabla {

// `text` cut to what a buffer of `buffer_units` UTF-16 units (terminator included) holds.
std::u16string fit_to_buffer(std::u16string_view text, size_t buffer_units);

// Whether a track location names a stream rather than a file: it begins with "http:" in any
// letter case.
bool is_stream_location(std::u16string_view location);

// The text the player stores inside a song: the lyrics as the editor holds them (cut to the
// lyric buffer) with the timetags taken out and the '@' lines emptied, since players show the
// stored lyrics as plain text.
std::u16string lyrics_for_player(std::u16string_view lyrics);

}  // namespace sabla
