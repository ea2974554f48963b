#include "track_records.h"

#include <algorithm>
#include <cstring>

#include "text_codec.h"

namespace standin {

namespace {

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(a) == lower(b);
  });
}

}  // namespace

void write_host_text(sabla::HostText& field, std::string_view text) {
  std::memset(&field, 0, sizeof field);
  std::u16string units = utf16_from_utf8(text);
  if (units.size() > sabla::kHostTextMaxLength) {
    units.resize(sabla::kHostTextMaxLength);
    if (is_high_surrogate(units.back())) units.pop_back();
  }
  field.length = static_cast<char16_t>(units.size());
  std::copy(units.begin(), units.end(), field.text);
}

std::string_view location_file_name(std::string_view location) {
  if (is_stream_location(location)) return {};
  const size_t separator = location.find_last_of("\\/");
  return separator == std::string_view::npos ? location : location.substr(separator + 1);
}

bool is_stream_location(std::string_view location) {
  return starts_with_ignoring_case(location, "http:") ||
         starts_with_ignoring_case(location, "https:");
}

void build_track_record(const PlaylistTrack& track, std::string_view location,
                        sabla::TrackRecord& record) {
  std::memset(&record, 0, sizeof record);
  record.header[0] = sabla::kTrackRecordSize;
  write_host_text(record.name, track.title);
  write_host_text(record.file_name, location_file_name(location));
  write_host_text(record.artist, track.artist);
  write_host_text(record.album, track.album);
  write_host_text(record.genre, track.genre);
  write_host_text(record.kind, track.kind);
  write_host_text(record.equalizer_name, track.equalizer);
  write_host_text(record.comments, track.comments);
  write_host_text(record.composer, track.composer);
  record.track_number = track.track_number;
  record.track_count = track.track_count;
  record.year = track.year;
  record.total_time_ms = track.length_ms;
  record.start_time_ms = track.start_ms;
  record.stop_time_ms = track.stop_ms;
  record.rating = track.rating;
  record.disc_number = track.disc_number;
  record.disc_count = track.disc_count;
  record.identity_a = static_cast<uint32_t>(track.ids.track);
  record.identity_b = static_cast<uint32_t>(track.ids.database);
}

void build_stream_record(const PlaylistTrack& track, std::string_view location,
                         sabla::StreamRecord& record) {
  std::memset(&record, 0, sizeof record);
  record.header = sabla::kStreamRecordSize;
  if (!is_stream_location(location)) return;
  write_host_text(record.title, track.title);
  write_host_text(record.url, location);
}

}  // namespace standin
