#include "track_description.h"

#include <algorithm>
#include <charconv>
#include <fstream>

namespace standin {

namespace {

std::string_view trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool parse_length(std::string_view text, uint32_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  uint64_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || parsed == 0 || parsed > kMaxTrackLengthMs) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

}  // namespace

ParsedTrack parse_track_description(std::string_view text) {
  ParsedTrack result;
  TrackDescription& t = result.track;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

  std::vector<std::string> seen;
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
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      problem("no '=' in \"" + std::string(line) + "\"");
      continue;
    }
    const std::string key(trim(line.substr(0, equals)));
    const std::string_view value = trim(line.substr(equals + 1));
    std::string* field = nullptr;
    if (key == "title") field = &t.title;
    if (key == "artist") field = &t.artist;
    if (key == "album") field = &t.album;
    if (key == "lyrics") field = &t.lyrics;
    if (key == "artwork") field = &t.artwork;
    if (!field && key != "length_ms") {
      problem("unknown key \"" + key + "\"");
      continue;
    }
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
      problem("\"" + key + "\" is given twice");
      continue;
    }
    seen.push_back(key);
    if (field) {
      *field = value;
    } else if (!parse_length(value, t.length_ms)) {
      problem("length_ms wants a whole number of milliseconds from 1 to " +
              std::to_string(kMaxTrackLengthMs) + ", not \"" + std::string(value) + "\"");
    }
  }
  if (t.title.empty()) result.problems.push_back("no title");
  if (t.length_ms == 0) result.problems.push_back("no length_ms");
  return result;
}

std::optional<std::string> read_small_file(const std::filesystem::path& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(limit + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  const auto got = static_cast<size_t>(in.gcount());
  if (got > limit || in.bad()) return std::nullopt;
  bytes.resize(got);
  return bytes;
}

std::filesystem::path beside(const std::filesystem::path& description, std::string_view relative) {
  if (relative.empty()) return {};
  const std::filesystem::path path(std::u8string(relative.begin(), relative.end()));
  return path.is_absolute() ? path : description.parent_path() / path;
}

}  // namespace standin
