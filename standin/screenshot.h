#pragma once
// Capturing a window's client area as it is on screen (child windows and whatever a plug-in
// drew into them included) and saving it as PNG through GDI+.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct Capture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB

  size_t distinct_colours() const;
};

// Fills `capture` from the client area of `window`; false with `error` set when it fails.
bool capture_client(HWND window, Capture& capture, std::string& error);

// The same of the whole window, caption and frame included.
bool capture_whole_window(HWND window, Capture& capture, std::string& error);

// Writes `capture` to `path` as PNG; false with `error` set when it fails.
bool save_png(const Capture& capture, const std::wstring& path, std::string& error);

}  // namespace standin
