#pragma once
// A track the stand-in pretends to play, read from a small key=value text file:
//   # comment
//   title = ...        artist = ...        album = ...
//   length_ms = 184000
//   lyrics = file beside the description     artwork = file beside the description
// UTF-8, an optional byte-order mark, one key per line, spaces around '=' ignored.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

inline constexpr uint32_t kMaxTrackLengthMs = 24u * 60 * 60 * 1000;
inline constexpr size_t kMaxDescriptionBytes = 64 * 1024;

struct TrackDescription {
  std::string title;
  std::string artist;
  std::string album;
  uint32_t length_ms = 0;
  std::string lyrics;   // as written: relative to the description's folder
  std::string artwork;  // likewise
};

struct ParsedTrack {
  TrackDescription track;
  std::vector<std::string> problems;  // "line 3: ..." each; empty when the text is usable

  bool ok() const { return problems.empty(); }
};

ParsedTrack parse_track_description(std::string_view text);

// Reads the whole file when it is at most `limit` bytes; nothing when it cannot be read or is
// larger.
std::optional<std::string> read_small_file(const std::filesystem::path& path, size_t limit);

// `relative` taken from the folder that holds `description`; empty stays empty.
std::filesystem::path beside(const std::filesystem::path& description, std::string_view relative);

}  // namespace standin
