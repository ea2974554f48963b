#include "playlist.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace standin {

namespace {

std::string_view trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

// A whole decimal number from `min` to `max`, nothing else around it.
template <typename T>
bool parse_number(std::string_view text, int64_t min, int64_t max, T& value) {
  if (text.empty()) return false;
  int64_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (parsed < min || parsed > max) return false;
  value = static_cast<T>(parsed);
  return true;
}

// "N" or "N/M", each from 0 to `max`.
template <typename T>
bool parse_pair(std::string_view text, int64_t max, T& number, T& count) {
  const size_t slash = text.find('/');
  T n{};
  T c{};
  if (!parse_number(trim(text.substr(0, slash)), 0, max, n)) return false;
  if (slash != std::string_view::npos && !parse_number(trim(text.substr(slash + 1)), 0, max, c)) {
    return false;
  }
  number = n;
  count = c;
  return true;
}

bool parse_ids(std::string_view text, TrackIds& ids) {
  int32_t numbers[4] = {};
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  for (int32_t& number : numbers) {
    text = trim(text);
    const size_t end = text.find_first_of(" \t");
    if (!parse_number(text.substr(0, end), kMin, kMax, number)) return false;
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
  }
  if (!trim(text).empty()) return false;
  ids = {numbers[0], numbers[1], numbers[2], numbers[3]};
  return true;
}

std::string* text_field(PlaylistTrack& t, std::string_view key) {
  if (key == "title") return &t.title;
  if (key == "artist") return &t.artist;
  if (key == "album") return &t.album;
  if (key == "genre") return &t.genre;
  if (key == "kind") return &t.kind;
  if (key == "composer") return &t.composer;
  if (key == "comments") return &t.comments;
  if (key == "equalizer") return &t.equalizer;
  if (key == "location") return &t.location;
  if (key == "lyrics") return &t.lyrics;
  if (key == "artwork") return &t.artwork;
  return nullptr;
}

// Sets a number field; the error names what the key wants, empty for an unknown key.
bool set_number_field(PlaylistTrack& t, std::string_view key, std::string_view value,
                      std::string& wants) {
  const int64_t max_ms = kMaxTrackLengthMs;
  if (key == "length_ms") {
    wants = "a whole number of milliseconds from 1 to " + std::to_string(max_ms);
    return parse_number(value, 1, max_ms, t.length_ms);
  }
  if (key == "start_ms" || key == "stop_ms") {
    wants = "a whole number of milliseconds from 0 to " + std::to_string(max_ms);
    return parse_number(value, 0, max_ms, key == "start_ms" ? t.start_ms : t.stop_ms);
  }
  if (key == "rating") {
    wants = "a whole number from 0 to 100";
    return parse_number(value, 0, 100, t.rating);
  }
  if (key == "year") {
    wants = "a year from 0 to 9999";
    return parse_number(value, 0, 9999, t.year);
  }
  if (key == "track") {
    wants = "N or N/COUNT, each from 0 to 65535";
    return parse_pair(value, 65535, t.track_number, t.track_count);
  }
  if (key == "disc") {
    wants = "N or N/COUNT, each from 0 to 65535";
    return parse_pair(value, 65535, t.disc_number, t.disc_count);
  }
  if (key == "ids") {
    wants = "four whole 32-bit numbers: source, playlist, track and database id";
    return parse_ids(value, t.ids);
  }
  wants.clear();
  return false;
}

struct Block {
  PlaylistTrack track;
  size_t first_line = 0;
  std::vector<std::string> keys;
  bool ids_given = false;
};

void check_block(const Block& block, size_t number, std::vector<std::string>& problems) {
  const PlaylistTrack& t = block.track;
  auto problem = [&](const std::string& what) {
    problems.push_back("track " + std::to_string(number) + " (line " +
                       std::to_string(block.first_line) + "): " + what);
  };
  if (t.title.empty()) problem("no title");
  if (t.length_ms == 0) problem("no length_ms");
  if (t.start_ms > t.length_ms) problem("start_ms is past the end of the track");
  if (t.stop_ms > t.length_ms) problem("stop_ms is past the end of the track");
  if (t.stop_ms != 0 && t.stop_ms <= t.start_ms) problem("stop_ms is not after start_ms");
}

}  // namespace

ParsedPlaylist parse_playlist(std::string_view text) {
  ParsedPlaylist result;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

  std::vector<Block> blocks;
  size_t line_number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = trim(line);
    if (line.empty() || line.front() == '#') continue;

    auto problem = [&](const std::string& what) {
      result.problems.push_back("line " + std::to_string(line_number) + ": " + what);
    };
    if (line == "[track]") {
      blocks.push_back({});
      blocks.back().first_line = line_number;
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      problem("neither \"[track]\" nor \"key = value\": \"" + std::string(line) + "\"");
      continue;
    }
    if (blocks.empty()) {
      blocks.push_back({});
      blocks.back().first_line = line_number;
    }
    Block& block = blocks.back();
    const std::string key(trim(line.substr(0, equals)));
    const std::string_view value = trim(line.substr(equals + 1));
    if (std::find(block.keys.begin(), block.keys.end(), key) != block.keys.end()) {
      problem("\"" + key + "\" is given twice for one track");
      continue;
    }
    if (std::string* field = text_field(block.track, key)) {
      *field = value;
    } else if (std::string wants; !set_number_field(block.track, key, value, wants)) {
      problem(wants.empty() ? "unknown key \"" + key + "\""
                            : key + " wants " + wants + ", not \"" + std::string(value) + "\"");
      continue;
    }
    block.keys.push_back(key);
    if (key == "ids") block.ids_given = true;
  }

  if (blocks.empty()) result.problems.push_back("no tracks");
  if (blocks.size() > kMaxPlaylistTracks) {
    result.problems.push_back("more than " + std::to_string(kMaxPlaylistTracks) + " tracks");
    return result;
  }
  for (size_t i = 0; i < blocks.size(); ++i) {
    Block& block = blocks[i];
    const auto position = static_cast<int32_t>(i + 1);
    if (!block.ids_given) block.track.ids = {1, 1, position, 1000 + position};
    check_block(block, i + 1, result.problems);
    for (size_t j = 0; j < i; ++j) {
      if (blocks[j].track.ids == block.track.ids) {
        result.problems.push_back("track " + std::to_string(i + 1) + " has the ids of track " +
                                  std::to_string(j + 1));
      }
    }
    result.tracks.push_back(std::move(block.track));
  }
  return result;
}

}  // namespace standin
