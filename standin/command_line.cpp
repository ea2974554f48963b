#include "command_line.h"

#include <charconv>
#include <string_view>

namespace standin {

namespace {

bool parse_side(std::string_view text, int min, int& value) {
  if (text.empty() || text.size() > 5) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  int parsed = 0;
  std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (parsed < min || parsed > kMaxSide) return false;
  value = parsed;
  return true;
}

bool parse_host_version(std::string_view text, int& version) {
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != text.npos) {
    return false;
  }
  int parsed = 0;
  std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (parsed < kMinHostVersion || parsed > kMaxHostVersion) return false;
  version = parsed;
  return true;
}

}  // namespace

bool parse_size(const std::string& text, int& width, int& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  const std::string_view all(text);
  int w = 0;
  int h = 0;
  if (!parse_side(all.substr(0, x), kMinWidth, w) ||
      !parse_side(all.substr(x + 1), kMinHeight, h)) {
    return false;
  }
  width = w;
  height = h;
  return true;
}

ParsedCommandLine parse_command_line(const std::vector<std::string>& args) {
  ParsedCommandLine result;
  Options& o = result.options;
  bool size_seen = false;
  bool version_seen = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string* target = nullptr;
    if (arg == "--plugin") target = &o.plugin_path;
    if (arg == "--screenshot") target = &o.screenshot_path;
    if (arg == "--playlist") target = &o.playlist_path;
    if (arg == "--scenario") target = &o.scenario_path;
    const bool is_size = arg == "--size";
    const bool is_version = arg == "--host-version";
    const bool takes_value = target || is_size || is_version;

    if (arg == "--headless") {
      o.headless = true;
    } else if (arg == "--busy") {
      o.busy = true;
    } else if (arg == "--verbose") {
      o.verbose = true;
    } else if (arg == "--help" || arg == "-h" || arg == "/?") {
      o.help = true;
    } else if (!takes_value) {
      result.error = "unknown argument \"" + arg + "\"";
      return result;
    } else if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].starts_with("--")) {
      result.error = arg + " needs a value";
      return result;
    } else {
      const std::string& value = args[++i];
      if ((target && !target->empty()) || (is_size && size_seen) || (is_version && version_seen)) {
        result.error = arg + " is given twice";
        return result;
      }
      if (target) {
        *target = value;
      } else if (is_version) {
        if (!parse_host_version(value, o.host_version)) {
          result.error = "--host-version wants a whole number from " +
                         std::to_string(kMinHostVersion) + " to " +
                         std::to_string(kMaxHostVersion) + ", not \"" + value + "\"";
          return result;
        }
        version_seen = true;
      } else if (!parse_size(value, o.width, o.height)) {
        result.error = "--size wants WxH with W from " + std::to_string(kMinWidth) +
                       " and H from " + std::to_string(kMinHeight) + " up to " +
                       std::to_string(kMaxSide) + ", not \"" + value + "\"";
        return result;
      } else {
        size_seen = true;
      }
    }
  }
  return result;
}

std::string usage_text() {
  return "usage: standin.exe [--plugin PATH] [--playlist FILE] [--scenario FILE]\n"
         "                   [--screenshot OUT.png] [--size WxH] [--host-version N]\n"
         "                   [--busy] [--verbose] [--headless]\n"
         "  --plugin PATH        load this visual plug-in and register it\n"
         "  --playlist FILE      the tracks to play (see samples/playlist.txt)\n"
         "  --scenario FILE      run these steps, then exit (see standin/README.md)\n"
         "  --screenshot FILE    without a scenario: save the window as PNG, then exit\n"
         "  --size WxH           client area size (default 640x480)\n"
         "  --host-version N     the player's major version to report (default 7)\n"
         "  --busy               start with the player's modal window open\n"
         "  --verbose            report every idle and render message\n"
         "  --headless           no user interaction: exit once the work is done\n"
         "exit codes: 0 ok, 1 internal failure, 2 bad arguments, 3 plug-in not loadable,\n"
         "            4 plug-in without iTunesPluginMain, 5 registration failed,\n"
         "            6 screenshot or capture failed, 7 playlist unusable,\n"
         "            8 scenario unusable, 9 a scenario's copy or delete failed\n";
}

}  // namespace standin
