#pragma once
#include <array>
#include <string>
#include <string_view>

#include "state/host_records.h"
#include "state/song_info.h"
#include "player/player_bridge.h"
#include "settings/display_items.h"

namespace sabla {

// The texts of the information items 0 to 13, by item index; the counter (3) and the lyrics
// panel (4) are drawn from elsewhere and stay empty.
using InfoTexts = std::array<std::u16string, kTextItemCount>;

// A text of the host's record as the song record keeps it: up to its first zero unit, cut to
// `max_length` characters.
std::u16string record_text(const HostText& text, size_t max_length = kSongTextMax);

// Whether `track` is the song `song` was stored from: same title, artist and album texts and
// the same identity values.
bool is_same_song(const SongInfo& song, const TrackRecord& track);

// The artist as shown and searched: an artist whose second to fourth characters are " - "
// (a one-character sort prefix) is shown from its fifth character on.
std::u16string shown_artist(std::u16string_view artist);

// The part of `path` after its last '\' (empty when there is none), and the extension: the
// text from the last '.' of that name on, or empty.
std::u16string_view location_file_name(std::u16string_view path);
std::u16string_view location_extension(std::u16string_view path);

// Replaces `song` with what the host's record says about the track (everything the record
// holds; the player is not asked).
void store_track_record(SongInfo& song, const TrackRecord& track);

// Asks the player for the playing track's file and ids: `file_path` (empty when the player
// cannot say), `file_name` when the record had none, `player_track_ids`, `track_extension`.
void take_track_location(SongInfo& song, PlayerBridge& player, StatusMessage& status);

// Both of the above: the stored information of a new track.
void store_track_info(SongInfo& song, const TrackRecord& track, PlayerBridge& player,
                      StatusMessage& status);

// The texts of the year, rating, track and disc items.
std::u16string year_text(int32_t year);
std::u16string rating_text(int32_t rating);
std::u16string count_text(int32_t number, int32_t count);

// The texts of the information items for `song`.
void fill_info_items(InfoTexts& texts, const SongInfo& song);

}  // namespace sabla
