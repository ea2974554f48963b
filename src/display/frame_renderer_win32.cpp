#include "display/frame_renderer_win32.h"

#include <string>

#include "display/dots_visualizer_win32.h"
#include "display/frame_cache_win32.h"
#include "display/frame_items_win32.h"
#include "display/frame_overlay.h"
#include "display/frame_overlay_win32.h"
#include "display/frame_surfaces_win32.h"
#include "display/gdi_select_win32.h"
#include "display/info_panel_win32.h"
#include "display/level_indicator.h"
#include "display/lyrics_panel_win32.h"
#include "state/gdi_handles_win32.h"
#include "state/plugin_state.h"
#include "state/track_info.h"
#include "state/window_drawing_win32.h"

namespace sabla {
namespace {

HDC context(WindowDrawing& drawing, MemoryDcRole role) {
  return drawing.memory_dcs[static_cast<size_t>(role)].get();
}

bool has_surface(const WindowDrawing& drawing, MemoryDcRole role) {
  return static_cast<bool>(drawing.surfaces[static_cast<size_t>(role)]);
}

// The dots give way to a plain background while timetags are edited (on the panel or on the
// options window's timing tab) and for the first frame after a change of the window or the
// design, which starts the trails afresh.
bool plain_background(PluginState& state, const VisualizerSettings& dots) {
  const LyricDocument* panel = lyrics_panel(state);
  return !dots.shown || (panel && panel->edit_mode()) ||
         (state.options.options_open && state.settings.current_tab == 1) ||
         state.window.window_changed;
}

void fill_background(HDC frame, const DrawingArea& area, COLORREF colour) {
  // The context's own brush takes the colour: nothing is made or deleted per frame.
  SetDCBrushColor(frame, colour);
  // The frame is a pixel larger than the area each way and is copied whole.
  const RECT r{area.x, area.y, area.x + area.width + 1, area.y + area.height + 1};
  FillRect(frame, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void draw_background(PluginState& state, WindowDrawing& resources, double radius,
                     const VisualizerSettings& dot_settings) {
  HDC frame = context(resources, MemoryDcRole::kFrame);
  const DrawingArea& area = state.window.drawing_area;
  if (plain_background(state, dot_settings)) {
    fill_background(frame, area, state.settings.bg_color);
    return;
  }
  const VisualizerSurfaces surfaces{context(resources, MemoryDcRole::kCanvas),
                                    surface_pixels(resources, MemoryDcRole::kFrame),
                                    surface_pixels(resources, MemoryDcRole::kFeedback),
                                    surface_pixels(resources, MemoryDcRole::kCanvas)};
  if (!surfaces.canvas_dc || !surfaces.frame || !surfaces.feedback || !surfaces.canvas) {
    fill_background(frame, area, state.settings.bg_color);
    return;
  }
  draw_dots_visualizer(surfaces, frame_cache(resources).dots, state.frame.visualizer, dot_settings,
                       radius, area);
}

int32_t channel_value(const PluginState& state, int channel) {
  const PluginInstance* instance = state.instance.get();
  if (!instance) return 0;
  return indicator_value(instance->render.levels[static_cast<size_t>(channel)], instance->playing);
}

void draw_item(PluginState& state, HDC frame, int index) {
  DisplayItem* item = state.settings.items[static_cast<size_t>(index)].get();
  if (!item) return;
  if (index == kLyricsItem) {
    if (LyricDocument* panel = as_lyric_document(item)) {
      WindowDrawing& drawing = *window_drawing(state);
      draw_lyrics_panel(state, frame, *panel, &frame_cache(drawing).lyrics,
                        surface_pixels(drawing, MemoryDcRole::kFrame));
    }
  } else if (index < kTextItemCount) {
    draw_text_item(frame, *item, frame_item_text(state, index));
  } else if (index == kVolumeLeftItem || index == kVolumeRightItem) {
    const int channel = index - kVolumeLeftItem;
    draw_level_indicator(frame, *item, channel, channel_value(state, channel), state.frame);
  } else if (index == kCoverArtItem) {
    draw_artwork(state, frame, *item);
  }
}

}  // namespace

std::u16string frame_item_text(const PluginState& state, int index) {
  const SongInfo& song = state.song;
  switch (index) {
    case 3:
      return counter_text(state.clock.play_time);
    case 10:
      return year_text(song.track_year);
    case 11:
      return rating_text(song.track_rating);
    case 12:
      return count_text(song.track_number, song.track_count);
    case 13:
      return count_text(song.disc_number, song.disc_count);
    default:
      return state.info_texts[static_cast<size_t>(index)];
  }
}

void render_frame(PluginState& state, HWND window, const Rect& drawing) {
  WindowDrawing* resources = window_drawing(state);
  if (!window || !resources) return;
  HDC frame = context(*resources, MemoryDcRole::kFrame);
  if (!frame || !has_surface(*resources, MemoryDcRole::kFrame)) return;
  state.frame.last_frame_ms = state.clock.now_ms;
  const Settings& s = state.settings;
  const DrawingArea& area = state.window.drawing_area;

  VisualizerState& dots = state.frame.visualizer;
  const VisualizerSettings dot_settings = visualizer_settings(s.visualizer);
  bounce_dot_colours(dots);
  const double radius = orbit_radius(dot_settings.max_radius, state.frame.indicator_previous[0],
                                     state.frame.indicator_previous[1], state.frame.level_peak);
  turn_dots(dots, dot_settings.rotation_speed);

  const ScopedSelect font(frame, static_cast<HGDIOBJ>(resources->info_font.get()));
  draw_background(state, *resources, radius, dot_settings);

  SetBkMode(frame, TRANSPARENT);
  SetTextColor(frame, RGB(255, 255, 255));
  for (const int32_t index : s.drawing_order) {
    if (index >= 0 && index < kItemCount) draw_item(state, frame, index);
  }
  draw_frame_overlay(state, frame);

  // The frame is copied whole: the area and the extra row and column it was drawn with.
  BitBlt(resources->window_dc.get(), drawing.left, drawing.top, area.width + 1, area.height + 1,
         frame, 0, 0, SRCCOPY);
  state.window.window_changed = false;
}

}  // namespace sabla
