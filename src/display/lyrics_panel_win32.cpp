#include "display/lyrics_panel_win32.h"

#include <string>
#include <string_view>

#include "display/gdi_select_win32.h"
#include "display/lyrics_panel_empty.h"
#include "display/lyrics_panel_style.h"
#include "state/plugin_state.h"
#include "state/window_drawing_win32.h"

namespace sabla {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

// Lyrics are drawn from the top left, cut at the rectangle's edges, the same way they were
// measured. DT_NOPREFIX: an '&' in a lyric ("You & Me") is text, not a mnemonic underline.
void draw_text(HDC dc, std::u16string_view text, const Rect& where, UINT flags = DT_NOPREFIX) {
  RECT r{where.left, where.top, where.right, where.bottom};
  DrawTextW(dc, text.empty() ? L"" : reinterpret_cast<const wchar_t*>(text.data()),
            static_cast<int>(text.size()), &r, flags);
}

void draw_edit_columns(PluginState& state, HDC dc, const LyricDocument& panel, int32_t k,
                       const LyricLine& line) {
  const ShownTag tag = shown_tag(line, state.settings.input_timetag_digit);
  const LineSlot& slot = panel.slots()[static_cast<size_t>(k)];
  const EditColumns columns = edit_columns(slot.text_rect, panel.marker_extent(), tag.extent);
  if (k == panel.cursor_slot()) {
    draw_text(dc, kCursorMarker.substr(0, kCursorMarkerDrawn), columns.marker);
  }
  draw_text(dc, tag.text, columns.tag);
}

void draw_lines(PluginState& state, HDC dc, LyricDocument& panel) {
  panel.layout(state.clock.play_time);
  const ScopedSelect font(dc, static_cast<HGDIOBJ>(panel.font.get()));
  SetBkColor(dc, state.settings.current_line_color);
  state.pointer.line_hovered = false;

  // Untimed lyrics move on their own, but no line of them is "being sung".
  const int32_t current = panel.untimed() ? -1 : panel.current_slot();
  const Point cursor = state.pointer.cursor_client;
  for (int32_t k = 0; k < panel.visible_slots(); ++k) {
    const LyricLine* line = panel.slot_line(k);
    // The last line may stand in the second-to-last row, leaving the rows after it empty.
    if (!line || panel.slots()[static_cast<size_t>(k)].line == panel.line_count()) break;

    const bool hovered = panel.hit_test(k, cursor.x, cursor.y);
    if (hovered) {
      state.pointer.line_hovered = true;
      state.pointer.hovered_line = k + panel.first_visible();
    }
    const SlotStyle style = slot_style(k == current, hovered, panel.color, state.settings);
    SetBkMode(dc, style.opaque ? OPAQUE : TRANSPARENT);
    SetTextColor(dc, style.text_color);

    if (panel.edit_mode()) draw_edit_columns(state, dc, panel, k, *line);
    draw_text(dc, panel.slot_text(k), panel.slots()[static_cast<size_t>(k)].text_rect);
    SetBkMode(dc, TRANSPARENT);
  }
}

void draw_hint(PluginState& state, HDC dc, const LyricDocument& panel) {
  const WindowDrawing* drawing = window_drawing(state);
  const ScopedSelect font(dc, drawing ? static_cast<HGDIOBJ>(drawing->info_font.get()) : nullptr);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, state.settings.info_font_color);
  draw_text(dc, no_lyrics_hint(state), panel.rect, panel.draw_flags);
}

}  // namespace

void draw_lyrics_panel(PluginState& state, HDC dc, LyricDocument& panel) {
  const bool shown = dc && panel.draw_order >= 0;
  if (shown && panel.line_count() > 0) {
    draw_lines(state, dc, panel);
    return;
  }
  // No line is on screen, so none may stay marked for a click from an earlier frame.
  state.pointer.line_hovered = false;
  if (panel.line_count() > 0) return;
  check_lyrics_while_empty(state);
  if (shown && hint_due(state)) draw_hint(state, dc, panel);
}

}  // namespace sabla
