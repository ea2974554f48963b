#include "display/frame_overlay_win32.h"

#include <array>
#include <string_view>

#include "display/frame_overlay.h"
#include "display/gdi_select_win32.h"
#include "state/plugin_state.h"
#include "state/window_drawing_win32.h"
#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

const wchar_t* wide(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

void text_out(HDC dc, int32_t x, int32_t y, std::u16string_view text) {
  TextOutW(dc, x, y, wide(text), static_cast<int>(text.size()));
}

Size text_size(HDC dc, std::u16string_view text) {
  SIZE size{0, 0};
  if (!GetTextExtentPoint32W(dc, wide(text), static_cast<int>(text.size()), &size)) return {};
  return Size{size.cx, size.cy};
}

void draw_status(PluginState& state, HDC dc, int32_t option_width) {
  StatusMessage& status = state.status;
  if (status.frames <= 0) return;
  const Settings& s = state.settings;
  if (s.show_status[2] == 1) {
    const DrawingArea& area = state.window.drawing_area;
    const Rect place =
        status_rect(area.width, area.height, option_width, state.options.options_open);
    RECT r{place.left, place.top, place.right, place.bottom};
    SetTextColor(dc, s.message_font_color);
    DrawTextW(dc, wide(status.text), static_cast<int>(status.text.size()), &r,
              DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, s.info_font_color);
  }
  --status.frames;
}

void draw_search_links(PluginState& state, HDC dc) {
  const Settings& s = state.settings;
  std::array<Size, kSearchSlotCount> sizes{};
  for (size_t i = 0; i < sizes.size(); ++i) sizes[i] = text_size(dc, s.URL_name[i]);
  const int32_t line_top = state.window.drawing_area.height - kStatusLineHeight;
  const std::vector<Rect> links = search_link_rects(sizes, line_top);
  for (size_t i = 0; i < links.size(); ++i) {
    const bool hover = contains(links[i], state.pointer.cursor_client);
    SetTextColor(dc, hover ? s.mouse_on_font_color : s.info_font_color);
    text_out(dc, links[i].left, links[i].top, s.URL_name[i]);
    state.frame.search_link_marks[i] = hover;
  }
}

void draw_option_button(PluginState& state, HDC dc, Size text) {
  const Settings& s = state.settings;
  const DrawingArea& area = state.window.drawing_area;
  const Rect button = option_button_rect(area.width, area.height, text);
  const bool hover = contains(button, state.pointer.cursor_client);
  SetTextColor(dc, hover ? s.mouse_on_font_color : s.info_font_color);
  text_out(dc, button.left, button.top, kOptionButtonText);
  state.frame.option_button_request = hover;
}

// Full screen puts the window at the screen's corner; the links and the button stay off then.
void draw_links_and_button(PluginState& state, HDC dc, const LyricDocument* panel, Size option) {
  const Rect& window = state.window.window_rect;
  if (window.left == 0 || window.top == 0) return;
  const bool open = state.options.options_open;
  const bool no_lines = !panel || panel->line_count() == 0;
  if (no_lines && state.clock.track_info_valid) {
    if (open) return;
    if (state.clock.playing_started) draw_search_links(state, dc);
  }
  if (!open) draw_option_button(state, dc, option);
}

}  // namespace

void draw_frame_overlay(PluginState& state, HDC dc) {
  const Settings& s = state.settings;
  const WindowDrawing* drawing = window_drawing(state);
  const ScopedSelect font(dc, drawing ? static_cast<HGDIOBJ>(drawing->info_font.get()) : nullptr);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, s.info_font_color);
  const DrawingArea& area = state.window.drawing_area;
  const int32_t line_top = area.height - kStatusLineHeight;

  if (!state.clock.track_info_valid) text_out(dc, 10, 10, state.host.own_version_caption);
  const Size option = text_size(dc, kOptionButtonText);

  const LyricDocument* panel = as_lyric_document(s.items[kLyricsItem].get());
  const int32_t mode = panel ? panel->display_mode() : kModeNoLines;
  if (s.show_status[0] == 1) text_out(dc, 12, line_top, mode_word(mode));
  if (s.show_status[1] == 1) text_out(dc, 100, line_top, key_help_line(mode, s, state.key_names));

  draw_status(state, dc, option.width);
  if (state.requests.lyrics_modified) text_out(dc, 5, area.height - 11, u"*");

  // A mark left from an earlier frame would let a click act on something no longer drawn.
  state.frame.search_link_marks.fill(false);
  state.frame.option_button_request = false;
  draw_links_and_button(state, dc, panel, option);
}

}  // namespace sabla
