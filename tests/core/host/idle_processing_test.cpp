// The requests an idle call carries out before its frame.
#include <gtest/gtest.h>

#include "core/host/fake_handler_services.h"
#include "host/later_stages.h"
#include "state/plugin_state.h"

namespace sabla {
namespace {

class IdleRequests : public ::testing::Test {
 protected:
  IdleRequests() { state.window.visible = true; }
  PluginState state;
  test::FakeHandlerServices services;
};

TEST_F(IdleRequests, SettingsReloadKeepsTheOptionsWindowsOwnValuesAndReloadsTheSong) {
  state.settings.current_tab = 3;
  state.settings.input_timetag_digit = 1;
  state.settings.dialog_ins_timetag = {2, 1};
  state.requests.reload_settings_request = true;
  idle_processing(state, services);
  EXPECT_FALSE(state.requests.reload_settings_request);
  EXPECT_EQ(services.calls["load_settings"], 1);
  EXPECT_EQ(state.settings.current_tab, 3);
  EXPECT_EQ(state.settings.input_timetag_digit, 1);
  EXPECT_EQ(state.settings.dialog_ins_timetag, (std::array<int32_t, 2>{2, 1}));
  EXPECT_EQ(services.calls["save_settings"], 1);
  EXPECT_EQ(services.calls["load_song_lyrics"], 1);
  EXPECT_EQ(services.calls["draw_frame"], 1);
}

TEST_F(IdleRequests, FailedLyricsReloadStopsTheBackgroundLook) {
  state.requests.reload_lyrics_request = true;
  services.pipeline_succeeds = false;
  idle_processing(state, services);
  EXPECT_FALSE(state.requests.reload_lyrics_request);
  EXPECT_TRUE(state.requests.probe_off);

  state.requests.fonts_changed = true;
  idle_processing(state, services);
  EXPECT_EQ(services.calls["rebuild_item_fonts"], 1);
  EXPECT_EQ(services.calls["layout_display"], 1);
  EXPECT_EQ(services.calls["load_song_lyrics"], 1);
}

TEST_F(IdleRequests, HiddenWindowDrawsNothingAndAsksNothing) {
  state.window.visible = false;
  state.requests.reload_lyrics_request = true;
  state.requests.delete_file_request = true;
  idle_processing(state, services);
  EXPECT_EQ(services.calls["draw_frame"], 0);
  EXPECT_EQ(services.calls["ask_yes_no"], 0);
  EXPECT_TRUE(state.requests.reload_lyrics_request);
}

TEST_F(IdleRequests, EmptyLyricFileIsDeletedOnlyOnYes) {
  state.strings.set(40045, u"empty:\r\n%s\r\ndelete?");
  state.requests.delete_file_request = true;
  state.requests.delete_file_path = u"C:\\Lyrics\\a.lrc";
  services.input_gate = false;  // the player's own window is active: wait
  idle_processing(state, services);
  EXPECT_EQ(services.calls["ask_yes_no"], 0);

  services.input_gate = true;
  idle_processing(state, services);
  EXPECT_EQ(services.last_question, u"empty:\r\nC:\\Lyrics\\a.lrc\r\ndelete?");
  EXPECT_TRUE(services.deleted_file.empty());
  EXPECT_TRUE(state.requests.probe_off);  // kept: the look would only find the file again
  EXPECT_FALSE(state.requests.delete_file_request);

  state.requests.delete_file_request = true;
  state.requests.delete_file_path = u"C:\\Lyrics\\a.lrc";
  services.answer_yes = true;
  idle_processing(state, services);
  EXPECT_EQ(services.deleted_file, u"C:\\Lyrics\\a.lrc");
  EXPECT_FALSE(state.requests.probe_off);
}

}  // namespace
}  // namespace sabla
