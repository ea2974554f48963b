#pragma once
#include <windows.h>

#include <optional>
#include <string_view>

#include "state/window_drawing_win32.h"
#include "sources/song_change.h"

namespace sabla {

struct DisplayItem;

// Loads the image file at `path` with GDI+ and renders it twice: at its own size into the
// artwork surface, and stretched to the size `item` shows it at into the artwork cache. Nothing,
// with both surfaces empty, when the file cannot be loaded or the image has no pixels.
std::optional<LoadedArtwork> render_artwork_file(WindowDrawing& drawing, std::wstring_view path,
                                                 const DisplayItem& item);

// Frees both artwork surfaces.
void release_artwork(WindowDrawing& drawing);

}  // namespace sabla
