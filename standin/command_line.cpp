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
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string* target = nullptr;
    if (arg == "--plugin") target = &o.plugin_path;
    if (arg == "--screenshot") target = &o.screenshot_path;
    if (arg == "--track") target = &o.track_path;
    const bool takes_value = target || arg == "--size";

    if (arg == "--headless") {
      o.headless = true;
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
      if ((target && !target->empty()) || (!target && size_seen)) {
        result.error = arg + " is given twice";
        return result;
      }
      if (target) {
        *target = value;
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
  return "usage: standin.exe [--plugin PATH] [--screenshot OUT.png] [--size WxH]\n"
         "                   [--track TRACK.txt] [--headless]\n"
         "  --plugin PATH        load this visual plug-in and register it\n"
         "  --screenshot FILE    save the window's client area as PNG, then exit\n"
         "  --size WxH           client area size (default 640x480)\n"
         "  --track FILE         track description (key=value text, see samples/)\n"
         "  --headless           no user interaction: exit once the work is done\n"
         "exit codes: 0 ok, 1 internal failure, 2 bad arguments, 3 plug-in not loadable,\n"
         "            4 plug-in without iTunesPluginMain, 5 registration failed,\n"
         "            6 screenshot failed, 7 track description unusable\n";
}

}  // namespace standin
