// The keyboard, wheel and mouse as idle calls poll them: key repeat, Ctrl, the search keys, the
// bound keys and clicks, and the questions that wait for an idle call with input.
#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/host/fake_handler_services.h"
#include "core/lyrics/lyrics_test_util.h"
#include "host/later_stages.h"
#include "state/plugin_state.h"
#include "state/version.h"
#include "lyrics/lyric_document.h"

namespace sabla {
namespace {

constexpr uint8_t kPageDown = 0x22;
constexpr uint8_t kEnter = 0x0D;
constexpr uint8_t kKeyE = 0x45;
constexpr uint8_t kKeyI = 0x49;
constexpr uint8_t kKeyS = 0x53;
constexpr uint8_t kF3 = 0x72;

// A mouse that, like DirectInput's, buffers wheel turns only while acquired.
class WheelMouse final : public MouseDevice {
 public:
  explicit WheelMouse(int32_t& turn) : turn_(turn) {}
  bool acquire() override { return acquired_ = true; }
  void unacquire() override { acquired_ = false; }
  MouseReadResult read_event(MouseEvent& event) override {
    if (!acquired_) return MouseReadResult::kFailed;
    if (turn_ == 0) return MouseReadResult::kEmpty;
    event = MouseEvent{WheelInput::kWheelAxisOffset, turn_};
    turn_ = 0;
    return MouseReadResult::kEvent;
  }

 private:
  int32_t& turn_;
  bool acquired_ = false;
};

class IdleInput : public ::testing::Test {
 protected:
  IdleInput() {
    reset_settings(state.settings, SettingsDefaults{u"C:\\Documents", u"Face"});
    finish_settings_read(state.settings);
    auto document = test::make_document();
    document->load_text(0, test::numbered_lines(40, true));
    document->layout(0);  // what the first frame does
    panel = document.get();
    state.settings.items[kLyricsItem] = std::move(document);
    state.window.visible = true;
    state.window.window_rect = Rect{100, 100, 500, 400};
    state.clock.player_second = 0;
    state.clock.track_info_valid = true;
    state.song.track_artist_shown = u"Artist";
    state.song.title = u"Title";
    state.song.album = u"Album";
  }

  // The keys given are down for the idle calls that follow; all others are up.
  void hold(std::initializer_list<uint8_t> codes) {
    services.keys.fill(0);
    for (uint8_t code : codes) services.keys[code] = 0x80;
  }
  void idle(int times = 1) {
    for (int i = 0; i < times; ++i) idle_processing(state, services);
  }
  void enter_edit_mode() {
    // Opening the options window loads the settings, which makes the panel anew; the song's
    // lyrics go into a panel of the test's again.
    if (panel != lyrics_panel(state)) {
      auto document = test::make_document();
      document->load_text(0, test::numbered_lines(40, true));
      document->layout(0);
      panel = document.get();
      state.settings.items[kLyricsItem] = std::move(document);
    }
    state.sources.external_lyrics_found = true;
    hold({});
    idle();
    hold({kKeyE});
    idle();
    hold({});
    idle();
    ASSERT_TRUE(panel->edit_mode());
  }

