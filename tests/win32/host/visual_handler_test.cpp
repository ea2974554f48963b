// The visual message handler over the real Windows services, with a scripted timer and player:
// the message table, the re-entry guard, the lifecycle of "init" to "clr " and "show" to "hide",
// and the edge cases of the host's records.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <new>
#include <stdexcept>

#include "core/host/host_test_records.h"
#include "guarded_record.h"
#include "state/host_records.h"
#include "state/version.h"
#include "state/window_drawing_win32.h"
#include "lyrics/lyric_document.h"
#include "sabla_dll.h"
#include "test_handler_services.h"
#include "test_window.h"

namespace sabla {
namespace {

int32_t unused_callback(void*, uint32_t, HostMessage*) { return kStatusOk; }

class VisualHandler : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dll.get()) << "cannot load the built Sabla.dll"; }
  void TearDown() override { send(kMessageClear); }

  int32_t send(uint32_t message, void* record = nullptr) {
    return handle_visual_message(state, services, message, record, state.instance.get());
  }
  void init() {
    VisualInitMessage message{};
    message.host_major_version = 7;
    message.host_cookie = &cookie;
    message.host_callback = &unused_callback;
    ASSERT_EQ(send(kMessageInit, &message), kStatusOk);
    ASSERT_EQ(message.instance, state.instance.get());
  }
  ShowMessage show_message(HWND target, int16_t width = 400, int16_t height = 300) {
    ShowMessage message{};
    message.window = target;
    message.rect = {0, 0, height, width};
    message.options = 0x55;
    return message;
  }
  void show() {
    ShowMessage message = show_message(window.visualizer());
    ASSERT_EQ(send(kMessageShow, &message), kStatusOk);
  }
  LyricDocument& panel() { return *as_lyric_document(state.settings.items[kLyricsItem].get()); }

  test::SablaDll dll;  // the interface texts and the version come from the built library
  PluginState state;
  test::TestHandlerServices services{dll.get()};
  test::TestWindow window;
  int cookie = 0;
};

TEST_F(VisualHandler, InitMakesTheInstanceAndClearTakesItAway) {
  init();
  EXPECT_EQ(state.instance->host_cookie, &cookie);
  EXPECT_EQ(state.host.host_cookie, &cookie);
  EXPECT_EQ(state.host.host_callback, &unused_callback);
  EXPECT_EQ(state.host.host_major_version, 7);
  EXPECT_EQ(state.host.module_handle, dll.get());
  EXPECT_TRUE(state.strings.text(40039) == u"lrc 保存に失敗しました。");
  EXPECT_FALSE(state.strings.text(40044).empty());
  EXPECT_TRUE(state.strings.text(40037).empty());
  EXPECT_TRUE(state.key_names.is_built());
  const std::u16string version = u"1.0.0.0";
  ASSERT_EQ(kVersionText, "1.0.0.0");
  EXPECT_TRUE(state.host.own_version_text == version);
  EXPECT_EQ(state.host.own_version_number, 1000);
  EXPECT_TRUE(state.host.own_version_caption == u"Sabla ver.1.0.0.0 BETA");
  const std::u16string& temp = state.host.temp_artwork_path;
  ASSERT_GT(temp.size(), 14u);
  EXPECT_TRUE(temp.substr(temp.size() - 14) == u"Sabla_temp.jpg");

  services.load_settings(state);
  ASSERT_TRUE(state.settings.items[0]);
  EXPECT_EQ(send(kMessageClear), kStatusOk);
  EXPECT_FALSE(state.instance);
  EXPECT_EQ(state.strings.size(), 0u);
  EXPECT_FALSE(state.key_names.is_built());
  for (const auto& item : state.settings.items) EXPECT_FALSE(item);
  // A second "clr " has nothing left to free.
  EXPECT_EQ(send(kMessageClear), kStatusOk);
}

TEST_F(VisualHandler, InitTouchesNothingPastTheInstanceWord) {
  VisualInitMessage message{};
  message.host_major_version = 5;
  test::GuardedRecord record(offsetof(VisualInitMessage, instance) + sizeof(void*));
  ASSERT_EQ(send(kMessageInit, record.hold(message)), kStatusOk);
  void* written = nullptr;
  std::memcpy(&written, record.get() + offsetof(VisualInitMessage, instance), sizeof written);
  EXPECT_EQ(written, state.instance.get());
  EXPECT_EQ(state.host.host_major_version, 5);
}

