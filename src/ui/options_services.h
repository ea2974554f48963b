#pragma once
// What the options window reaches outside its own dialogs: the player, the song-change pipeline,
// the lyric files of the current song, the search launcher, the settings file, the help file and
// the open-file dialog. The plug-in passes the Windows implementation; tests their own.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "player/player_bridge.h"

namespace sabla {

struct PluginState;

// The text popup of the help file: a topic of popup.txt shown at a point of the screen.
struct HelpPopup {
  int32_t topic = 0;
  int32_t x = 0;
  int32_t y = 0;
};

class OptionsServices {
 public:
  virtual ~OptionsServices() = default;

  virtual PlayerBridge& player() = 0;
  // The song-change pipeline, with the open window's editors; true when it ran to its end.
  virtual bool load_song_lyrics(PluginState& state) = 0;
  // Saves the lyrics panel with its timetags as the song's lyric file; true on success.
  virtual bool save_document_lyrics(PluginState& state) = 0;
  // Looks for the current song's lyric file again and, when one is found, points the song's
  // `lyrics_path` at it.
  virtual void find_lyric_file(PluginState& state) = 0;
  // Looks for the current song's lyric file and loads it into the lyrics panel (the panel is
  // emptied when there is none); true when one was found and read.
  virtual bool load_external_lyrics(PluginState& state) = 0;
  // Starts search slot `slot` with the texts given; false when the slot is unusable.
  virtual bool launch_search(PluginState& state, std::u16string_view artist,
                             std::u16string_view title, std::u16string_view album, int slot) = 0;
  virtual bool save_settings(PluginState& state) = 0;
  // The help file at its default topic (`popup` empty) or one of its popup topics.
  virtual void show_help(void* owner, std::u16string_view help_file,
                         std::optional<HelpPopup> popup) = 0;
  // The open-file dialog for a lyric file, starting in `load_btn_path`: the chosen path, or
  // nothing when cancelled.
  virtual std::optional<std::u16string> choose_lyric_file(PluginState& state, void* owner) = 0;
  // Opens `path` with the shell's "open" verb, shown normally. A failure is not reported.
  virtual void open_file(std::u16string_view path) = 0;
};

}  // namespace sabla
