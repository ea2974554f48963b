#pragma once

namespace standin {

// GDI objects alive in this process, plug-in's included. Windows answers through
// GetGuiResources; Wine answers 0 there, so the handle table is walked instead.
int live_gdi_objects();

}  // namespace standin
