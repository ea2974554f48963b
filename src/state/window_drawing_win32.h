#pragma once
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "state/gdi_handles_win32.h"
#include "state/plugin_state.h"

namespace sabla {

// GDI+ from startup to shutdown; no token when startup failed.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  ULONG_PTR token() const { return token_; }

 private:
  ULONG_PTR token_ = 0;
};

// The memory device contexts of the frame renderer, by what is drawn in them.
enum class MemoryDcRole : size_t {
  kFrame,         // the whole frame, copied to the window
  kFeedback,      // the previous visualizer picture, shrunk
  kCanvas,        // the visualizer picture being drawn
  kArtwork,       // the artwork at its own size
  kArtworkCache,  // the artwork at the size it is shown
};
inline constexpr size_t kMemoryDcCount = 5;

// The pixels of a DIB section the program draws into itself: valid while `bitmap` is the
// surface it was taken from. Rows are `stride` pixels apart, the top row first.
struct SurfacePixels {
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;
};

// What the visualizer window lends the plug-in from "show" to "hide". Members go in reverse
// order: the information font and the surface bitmaps (deselected first), the memory contexts,
// then the window's context, then GDI+.
struct WindowDrawing {
  GdiplusSession gdiplus;
  HWND window = nullptr;
  WindowDc window_dc;
  std::array<MemoryDc, kMemoryDcCount> memory_dcs;
  // The bitmap in each memory context, by MemoryDcRole: the frame renderer makes the first
  // three, the song-change pipeline the two artwork bitmaps.
  std::array<SurfaceBitmap, kMemoryDcCount> surfaces;
  // The pixels of the frame, feedback and canvas surfaces, which the renderer writes itself.
  std::array<SurfacePixels, kMemoryDcCount> pixels{};
  GdiFont info_font;
  // What the frame renderer keeps from frame to frame for these surfaces (its scaling maps, the
  // lyric lines drawn once); only the display layer knows its type. It goes first.
  std::shared_ptr<void> frame_cache;
};

// The drawing resources while the window is shown; null otherwise.
WindowDrawing* window_drawing(PluginState& state);

// GDI+, the window's device context and the five memory contexts (halftone stretching on the
// feedback, canvas and artwork cache contexts). Null when `window` is no window or GDI refuses
// a context; nothing is left behind then.
WindowDrawingOwner open_window_drawing(HWND window);

// The window's device context and a memory context while the window is shown; null otherwise.
HDC window_dc(const PluginState& state);
HDC memory_dc(const PluginState& state, MemoryDcRole role);

}  // namespace sabla
