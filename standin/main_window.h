#pragma once
// The stand-in's top-level window: the visualizer area above, the transport bar below.
#include <windows.h>

#include <functional>
#include <string>

#include "transport_bar.h"
#include "transport_clock.h"
#include "visualizer_view.h"
#include "win32_handles.h"

namespace standin {

class MainWindow {
 public:
  static bool register_class(HINSTANCE instance);

  MainWindow() = default;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window, hidden, with a client area of `width` x `height`.
  bool create(HINSTANCE instance, const std::wstring& title, int width, int height);
  // Shows the window and calls `on_settled` once it and its children have painted.
  void show(int show_command, std::function<void()> on_settled);
  void set_track(uint32_t length_ms);
  void set_visualizer_lines(std::wstring first, std::wstring second);
  // Ends the message loop: the window goes and the loop sees WM_QUIT.
  void close();

  HWND window() const { return window_.get(); }
  HWND visualizer() const { return visualizer_.window(); }

  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void layout() const;
  void on_command(int id);
  void refresh_transport();

  UniqueWindow window_;
  VisualizerView visualizer_;
  TransportBar transport_;
  TransportClock clock_;
  std::function<void()> on_settled_;
};

}  // namespace standin
