#pragma once
#include <windows.h>

#include <cstdint>

namespace sabla {

// The parameter dialogs of the batch timetag tools (templates 118, 119, 120 in `module`),
// shown modally over `owner`. Each returns true only when the user closed it with OK, the value
// then holding what was entered; invalid entries keep the dialog open, out-of-range ones put the
// nearest limit into its box.

// The shift in units of 10 ms, -1000..1000. Cancel (or a dialog that cannot open) sets 0.
bool ask_shift_units(HWND owner, HINSTANCE module, int32_t& units);

// The line width for the line breaks, unchecked: the tool ignores widths outside 1..252.
// Cancel sets 0.
bool ask_line_break_width(HWND owner, HINSTANCE module, int32_t& width);

// The scale factor, 0.0..2.0. Cancel leaves `factor` as it was.
bool ask_scale_factor(HWND owner, HINSTANCE module, float& factor);

}  // namespace sabla
