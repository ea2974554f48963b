#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "state/frame_state.h"
#include "state/window_state.h"
#include "lyrics/rect.h"

namespace sabla {

struct Settings;
class KeyNames;

// The overlay's bottom line, 14 pixels above the area's bottom edge.
inline constexpr int32_t kStatusLineHeight = 14;
inline constexpr std::u16string_view kOptionButtonText = u"OPTION";

// The play-time counter: minutes, seconds and hundredths, "%02d:%02d:%02d".
std::u16string counter_text(int32_t play_ms);

// The word for the lyrics panel's mode (`LyricDocument::display_mode`): automatic untimed,
// manual scrolling and edit mode have one; the others none.
std::u16string_view mode_word(int32_t display_mode);

// The keys the user can press in manual scrolling and in edit mode, with their bound keys'
// names; empty in the other modes.
std::u16string key_help_line(int32_t display_mode, const Settings& settings,
                             const KeyNames& key_names);

// The search links on the bottom line, left to right from x = 100 with 16 pixels between one
// name's right edge and the next; each rectangle is its name's `size`, its top at `line_top`.
std::vector<Rect> search_link_rects(std::span<const Size> name_sizes, int32_t line_top);

// Where the status message is right-aligned in an area of `width` x `height`: left of the
// "OPTION" button (`option_width` wide) and 10 pixels clear of it, or the whole width while the
// options window is open, since the button is not drawn then.
Rect status_rect(int32_t width, int32_t height, int32_t option_width, bool options_open);

// The "OPTION" button: its text in the bottom-right corner, 5 pixels in from the right edge,
// the rectangle reaching the corner.
Rect option_button_rect(int32_t width, int32_t height, Size text);

// `point` lies in `rect`, edges included.
bool contains(const Rect& rect, Point point);

}  // namespace sabla
