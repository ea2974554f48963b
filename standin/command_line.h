#pragma once
// The stand-in's command line, read from UTF-8 arguments.
#include <string>
#include <vector>

namespace standin {

// The client area of the main window: transport bar below, visualizer above.
inline constexpr int kDefaultWidth = 640;
inline constexpr int kDefaultHeight = 480;
inline constexpr int kMinWidth = 240;
inline constexpr int kMinHeight = 160;
inline constexpr int kMaxSide = 4096;

// The host versions the stand-in can pretend to be; the plug-in changes its ways at 5 and 7.
inline constexpr int kMinHostVersion = 1;
inline constexpr int kMaxHostVersion = 99;
inline constexpr int kDefaultHostVersion = 7;

struct Options {
  std::string plugin_path;      // empty: no plug-in
  std::string screenshot_path;  // empty: no screenshot
  std::string playlist_path;    // empty: nothing to play
  std::string scenario_path;    // empty: interactive, or a plain screenshot run
  int width = kDefaultWidth;
  int height = kDefaultHeight;
  int host_version = kDefaultHostVersion;
  bool busy = false;     // start with the player's modal window open
  bool verbose = false;  // report every idle message
  bool headless = false;
  bool help = false;
};

struct ParsedCommandLine {
  Options options;
  std::string error;  // empty when the arguments were understood

  bool ok() const { return error.empty(); }
};

// `args` are the arguments after the program name.
ParsedCommandLine parse_command_line(const std::vector<std::string>& args);

// Reads "WxH" with both sides within the limits above.
bool parse_size(const std::string& text, int& width, int& height);

std::string usage_text();

}  // namespace standin
