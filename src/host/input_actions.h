#pragma once
// The pieces of the idle input: the search keys, the wheel, the bound keys and clicks, and the
// saving and status lines they share with the opening of the options window.
#include <cstdint>
#include <string_view>

namespace sabla {

struct PluginState;
class HandlerServices;

// What the idle call does with the keyboard, the wheel and the mouse once the keyboard gate is
// open: the search keys always, the wheel, the bound keys and clicks only while the visualizer
// is shown, nothing but remembering the keyboard while Ctrl is held. True when the bound keys
// were looked at; only then may the idle call put its own questions to the user.
bool handle_idle_input(PluginState& state, HandlerServices& services);

inline constexpr std::u16string_view kSavedLrcStatus = u"Saved lrc";
inline constexpr std::u16string_view kSavedIpodNotesStatus = u"Saved iPod notes";
inline constexpr std::u16string_view kNoLyricsStatus = u"No lyrics";
inline constexpr int32_t kInputStatusFrames = 50;

inline constexpr int32_t kSaveLrcFailedText = 40039;
inline constexpr int32_t kIpodNotesFailedText = 40038;
inline constexpr int32_t kSearchFailedText = 40043;

// The transient line at the bottom right, for the usual 50 frames.
void show_status(PluginState& state, std::u16string_view text);

// Saves the lyrics panel as the song's ".lrc": the status line on success, string 40039 on
// failure (the edits then stay marked as unsaved).
void save_lrc_with_status(PluginState& state, HandlerServices& services);

enum class ScrollDirection { kUp, kDown };

// Scrolls the lyrics panel by `wheel_scroll` lines; the first scroll in automatic mode only
// stops the automatic movement.
void scroll_panel(PluginState& state, ScrollDirection direction);

// Starts search slot `slot` for the song on screen; string 40043 when the slot is unusable.
void search_current_song(PluginState& state, HandlerServices& services, int slot);

// Shift with a slot's key starts that slot's search, once for as long as the keys are held.
void handle_search_keys(PluginState& state, HandlerServices& services);

// The first bound key found down acts, behind the repeat gate; the repeat count moves on.
void handle_bound_keys(PluginState& state, HandlerServices& services);

}  // namespace sabla
