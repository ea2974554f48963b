#include "display/lyrics_panel_win32.h"

#include <string>
#include <string_view>

#include "display/gdi_select_win32.h"
#include "display/lyric_lines_cache_win32.h"
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

void plan_edit_columns(PluginState& state, const LyricDocument& panel, int32_t k,
                       const LyricLine& line, SlotDraw& slot_draw) {
  const ShownTag tag = shown_tag(line, state.settings.input_timetag_digit);
  const LineSlot& slot = panel.slots()[static_cast<size_t>(k)];
  const EditColumns columns = edit_columns(slot.text_rect, panel.marker_extent(), tag.extent);
  if (k == panel.cursor_slot()) {
    slot_draw.texts.push_back(
        TextDraw{std::u16string(kCursorMarker.substr(0, kCursorMarkerDrawn)), columns.marker});
  }
  slot_draw.texts.push_back(TextDraw{std::u16string(tag.text), columns.tag});
}

// What the rows show this frame, and which of them is under the mouse.
PanelDraw plan_lines(PluginState& state, LyricDocument& panel) {
  panel.layout(state.clock.play_time);
  PanelDraw plan;
  plan.bar_color = state.settings.current_line_color;
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
    SlotDraw& slot = plan.slots.emplace_back();
    slot.text_color = style.text_color;
    slot.opaque = style.opaque;
    if (panel.edit_mode()) plan_edit_columns(state, panel, k, *line, slot);
    slot.texts.push_back(TextDraw{std::u16string(panel.slot_text(k)),
                                  panel.slots()[static_cast<size_t>(k)].text_rect});
  }
  return plan;
}

// The context as drawing the lines leaves it, whichever way they were drawn: the bar colour as
// background colour, the last row's text colour, transparent text.
void leave_context(HDC dc, const PanelDraw& lines) {
  SetBkColor(dc, lines.bar_color);
  if (!lines.slots.empty()) SetTextColor(dc, lines.slots.back().text_color);
  SetBkMode(dc, TRANSPARENT);
}

void draw_lines(PluginState& state, HDC dc, LyricDocument& panel, LyricLinesCache* cache,
                const Pixels& frame) {
  const PanelDraw lines = plan_lines(state, panel);
  const auto font = static_cast<HFONT>(panel.font.get());
  if (!cache || !frame || !cache->draw(dc, frame, font, lines)) {
    draw_panel_texts(dc, font, lines, 0, 0);
  }
  leave_context(dc, lines);
}

void draw_hint(PluginState& state, HDC dc, const LyricDocument& panel) {
  const WindowDrawing* drawing = window_drawing(state);
  const ScopedSelect font(dc, drawing ? static_cast<HGDIOBJ>(drawing->info_font.get()) : nullptr);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, state.settings.info_font_color);
  draw_text(dc, no_lyrics_hint(state), panel.rect, panel.draw_flags);
}

}  // namespace

void draw_panel_texts(HDC dc, HFONT font, const PanelDraw& lines, int32_t dx, int32_t dy) {
  const ScopedSelect font_in(dc, static_cast<HGDIOBJ>(font));
  SetBkColor(dc, lines.bar_color);
  for (const SlotDraw& slot : lines.slots) {
    SetBkMode(dc, slot.opaque ? OPAQUE : TRANSPARENT);
    SetTextColor(dc, slot.text_color);
    for (const TextDraw& text : slot.texts) {
      const Rect& r = text.rect;
      draw_text(dc, text.text, Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
    }
    SetBkMode(dc, TRANSPARENT);
  }
}

void draw_lyrics_panel(PluginState& state, HDC dc, LyricDocument& panel, LyricLinesCache* cache,
                       const Pixels& frame) {
  const bool shown = dc && panel.draw_order >= 0;
  if (shown && panel.line_count() > 0) {
    draw_lines(state, dc, panel, cache, frame);
    return;
  }
  // No line is on screen, so none may stay marked for a click from an earlier frame.
  state.pointer.line_hovered = false;
  if (panel.line_count() > 0) return;
  check_lyrics_while_empty(state);
  if (shown && hint_due(state)) draw_hint(state, dc, panel);
}

}  // namespace sabla
