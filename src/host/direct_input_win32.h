#pragma once
#include <windows.h>

#include <memory>

#include "state/wheel_input.h"

namespace sabla {

// The system mouse through DirectInput 8, set up for reading the wheel from a buffered queue
// without taking the mouse from anyone: the extended mouse format, non-exclusive and in the
// background for `window`, room for 1000 events. Null when any step fails, in which case the
// plug-in goes without wheel scrolling.
std::unique_ptr<MouseDevice> open_system_mouse(HWND window);

// The wheel over the system mouse, for `window` (the top-level window the visualizer sits in).
bool open_wheel(WheelInput& wheel, HWND window);

}  // namespace sabla
