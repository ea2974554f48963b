#include "display/lyrics_panel_empty.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "core/sources/lyric_search_fakes.h"
#include "host/plugin_state.h"

namespace sabla {
namespace {

TEST(NoLyricsHint, WaitsTenFramesOnceInTheLifeOfThePlugIn) {
  PluginState state;
  state.settings.beginner = 1;
  state.clock.track_info_valid = true;
  for (int frame = 1; frame <= 10; ++frame) EXPECT_FALSE(hint_due(state)) << frame;
  EXPECT_TRUE(hint_due(state));
  EXPECT_TRUE(hint_due(state));

  // Frames in which the hint may not show leave the counter alone; it is never reset.
  PluginState fresh;
  fresh.settings.beginner = 1;
  fresh.clock.track_info_valid = true;
  fresh.options.options_open = true;
  for (int frame = 0; frame < 20; ++frame) EXPECT_FALSE(hint_due(fresh));
  fresh.options.options_open = false;
  fresh.settings.beginner = 2;  // only 1 asks for hints
  EXPECT_FALSE(hint_due(fresh));
  fresh.settings.beginner = 1;
  fresh.clock.track_info_valid = false;
  EXPECT_FALSE(hint_due(fresh));
  EXPECT_EQ(fresh.frame.hint_frames, 0);

  int32_t counter = 10;
  EXPECT_TRUE(hint_frame_due(counter));
  EXPECT_EQ(counter, 10);  // it stops rising
}

TEST(NoLyricsHint, NamesTheFileAndTheTwoFoldersToPutItIn) {
  PluginState state;
  state.strings.set(kNoLyricsHintId, u"[ %s.txt ]\r\n\u3000%s\r\n\u3000%s (folder) 100%%");
  state.song.title_safe = u"Song_";
  state.song.file_path = u"C:\\Music\\Artist\\song.mp3";
  state.settings.path[0] = u"D:\\Lyrics";
  EXPECT_EQ(no_lyrics_hint(state),
            u"[ Song_.txt ]\r\n\u3000C:\\Music\\Artist\\\r\n\u3000D:\\Lyrics (folder) 100%");

  EXPECT_EQ(song_folder(u"C:\\a.mp3"), u"C:\\");
  EXPECT_EQ(song_folder(u"a.mp3"), u"a.mp3");
  EXPECT_EQ(song_folder(u""), u"");

  // Missing arguments read as empty texts; other conversions and a lone '%' are left alone.
  EXPECT_EQ(format_texts(u"%s-%s-%s", {u"a"}), u"a--");
  EXPECT_EQ(format_texts(u"%d %n %", {u"a"}), u"%d %n %");
  EXPECT_EQ(format_texts(u"%%s", {u"a"}), u"%s");
}

class EmptyPanelRecheck : public ::testing::Test {
 protected:
  EmptyPanelRecheck() {
    state.sources.recheck = std::make_unique<LyricRecheck>(files);
    state.song.title = state.song.title_safe = u"T";
    state.song.file_path = u"C:\\M\\a.mp3";
    state.settings.path[0] = u"R";
    state.clock.now_ms = 10000;
  }
  void wait_for_check() {
    while (state.sources.recheck->running())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  test::FakeLyricFiles files;  // outlives the state, whose check may still read it
  PluginState state;
};

TEST_F(EmptyPanelRecheck, AFoundFileOfTheSameSongAsksForAReload) {
  files.files = {u"R\\T.lrc"};
  ASSERT_TRUE(check_lyrics_while_empty(state));
  wait_for_check();
  EXPECT_FALSE(state.requests.reload_lyrics_request);

  state.clock.now_ms += 33;  // the next frame: too early for a check, but the report is taken
  EXPECT_FALSE(check_lyrics_while_empty(state));
  EXPECT_TRUE(state.requests.reload_lyrics_request);
  EXPECT_EQ(state.song.lyrics_path, u"R\\T.lrc");

  // A report about a song that has meanwhile been replaced is dropped.
  state.requests.reload_lyrics_request = false;
  state.clock.now_ms += kRecheckIntervalMs;
  ASSERT_TRUE(check_lyrics_while_empty(state));
  wait_for_check();
  state.song.file_path = u"C:\\M\\b.mp3";
  state.song.lyrics_path.clear();
  check_lyrics_while_empty(state);
  EXPECT_FALSE(state.requests.reload_lyrics_request);
  EXPECT_TRUE(state.song.lyrics_path.empty());
}

TEST_F(EmptyPanelRecheck, NoCheckWithProbeOffOrWhileADeletionIsPending) {
  files.files = {u"R\\T.lrc"};
  state.requests.probe_off = true;
  EXPECT_FALSE(check_lyrics_while_empty(state));
  state.requests.probe_off = false;

  // A deletion question is pending: no check starts, and a finished check's report waits.
  ASSERT_TRUE(check_lyrics_while_empty(state));
  wait_for_check();
  state.requests.delete_file_request = true;
  state.clock.now_ms += 5000;
  EXPECT_FALSE(check_lyrics_while_empty(state));
  EXPECT_FALSE(state.requests.reload_lyrics_request);
  state.requests.delete_file_request = false;
  check_lyrics_while_empty(state);
  EXPECT_TRUE(state.requests.reload_lyrics_request);
  wait_for_check();

  // Without a check object (before "init") the panel does nothing.
  state.sources.recheck.reset();
  EXPECT_FALSE(check_lyrics_while_empty(state));
}

}  // namespace
}  // namespace sabla
