#pragma once
#include <cstddef>

namespace standin {

// GDI objects alive in this process, plug-in's included. Windows answers through
// GetGuiResources; Wine answers 0 there, so the handle table is walked instead.
int live_gdi_objects();

// Memory this process has committed for itself (its private bytes); 0 when it cannot be read.
size_t private_bytes();

}  // namespace standin