  PluginState state;
  test::FakeHandlerServices services;
  LyricDocument* panel = nullptr;
};

TEST_F(IdleInput, HeldKeyActsFirstThenFromTheSeventeenthCallAndCtrlBlocksIt) {
  panel->scroll(1);  // manual scrolling: every scroll now moves the window
  ASSERT_TRUE(panel->manual_scroll());

  hold({kVkControl, kPageDown});
  idle(20);
  EXPECT_EQ(panel->first_visible(), 0);
  EXPECT_EQ(state.input.previous_key_state, services.keys);

  // Letting go of Ctrl changes the keyboard state, so the held key acts at once.
  hold({kPageDown});
  for (int call = 1; call <= 20; ++call) {
    const int32_t before = panel->first_visible();
    idle();
    const bool acted = call == 1 || call >= 17;
    EXPECT_EQ(panel->first_visible() - before, acted ? 2 : 0) << "call " << call;
  }

  // A key held for hundreds of calls keeps repeating.
  state.input.repeat_count = 254;
  idle();
  EXPECT_EQ(state.input.repeat_count, 16);
  const int32_t before = panel->first_visible();
  idle();
  EXPECT_EQ(panel->first_visible() - before, 2);

  hold({});
  idle();
  EXPECT_EQ(state.input.repeat_count, 0);
}

TEST_F(IdleInput, ScrollKeyAndWheelMoveByWheelScrollAfterLeavingAutomaticMode) {
  state.settings.wheel_scroll = 3;
  hold({kPageDown});
  idle();
  EXPECT_TRUE(panel->manual_scroll());
  EXPECT_EQ(panel->first_visible(), 0);
  hold({});
  idle();
  hold({kPageDown});
  idle();
  EXPECT_EQ(panel->first_visible(), 3);

  int32_t turn = 0;
  ASSERT_TRUE(state.wheel.open_wheel(std::make_unique<WheelMouse>(turn)));
  hold({});
  state.pointer.cursor_screen = Point{500, 400};  // the window's edge counts as inside
  turn = -120;                                    // towards the user: down
  idle();
  EXPECT_EQ(panel->first_visible(), 6);
  turn = 120;
  idle();
  EXPECT_EQ(panel->first_visible(), 3);

  state.pointer.cursor_screen = Point{501, 400};
  turn = -120;
  idle();
  EXPECT_EQ(panel->first_visible(), 3);

  // A damaged settings file cannot make the scroll overflow.
  state.settings.wheel_scroll = std::numeric_limits<int32_t>::min();
  state.pointer.cursor_screen = Point{300, 200};
  turn = 120;
  idle();
  EXPECT_EQ(panel->first_visible(), std::numeric_limits<int32_t>::max());
}

TEST_F(IdleInput, TimetagKeysWorkOnlyInEditMode) {
  state.clock.play_time = 12340;
  hold({kEnter});
  idle();
  EXPECT_EQ(panel->line_time(0), 0);
  EXPECT_FALSE(state.requests.lyrics_modified);

  hold({kKeyE});
  idle();
  EXPECT_FALSE(panel->edit_mode());
  EXPECT_EQ(state.status.text, u"No lyrics");
  EXPECT_EQ(state.status.frames, 50);

  enter_edit_mode();
  hold({kEnter});
  idle();
  EXPECT_EQ(panel->line_time(0), 12340);
  EXPECT_EQ(panel->cursor_line(), 1);
  EXPECT_TRUE(state.requests.lyrics_modified);

  hold({kVkBackspace});
  idle();
  EXPECT_EQ(panel->line_time(1), -1);
  EXPECT_EQ(panel->cursor_line(), 0);
  hold({kVkDelete});
  idle();
  EXPECT_EQ(panel->line_time(0), -1);
  EXPECT_EQ(panel->cursor_line(), 0);

  // Before the song's start the clock reads below zero; stamping still sets a time.
  state.clock.play_time = -500;
  hold({kEnter});
  idle();
  EXPECT_EQ(panel->line_time(0), 0);

  hold({kVkEscape});
  idle();
  EXPECT_FALSE(panel->edit_mode());
}

TEST_F(IdleInput, SaveAndNotesKeysReportByStatusOrWarning) {
  state.strings.set(40039, u"lrc failed");
  state.strings.set(40038, u"notes failed");
  hold({kKeyS});
  idle();
  EXPECT_EQ(services.calls["save_document_lyrics"], 0);  // only in edit mode

  enter_edit_mode();
  state.requests.lyrics_modified = true;
  services.save_succeeds = false;
  hold({kKeyS});
  idle();
  EXPECT_EQ(services.last_warning, u"lrc failed");
  EXPECT_TRUE(state.requests.lyrics_modified);
  services.save_succeeds = true;
  hold({});
  idle();
  hold({kKeyS});
  idle();
  EXPECT_EQ(state.status.text, u"Saved lrc");
  EXPECT_FALSE(state.requests.lyrics_modified);

  hold({kKeyI});
  idle();
  EXPECT_EQ(state.status.text, u"Saved iPod notes");
  services.notes_export_succeeds = false;
  hold({});
  idle();
  hold({kKeyI});
  idle();
  EXPECT_EQ(services.last_warning, u"notes failed");

  state.sources.external_lyrics_found = false;
  hold({});
  idle();
  hold({kKeyI});
  idle();
  EXPECT_EQ(state.status.text, u"No lyrics");
  EXPECT_EQ(services.calls["export_panel_ipod_notes"], 2);

  hold({kVkF5});
  idle();
  hold({kVkO});
  idle();
  EXPECT_EQ(services.calls["load_song_lyrics"], 1);
  ASSERT_EQ(services.options_triggers.size(), 1u);
  EXPECT_EQ(services.options_triggers[0], OptionsTrigger::kOptionKey);
}

TEST_F(IdleInput, ShiftSearchKeyStartsOneSearchPerPressEvenWhenHidden) {
  state.window.visible = false;
  hold({kVkShift, kF3});
  idle(30);
  ASSERT_EQ(services.searches.size(), 1u);
  EXPECT_EQ(services.searches[0].artist, u"Artist");
  EXPECT_EQ(services.searches[0].title, u"Title");
  EXPECT_EQ(services.searches[0].album, u"Album");
  EXPECT_EQ(services.searches[0].slot, 0);

  hold({kVkShift});
  idle();
  // Two slots on the same key start one search, from the first of them.
  state.settings.URL_key[5] = kF3;
  state.clock.track_info_valid = false;
  hold({kVkShift, kF3});
  idle(3);
  ASSERT_EQ(services.searches.size(), 2u);
  EXPECT_EQ(services.searches[1].artist, u"");
  EXPECT_EQ(services.searches[1].slot, 0);

  // The player's modal dialog names what to search; its bare name names nothing.
  services.modal_title = u"Some Song";
  state.strings.set(40043, u"bad template");
  services.search_succeeds = false;
  hold({kF3});
  idle();
  hold({kVkShift, kF3});
  idle();
  ASSERT_EQ(services.searches.size(), 3u);
  EXPECT_FALSE(services.searches[2].artist.has_value());
  EXPECT_EQ(services.searches[2].title, u"Some Song");
  EXPECT_FALSE(services.searches[2].album.has_value());
  EXPECT_EQ(services.last_warning, u"bad template");
  services.modal_title = u"iTunes";
  hold({});
  idle();
  hold({kVkShift, kF3});
  idle();
  EXPECT_EQ(services.searches.size(), 3u);

  // Hidden, nothing but the search keys acts.
  panel->scroll(1);
  hold({kPageDown});
  idle();
  EXPECT_EQ(panel->first_visible(), 0);
}

TEST_F(IdleInput, HeldLeftButtonClicksOnceOnLinesLinksAndTheOptionButton) {
  state.pointer.hovered_line = 12;  // at 12 seconds
  state.pointer.line_hovered = true;
  hold({kVkLeftButton});
  idle();
  EXPECT_EQ(panel->display_mode(), kModeManualScroll);
  EXPECT_FALSE(state.pointer.line_hovered);
  state.pointer.line_hovered = true;  // the next frames find the mouse over the line again
  idle(40);
  EXPECT_EQ(services.scripted_player.seeks, std::vector<int32_t>{12});

  // Line 0 is timed at 0: nothing to seek to.
  hold({});
  idle();
  state.pointer.hovered_line = 0;
  hold({kVkLeftButton});
  idle();
  EXPECT_EQ(services.scripted_player.seeks.size(), 1u);

  hold({});
  idle();
  state.pointer.line_hovered = false;
  state.frame.search_link_marks[2] = true;
  state.frame.option_button_request = true;
  state.pointer.cursor_client = Point{50, 60};
  hold({kVkLeftButton});
  idle();
  ASSERT_EQ(services.searches.size(), 1u);
  EXPECT_EQ(services.searches[0].slot, 2);
  EXPECT_EQ(services.searches[0].title, u"Title");
  EXPECT_FALSE(state.frame.search_link_marks[2]);
  EXPECT_EQ(state.pointer.cursor_client, Point{});
  ASSERT_EQ(services.options_triggers.size(), 1u);
  EXPECT_EQ(services.options_triggers[0], OptionsTrigger::kOptionButton);

  // Before the player has told its position the button is no key at all.
  hold({});
  idle();
  state.clock.player_second = -1;
  state.frame.search_link_marks[2] = true;
  hold({kVkLeftButton});
  idle(3);
  EXPECT_EQ(services.searches.size(), 1u);
  EXPECT_EQ(state.input.repeat_count, 0);
}

TEST_F(IdleInput, OpenOptionsWindowMeansNoKeyWheelOrClickActs) {
  int32_t turn = -120;
  ASSERT_TRUE(state.wheel.open_wheel(std::make_unique<WheelMouse>(turn)));
  state.pointer.cursor_screen = Point{200, 200};
  state.options.options_open = true;
  state.pointer.line_hovered = true;
  state.pointer.hovered_line = 12;
  hold({kVkShift, kF3, kVkLeftButton});
  idle(20);
  hold({kPageDown});
  idle(20);
  EXPECT_FALSE(panel->manual_scroll());
  EXPECT_TRUE(services.searches.empty());
  EXPECT_TRUE(services.scripted_player.seeks.empty());
}

int32_t record_url(void* cookie, uint32_t message, HostMessage* record) {
  if (message == kMessageOpenUrl) {
    *static_cast<std::string*>(cookie) =
        std::string(record->body.open_url.address, record->body.open_url.length);
  }
  return kStatusOk;
}

TEST_F(IdleInput, VersionAndDeleteQuestionsWaitForAnIdleCallWithKeys) {
  std::string opened;
  state.host.host_cookie = &opened;
  state.host.host_callback = &record_url;
  state.strings.set(40046, u"new release");
  state.strings.set(40068, u"new beta");
  state.settings.ver_check = 1;
  state.settings.ver_check_beta = 1;
  state.requests.new_version_pending = 1;
  state.requests.new_beta_pending = 1;
  state.requests.delete_file_request = true;
  state.requests.delete_file_path = u"C:\\a.lrc";

  hold({kVkControl});
  idle();
  EXPECT_EQ(services.calls["ask_yes_no"], 0);
  EXPECT_EQ(services.calls["ask_beta_yes_no"], 0);

  hold({});
  services.answer_yes = true;
  idle();
  EXPECT_EQ(services.last_question, u"new release");
  EXPECT_EQ(services.calls["ask_yes_no"], 2);  // the deletion, then the release
  EXPECT_EQ(services.last_beta_question, u"new beta");
  EXPECT_EQ(opened, std::string(kSiteUrl));
  EXPECT_EQ(state.requests.new_version_pending.load(), 0);
  EXPECT_EQ(state.requests.new_beta_pending.load(), 0);

  // A failed check (-1) or a switched-off check asks nothing.
  state.requests.new_version_pending = -1;
  state.settings.ver_check_beta = 0;
  state.requests.new_beta_pending = 1;
  idle();
  EXPECT_EQ(services.calls["ask_yes_no"], 2);
  EXPECT_EQ(services.calls["ask_beta_yes_no"], 1);
  EXPECT_EQ(state.requests.new_beta_pending.load(), 1);
}

TEST_F(IdleInput, OptionsWindowSavesFirstByItsOwnRuleForEachTrigger) {
  state.strings.set(40039, u"lrc failed");
  state.pointer.line_hovered = true;
  state.frame.search_link_marks[0] = true;
  state.pointer.cursor_screen = Point{300, 300};
  state.requests.lyrics_modified = true;
  open_options_window(state, services, OptionsTrigger::kOptionButton);  // not in edit mode
  EXPECT_EQ(services.calls["save_document_lyrics"], 0);
  EXPECT_FALSE(state.pointer.line_hovered);
  EXPECT_FALSE(state.frame.search_link_marks[0]);
  EXPECT_EQ(state.pointer.cursor_screen, Point{});

  open_options_window(state, services, OptionsTrigger::kConfigureMessage);
  EXPECT_EQ(state.status.text, u"Saved lrc");
  EXPECT_FALSE(state.requests.lyrics_modified);

  enter_edit_mode();
  services.save_succeeds = false;
  open_options_window(state, services, OptionsTrigger::kOptionButton);
  EXPECT_EQ(services.calls["save_document_lyrics"], 2);
  EXPECT_EQ(services.last_warning, u"lrc failed");

  open_options_window(state, services, OptionsTrigger::kOptionKey);  // nothing modified
  state.window.visible = false;
  state.requests.lyrics_modified = true;
  open_options_window(state, services, OptionsTrigger::kConfigureMessage);
  EXPECT_EQ(services.calls["save_document_lyrics"], 2);
}

TEST_F(IdleInput, OptionsWindowOpensOverFreshlyLoadedStateAndForgetsAVanishedTrack) {
  state.frame.option_button_request = true;
  state.clock.track_info_valid = true;
  state.song.title = u"Gone";
  services.scripted_player.current_track = true;
  open_options_window(state, services, OptionsTrigger::kOptionKey);
  EXPECT_EQ(services.calls["load_song_lyrics"], 1);
  EXPECT_EQ(services.calls["load_settings"], 1);
  EXPECT_EQ(services.calls["create_info_font"], 1);
  EXPECT_EQ(services.calls["layout_display"], 1);
  EXPECT_EQ(services.calls["create_options_dialog"], 1);
  EXPECT_FALSE(state.frame.option_button_request);
  EXPECT_EQ(state.song.title, u"Gone");

  services.scripted_player.current_track = false;
  open_options_window(state, services, OptionsTrigger::kConfigureMessage);
  EXPECT_EQ(services.calls["create_options_dialog"], 2);
  EXPECT_EQ(state.song.title, u"");
  EXPECT_FALSE(state.clock.track_info_valid);
}

}  // namespace
}  // namespace sabla
