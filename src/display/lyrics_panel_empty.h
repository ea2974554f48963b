#pragma once
// What the lyrics panel does while it has no lines: it looks for lyrics in the background and,
// for beginners, explains where lyrics come from.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace sabla {

struct PluginState;
struct OptionsWindowState;
struct Requests;

// String-table id of the hint drawn in the empty panel; its three "%s" are the title as a file
// name, the song's folder and the first lyric folder.
inline constexpr int32_t kNoLyricsHintId = 40044;

// Whether the open options window holds unsaved changes in either lyric editor. The window's
// editors keep no state in PluginState yet, so an open window counts as holding none; this is
// the one place that will ask them once they do.
bool options_editors_unsaved(const OptionsWindowState& options);

// Whether the background check must leave the song alone this frame: a request to delete an
// unreadable lyric file is pending, or editing in the options window would be disturbed by a
// reload. A report that arrives meanwhile waits until the check may go on.
bool recheck_held(const Requests& requests, bool editors_unsaved);

// One frame of the empty panel's background check: starts a check when one is due (at most one
// at a time, one every two seconds, none while `probe_off`) and turns a finished check's report
// about the current song into `reload_lyrics_request`. True when a check was started.
bool check_lyrics_while_empty(PluginState& state);

// Counts one more frame in which the hint may show and says whether it shows: the counter rises
// to 10 and stays there, so the hint first shows on the 11th such frame of the plug-in's life.
bool hint_frame_due(int32_t& hint_frames);

// Whether this frame draws the hint (beginner hints on, a track stored, the options window
// closed); such a frame counts towards the hint's delay.
bool hint_due(PluginState& state);

// `pattern` with each "%s" replaced by the next of `args` (the empty text once they run out) and
// "%%" by "%". Every other '%' stays as it stands, so no text-table entry can make this read past
// its arguments.
std::u16string format_texts(std::u16string_view pattern,
                            std::initializer_list<std::u16string_view> args);

// The folder of the song file: `file_path` up to and including its last '\'; the whole text
// when it has none.
std::u16string_view song_folder(std::u16string_view file_path);

// The hint for the current song, from the interface texts.
std::u16string no_lyrics_hint(const PluginState& state);

}  // namespace sabla