TEST_F(VisualHandler, MessageTable) {
  // Before "init" there is no instance to work on.
  EXPECT_EQ(send(kMessageIdle), kStatusBadParameter);
  ShowMessage early = show_message(window.visualizer());
  EXPECT_EQ(send(kMessageShow, &early), kStatusBadParameter);
  EXPECT_FALSE(state.window.visible);
  EXPECT_EQ(send(kMessageInit, nullptr), kStatusBadParameter);
  EXPECT_FALSE(state.instance);

  init();
  EXPECT_EQ(send(four_char_code("abcd")), kStatusUnimplemented);
  EXPECT_EQ(send(0), kStatusUnimplemented);
  EXPECT_EQ(send(kMessageRegisterVisual), kStatusUnimplemented);

  state.clock.play_time = 1234;
  state.instance->playing = true;
  for (const uint32_t ignored : {kMessageVisualOff, kMessageVisualOn, kMessageUpdate}) {
    EXPECT_EQ(send(ignored), kStatusOk);
  }
  EXPECT_EQ(state.clock.play_time, 1234);
  EXPECT_TRUE(state.instance->playing);
  EXPECT_TRUE(services.calls.empty());

  // Messages whose record the host left out do nothing.
  for (const uint32_t message : {kMessageShow, kMessageSetWindow, kMessageRenderData, kMessagePlay,
                                 kMessageChangeTrack, kMessageSetPosition}) {
    EXPECT_EQ(send(message, nullptr), kStatusBadParameter) << std::hex << message;
  }
  EXPECT_FALSE(state.window.visible);
  EXPECT_EQ(state.clock.play_time, 1234);
  EXPECT_FALSE(state.clock.track_info_valid);

  // A play message that marks its records present without pointers plays an empty track.
  PlayMessage empty{};
  empty.has_track = 1;
  empty.has_stream = 1;
  EXPECT_EQ(send(kMessagePlay, &empty), kStatusOk);
  EXPECT_TRUE(state.clock.track_info_valid);
  EXPECT_TRUE(state.song.title.empty());
}

TEST_F(VisualHandler, MessagesDuringAMessageAreRefusedAndNothingEscapes) {
  init();
  show();
  int32_t inner_status = -99;
  services.during_pipeline = [&](PluginState&) {
    SetPositionMessage position{5000};
    inner_status = send(kMessageSetPosition, &position);
  };
  const TrackRecord track = test::make_track(u"Song", u"Artist", u"Album");
  ChangeTrackMessage change = test::change_track_message(&track);
  ASSERT_EQ(send(kMessageChangeTrack, &change), kStatusOk);
  EXPECT_EQ(inner_status, kStatusOk);
  EXPECT_EQ(state.instance->seek_position_ms, 0);
  EXPECT_FALSE(state.in_handler);

  services.during_pipeline = [](PluginState&) { throw std::runtime_error("stage failed"); };
  EXPECT_EQ(send(kMessageChangeTrack, &change), kStatusInternalError);
  EXPECT_FALSE(state.in_handler);
  services.during_pipeline = [](PluginState&) { throw std::bad_alloc(); };
  EXPECT_EQ(send(kMessageChangeTrack, &change), kStatusOutOfMemory);
  services.during_pipeline = nullptr;
  SetPositionMessage position{7000};
  EXPECT_EQ(send(kMessageSetPosition, &position), kStatusOk);
  EXPECT_EQ(state.instance->seek_position_ms, 7000);
}

