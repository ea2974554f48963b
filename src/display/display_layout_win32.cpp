#include "display/display_layout_win32.h"

#include <memory>

#include "display/gdi_text_measurer_win32.h"
#include "lyrics/lyric_document.h"

namespace sabla {

void place_display_items(Settings& settings, const DrawingArea& area, HDC dc) {
  for (const auto& item : settings.items) {
    if (item) item->place(area.width, area.height);
  }
  LyricDocument* lyrics = as_lyric_document(settings.items[kLyricsItem].get());
  if (!lyrics) return;
  // The design tab changes the row height in the settings; the panel follows here. A height
  // below one pixel is no height: the panel keeps the one it has.
  if (settings.song_return_size >= 1) lyrics->set_line_spacing(settings.song_return_size);
  lyrics->count_rows();
  if (dc) lyrics->set_measurer(std::make_unique<GdiTextMeasurer>(dc, lyrics->font));
  lyrics->measure_lines();
}

}  // namespace sabla
