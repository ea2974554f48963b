#pragma once
#include "player/player_bridge.h"
#include "ui/options_services.h"

namespace sabla {

// The options window's services in the plug-in: the player given, the lyric files on disk, the
// search launcher, Sabla.ini, HTML Help and the common open-file dialog.
class Win32OptionsServices : public OptionsServices {
 public:
  explicit Win32OptionsServices(PlayerBridge& player) : player_(player) {}

  PlayerBridge& player() override { return player_; }
  bool load_song_lyrics(PluginState& state) override;
  bool save_document_lyrics(PluginState& state) override;
  void find_lyric_file(PluginState& state) override;
  bool load_external_lyrics(PluginState& state) override;
  bool launch_search(PluginState& state, std::u16string_view artist, std::u16string_view title,
                     std::u16string_view album, int slot) override;
  bool save_settings(PluginState& state) override;
  void show_help(void* owner, std::u16string_view help_file,
                 std::optional<HelpPopup> popup) override;
  std::optional<std::u16string> choose_lyric_file(PluginState& state, void* owner) override;
  void open_file(std::u16string_view path) override;

 private:
  PlayerBridge& player_;
};

}  // namespace sabla