TEST_F(VisualHandler, ShowLendsTheWindowAndHideGivesEverythingBack) {
  init();
  services.scripted_player.has_location = true;
  services.scripted_player.location = u"C:\\Music\\a.mp3";
  state.requests.search_key_fired.fill(true);
  show();

  EXPECT_TRUE(state.window.visible);
  EXPECT_EQ(state.window.host_window, window.visualizer());
  EXPECT_EQ(state.instance->window, window.visualizer());
  EXPECT_EQ(state.instance->options, 0x55u);
  EXPECT_EQ(state.window.drawing_area, (DrawingArea{0, 0, 400, 300}));
  ASSERT_TRUE(window_dc(state));
  for (size_t i = 0; i < kMemoryDcCount; ++i) {
    const auto role = static_cast<MemoryDcRole>(i);
    const HDC dc = memory_dc(state, role);
    ASSERT_TRUE(dc) << i;
    const bool halftone = role == MemoryDcRole::kFeedback || role == MemoryDcRole::kCanvas ||
                          role == MemoryDcRole::kArtworkCache;
    EXPECT_EQ(GetStretchBltMode(dc) == HALFTONE, halftone) << i;
  }
  EXPECT_TRUE(state.song.file_name == u"a.mp3");
  EXPECT_TRUE(state.settings.items[kLyricsItem]);
  EXPECT_EQ(state.requests.search_key_fired, (std::array<bool, 8>{}));
  EXPECT_EQ(services.calls["create_frame_surfaces"], 1);
  EXPECT_EQ(services.calls["layout_display"], 1);
  EXPECT_EQ(services.calls["load_song_lyrics"], 1);
  EXPECT_EQ(services.calls["release_check"], 1);  // `ver_check` is on by default
  // The beta check always runs, and switches itself on in the settings file the first time.
  EXPECT_EQ(services.calls["beta_check"], 1);
  EXPECT_EQ(state.settings.ver_check_beta, 1);
  EXPECT_EQ(services.calls["save_settings"], 1);
  EXPECT_TRUE(state.wheel.is_open());

  // Hide: the options window is closed, the temporary artwork goes, the lines are let go.
  test::TestWindow options;
  state.options.options_window = options.frame();
  test::TestWindow::last_command() = 0;
  const std::wstring artwork(state.host.temp_artwork_path.begin(),
                             state.host.temp_artwork_path.end());
  CloseHandle(CreateFileW(artwork.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_NE(GetFileAttributesW(artwork.c_str()), INVALID_FILE_ATTRIBUTES);
  panel().load_text(1000, u"one\r\ntwo");
  ASSERT_EQ(panel().line_count(), 2);

  EXPECT_EQ(send(kMessageHide), kStatusOk);
  EXPECT_EQ(test::TestWindow::last_command(), static_cast<WPARAM>(IDCANCEL));
  EXPECT_FALSE(state.window.visible);
  EXPECT_TRUE(state.requests.probe_off);
  EXPECT_FALSE(state.instance->window);
  EXPECT_FALSE(state.window.drawing);
  EXPECT_FALSE(window_dc(state));
  EXPECT_FALSE(state.wheel.is_open());
  EXPECT_EQ(GetFileAttributesW(artwork.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(panel().line_count(), 0);
  EXPECT_EQ(services.calls["release_frame_surfaces"], 1);

  // A second show after a hide, and a show while shown, both work on fresh resources.
  show();
  show();
  EXPECT_TRUE(window_dc(state));
  EXPECT_EQ(services.calls["release_frame_surfaces"], 2);
}

TEST_F(VisualHandler, ShowWithoutAWindowMakesNothing) {
  init();
  for (HWND target : {HWND{}, reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0))}) {
    ShowMessage message = show_message(target);
    EXPECT_EQ(send(kMessageShow, &message), kStatusBadParameter);
    EXPECT_FALSE(state.window.visible);
    EXPECT_FALSE(state.window.drawing);
  }
  EXPECT_EQ(services.calls["load_settings"], 0);
}

TEST_F(VisualHandler, SetWindowResizesOnlyWhileShown) {
  init();
  ShowMessage resized = show_message(window.visualizer(), 640, 480);
  EXPECT_EQ(send(kMessageSetWindow, &resized), kStatusOk);
  EXPECT_EQ(state.window.drawing_area, DrawingArea{});
  EXPECT_FALSE(state.window.window_changed);

  show();
  state.window.window_changed = false;
  EXPECT_EQ(send(kMessageSetWindow, &resized), kStatusOk);
  EXPECT_TRUE(state.window.window_changed);
  EXPECT_EQ(state.window.drawing_area, (DrawingArea{0, 0, 640, 480}));
  EXPECT_EQ(state.instance->rect.right, 640);
  EXPECT_EQ(services.calls["release_frame_surfaces"], 1);
  EXPECT_EQ(services.calls["create_frame_surfaces"], 2);
  EXPECT_EQ(services.calls["layout_display"], 2);

  // An upside-down rectangle has no area rather than a negative one.
  resized.rect = {100, 50, 10, 20};
  EXPECT_EQ(send(kMessageSetWindow, &resized), kStatusOk);
  EXPECT_EQ(state.window.drawing_area, DrawingArea{});
}

TEST_F(VisualHandler, EditedTimetagsAreSavedBeforeTheSongChanges) {
  init();
  show();
  const TrackRecord first = test::make_track(u"One", u"A", u"B");
  const TrackRecord second = test::make_track(u"Two", u"A", u"B");
  PlayMessage play = test::play_message(&first);
  ASSERT_EQ(send(kMessagePlay, &play), kStatusOk);
  panel().load_text(240000, u"[00:01]one\r\n[00:02]two");
  state.requests.lyrics_modified = true;

  // Not in edit mode: nothing to save.
  ChangeTrackMessage change = test::change_track_message(&second);
  ASSERT_EQ(send(kMessageChangeTrack, &change), kStatusOk);
  EXPECT_EQ(services.calls["save_document_lyrics"], 0);

  panel().load_text(240000, u"[00:01]one\r\n[00:02]two");
  panel().toggle_edit_mode();
  ASSERT_TRUE(panel().edit_mode());
  services.save_succeeds = false;
  change = test::change_track_message(&first);
  ASSERT_EQ(send(kMessageChangeTrack, &change), kStatusOk);
  EXPECT_EQ(services.calls["save_document_lyrics"], 1);
  EXPECT_EQ(services.calls["warn"], 1);
  EXPECT_TRUE(services.last_warning == u"lrc 保存に失敗しました。");
  EXPECT_TRUE(state.requests.lyrics_modified);

  services.save_succeeds = true;
  change = test::change_track_message(&second);
  ASSERT_EQ(send(kMessageChangeTrack, &change), kStatusOk);
  EXPECT_EQ(services.calls["save_document_lyrics"], 2);
  EXPECT_TRUE(state.status.text == u"Saved lrc");
  EXPECT_EQ(state.status.frames, 50);
  EXPECT_FALSE(state.requests.lyrics_modified);
  EXPECT_TRUE(state.song.title == u"Two");
  EXPECT_TRUE(state.info_texts[0] == u"Two");
}

TEST_F(VisualHandler, ConfigureOpensTheOptionsWindowOnlyWhenShownAndClosed) {
  init();
  EXPECT_EQ(send(kMessageConfigure), kStatusOk);
  EXPECT_EQ(services.calls["open_options"], 0);
  show();
  EXPECT_EQ(send(kMessageConfigure), kStatusOk);
  EXPECT_EQ(services.calls["open_options"], 1);
  state.options.options_open = true;
  EXPECT_EQ(send(kMessageConfigure), kStatusOk);
  EXPECT_EQ(services.calls["open_options"], 1);
}

// Each message reads only the words it names: a record that ends there is enough.
TEST_F(VisualHandler, RecordsAsShortAsTheirWordsAreEnough) {
  init();
  const ShowMessage show = show_message(window.visualizer());
  test::GuardedRecord show_record(sizeof show);
  ASSERT_EQ(send(kMessageShow, show_record.hold(show)), kStatusOk);
  ASSERT_EQ(send(kMessageSetWindow, show_record.hold(show)), kStatusOk);

  RenderData data{};
  const RenderMessage render{&data, 3};
  test::GuardedRecord render_record(sizeof render);
  EXPECT_EQ(send(kMessageRenderData, render_record.hold(render)), kStatusOk);
  EXPECT_EQ(state.instance->render.time_stamp, 3u);

  const TrackRecord track = test::make_track(u"Song", u"Artist", u"Album");
  test::GuardedRecord play_record(offsetof(PlayMessage, stream) + sizeof(void*));
  const PlayMessage play = test::play_message(&track);
  EXPECT_EQ(send(kMessagePlay, play_record.hold(play)), kStatusOk);
  EXPECT_TRUE(state.song.title == u"Song");

  test::GuardedRecord change_record(sizeof(ChangeTrackMessage));
  const ChangeTrackMessage change = test::change_track_message(&track);
  EXPECT_EQ(send(kMessageChangeTrack, change_record.hold(change)), kStatusOk);

  const SetPositionMessage position{83000};
  test::GuardedRecord position_record(4);
  EXPECT_EQ(send(kMessageSetPosition, position_record.hold(position)), kStatusOk);
  EXPECT_EQ(state.clock.play_time, 83000);
}

}  // namespace
}  // namespace sabla
