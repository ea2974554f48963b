#include "state/window_drawing_win32.h"

// WIN32_LEAN_AND_MEAN leaves out the COM declarations GDI+ builds on.
#include <objidl.h>
// Keep after objidl.h.
#include <gdiplus.h>

#include <memory>

namespace sabla {
namespace {

void destroy_window_drawing(WindowDrawing* drawing) { delete drawing; }

bool stretches_halftone(MemoryDcRole role) {
  return role == MemoryDcRole::kFeedback || role == MemoryDcRole::kCanvas ||
         role == MemoryDcRole::kArtworkCache;
}

}  // namespace

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

WindowDrawingOwner open_window_drawing(HWND window) {
  // GetDC of no window would hand out the whole screen.
  if (!window || !IsWindow(window)) return WindowDrawingOwner(nullptr, {&destroy_window_drawing});
  auto drawing = std::make_unique<WindowDrawing>();
  drawing->window = window;
  drawing->window_dc = WindowDc(window);
  if (!drawing->window_dc.get()) return WindowDrawingOwner(nullptr, {&destroy_window_drawing});
  for (size_t i = 0; i < kMemoryDcCount; ++i) {
    MemoryDc& dc = drawing->memory_dcs[i];
    dc = MemoryDc(drawing->window_dc.get());
    if (!dc.get()) return WindowDrawingOwner(nullptr, {&destroy_window_drawing});
    if (stretches_halftone(static_cast<MemoryDcRole>(i))) {
      SetStretchBltMode(dc.get(), HALFTONE);
      SetBrushOrgEx(dc.get(), 0, 0, nullptr);
    }
  }
  return WindowDrawingOwner(drawing.release(), {&destroy_window_drawing});
}

HDC window_dc(const PluginState& state) {
  return state.window.drawing ? state.window.drawing->window_dc.get() : nullptr;
}

WindowDrawing* window_drawing(PluginState& state) { return state.window.drawing.get(); }

HDC memory_dc(const PluginState& state, MemoryDcRole role) {
  const auto index = static_cast<size_t>(role);
  if (!state.window.drawing || index >= kMemoryDcCount) return nullptr;
  return state.window.drawing->memory_dcs[index].get();
}

}  // namespace sabla
