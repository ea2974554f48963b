#pragma once
// The stand-in's top-level window: the visualizer area above, the transport bar below. What the
// user does with it goes to a listener; the window itself keeps no player state.
#include <windows.h>

#include <cstdint>
#include <string>

#include "transport_bar.h"
#include "visualizer_view.h"
#include "win32_handles.h"

namespace standin {

class WindowListener {
 public:
  virtual ~WindowListener() = default;
  virtual void on_play_pause() = 0;
  virtual void on_previous() = 0;
  virtual void on_next() = 0;
  virtual void on_seek(uint32_t position_ms) = 0;
  // The visualizer area changed size.
  virtual void on_visualizer_resized() = 0;
  // The visualizer area needs painting while the plug-in draws it.
  virtual void on_visualizer_exposed() = 0;
  // The user asked to close the window; it stays until close() is called.
  virtual void on_close_requested() = 0;
};

class MainWindow {
 public:
  static bool register_class(HINSTANCE instance);

  MainWindow() = default;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window, hidden, with a client area of `width` x `height`.
  bool create(HINSTANCE instance, const std::wstring& title, int width, int height,
              WindowListener& listener);
  void show(int show_command);
  // Gives the window a client area of `width` x `height`.
  void resize(int width, int height);
  void show_transport(uint32_t position_ms, uint32_t length_ms, bool playing, bool has_track);
  void set_visualizer_lines(std::wstring first, std::wstring second);
  void set_plugin_draws(bool draws) { visualizer_.set_plugin_draws(draws); }
  // Destroys the window; the message loop then sees WM_QUIT.
  void close();

  HWND window() const { return window_.get(); }
  HWND visualizer() const { return visualizer_.window(); }
  // The visualizer area in its own client coordinates.
  RECT visualizer_rect() const;

  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void layout() const;
  void on_command(int id);

  UniqueWindow window_;
  VisualizerView visualizer_;
  TransportBar transport_;
  WindowListener* listener_ = nullptr;
};

}  // namespace standin
