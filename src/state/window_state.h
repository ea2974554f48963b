#pragma once
#include <cstdint>
#include <memory>

#include "lyrics/rect.h"

namespace sabla {

struct Point {
  int32_t x = 0;
  int32_t y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

// Where the plug-in draws inside the visualizer window; x and y are always 0.
struct DrawingArea {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;

  friend bool operator==(const DrawingArea&, const DrawingArea&) = default;
};

// The window's device contexts and GDI+, alive from "show" to "hide". Only the Win32 layer
// knows what is inside; it hands the record over with the function that frees it.
struct WindowDrawing;
struct WindowDrawingDeleter {
  void (*destroy)(WindowDrawing*) = nullptr;
  void operator()(WindowDrawing* drawing) const {
    if (destroy) destroy(drawing);
  }
};
using WindowDrawingOwner = std::unique_ptr<WindowDrawing, WindowDrawingDeleter>;

// The visualizer window as the handler keeps it.
struct WindowState {
  bool visible = false;         // between "show" and "hide"
  void* host_window = nullptr;  // the visualizer window's handle
  Rect window_rect;             // in screen coordinates, refreshed by every idle call
  DrawingArea drawing_area;
  bool window_changed = false;  // the size or the design changed; the next frame starts afresh
  WindowDrawingOwner drawing;
};

// The mouse over the visualizer: where it is, and the lyric line under it.
struct PointerState {
  Point cursor_screen;
  Point cursor_client;
  int32_t hovered_line = 0;
  bool line_hovered = false;  // the mouse is over a timed line
};

}  // namespace sabla
