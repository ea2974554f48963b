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

struct Options {
  std::string plugin_path;      // empty: no plug-in
  std::string screenshot_path;  // empty: no screenshot
  std::string track_path;       // empty: no track
  int width = kDefaultWidth;
  int height = kDefaultHeight;
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
