// A library that loads but is no visual plug-in: it exports something other than the entry.
#include <cstdint>

extern "C" __declspec(dllexport) int32_t NotThePluginEntry(uint32_t, void*) { return 0; }
