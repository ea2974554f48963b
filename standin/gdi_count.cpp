#include "gdi_count.h"

#include <windows.h>

#include <cstdint>

namespace standin {

int live_gdi_objects() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) return static_cast<int>(reported);
  // Wine takes a handle whose high word is 0 as the object at that index of its table.
  int count = 0;
  for (uintptr_t index = 1; index <= 0xFFFF; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
  }
  return count;
}

}  // namespace standin
