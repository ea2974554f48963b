#pragma once
// The visualizer area: the child window whose rectangle a plug-in draws into. While no plug-in
// draws, it shows what the stand-in knows about the track and the plug-in.
#include <windows.h>

#include <functional>
#include <string>

#include "win32_handles.h"

namespace standin {

class VisualizerView {
 public:
  // Registers the window class once per process; false when that fails.
  static bool register_class(HINSTANCE instance);

  VisualizerView() = default;
  VisualizerView(const VisualizerView&) = delete;
  VisualizerView& operator=(const VisualizerView&) = delete;

  // The window belongs to `parent`, which destroys it.
  bool create(HWND parent, HINSTANCE instance);
  HWND window() const { return window_; }
  void set_lines(std::wstring first, std::wstring second);
  // While the plug-in draws, painting leaves the pixels to it and only reports the exposure.
  void set_plugin_draws(bool draws);
  void on_exposed(std::function<void()> exposed) { exposed_ = std::move(exposed); }

  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void paint(HDC dc) const;

  HWND window_ = nullptr;  // owned by the parent window
  std::wstring first_line_;
  std::wstring second_line_;
  bool plugin_draws_ = false;
  std::function<void()> exposed_;
};

}  // namespace standin
