#include "display/lyrics_panel_empty.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "core/sources/lyric_search_fakes.h"
#include "state/plugin_state.h"

namespace sabla {
namespace {

TEST(NoLyricsHint, WaitsTenFramesOnceInTheLifeOfThePlugIn) {
  PluginState state;
  state.settings.beginner = 1;
  state.clock.track_info_valid = true;
  state.options.options_open = true;  // frames that may not show the hint do not count
  for (int frame = 0; frame < 20; ++frame) EXPECT_FALSE(hint_due(state));
  state.options.options_open = false;
  for (int frame = 1; frame <= 10; ++frame) EXPECT_FALSE(hint_due(state)) << frame;
  EXPECT_TRUE(hint_due(state));
  EXPECT_TRUE(hint_due(state));
  EXPECT_EQ(state.frame.hint_frames, 10);  // it stops rising and is never reset
  state.settings.beginner = 2;             // only 1 asks for hints
  EXPECT_FALSE(hint_due(state));
}

TEST(NoLyricsHint, NamesTheFileAndTheTwoFoldersToPutItIn) {
  PluginState state;
  state.strings.set(kNoLyricsHintId, u"[ %s.txt ] %s %s 100%%");
  state.song.title_safe = u"Song_";
  state.song.file_path = u"C:\\Music\\song.mp3";
  state.settings.path[0] = u"D:\\Lyrics";
  EXPECT_EQ(no_lyrics_hint(state), u"[ Song_.txt ] C:\\Music\\ D:\\Lyrics 100%");
  EXPECT_EQ(song_folder(u"a.mp3"), u"a.mp3");
  // Missing arguments read as empty texts; other conversions and a lone '%' stay as they are.
  EXPECT_EQ(format_texts(u"%s-%s %d %", {u"a"}), u"a- %d %");
}

class EmptyPanelRecheck : public ::testing::Test {
 protected:
  EmptyPanelRecheck() {
    state.sources.recheck = std::make_unique<LyricRecheck>(
        files, [] { return 10000u; }, &start_worker_thread);
    state.song.title = state.song.title_safe = u"T";
    state.song.file_path = u"C:\\M\\a.mp3";
    state.settings.path[0] = u"R";
    state.clock.now_ms = 10000;
  }
  // Dropping the check would not wait for it, and it reads `files`.
  ~EmptyPanelRecheck() override { state.sources.recheck->wait(); }
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

  // The next frame at the latest (the starting call may already have found a quick report):
  // too early for another check, but the report is taken.
  state.clock.now_ms += 33;
  EXPECT_FALSE(check_lyrics_while_empty(state));
  EXPECT_TRUE(state.requests.reload_lyrics_request);
  EXPECT_EQ(state.song.lyrics_path, u"R\\T.lrc");
}

TEST_F(EmptyPanelRecheck, APendingDeletionHoldsChecksAndTheirReports) {
  files.files = {u"R\\T.lrc"};
  ASSERT_TRUE(check_lyrics_while_empty(state));
  // A quick worker may have reported before the starting call looked; otherwise the report
  // waits, and must go on waiting while the deletion question is pending.
  const bool taken_at_start = state.requests.reload_lyrics_request;
  wait_for_check();
  state.requests.delete_file_request = true;
  state.clock.now_ms += 5000;
  EXPECT_FALSE(check_lyrics_while_empty(state));
  EXPECT_EQ(state.requests.reload_lyrics_request, taken_at_start);
  state.requests.delete_file_request = false;
  check_lyrics_while_empty(state);
  EXPECT_TRUE(state.requests.reload_lyrics_request);
  wait_for_check();
}

}  // namespace
}  // namespace sabla
