// The stand-in as a process, with the fake plug-in that reports every message it receives and
// asks the stand-in's automation object from inside its handler.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <regex>

#include "standin_process.h"

namespace standin::test {
namespace {

uint64_t file_size(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return in ? static_cast<uint64_t>(in.tellg()) : 0;
}

// Each of `texts` is found in a later line than the one before; returns false at the first that
// is not, naming it.
::testing::AssertionResult in_order(const StandinRun& run, const std::vector<std::string>& texts) {
  int line = -1;
  for (const std::string& text : texts) {
    const int found = run.find(text, line + 1);
    if (found < 0) {
      return ::testing::AssertionFailure()
             << "\"" << text << "\" not found after line " << line << "\n"
             << run.out;
    }
    line = found;
  }
  return ::testing::AssertionSuccess();
}

// The fake plug-in's idle reports: the number of idle calls and the smallest gap between two.
struct IdleReport {
  int calls = 0;
  int smallest_gap_ms = 1 << 30;
  int bad_renders = 0;
};

IdleReport idle_report(const StandinRun& run) {
  static const std::regex pattern(
      R"(fake: idle x(\d+), gaps >= (\d+|-) ms, render x(\d+), bad renders (\d+))");
  IdleReport report;
  for (const std::string& line : run.lines) {
    std::smatch m;
    if (!std::regex_search(line, m, pattern)) continue;
    report.calls += std::stoi(m[1]);
    if (m[2] != "-") report.smallest_gap_ms = std::min(report.smallest_gap_ms, std::stoi(m[2]));
    report.bad_renders += std::stoi(m[4]);
  }
  return report;
}

struct WindowSearch {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<WindowSearch*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (owner != s->process_id || std::wstring(name) != L"SablaStandinMain") return TRUE;
  s->found = window;
  return FALSE;
}

// The stand-in's main window, once it exists.
HWND main_window_of(DWORD process_id) {
  for (int tries = 0; tries < 300; ++tries) {
    WindowSearch search{process_id, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    if (search.found && IsWindowVisible(search.found)) return search.found;
    Sleep(100);
  }
  return nullptr;
}

void click(HWND window, int button) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}

class StandinRunTest : public ::testing::Test {
 protected:
  std::string playlist() const { return samples_dir() + "\\playlist.txt"; }
};

TEST_F(StandinRunTest, PlaysTheScenarioAndThePlugInHearsEveryStepInOrder) {
  write_file("sequence_scenario.txt",
             "play\nwait 400\nseek 83000\nwait 200\npause\nwait 150\nresume\nwait 100\n"
             "configure\nwait 200\nprev\nwait 100\nkey F5\nwait 100\nresize 400x300\nwait 100\n"
             "hide\nshow\nwait 100\nscreenshot sequence_shot.png\nquit\n");
  const StandinRun run = run_standin(
      {"--plugin", fake_plugin(), "--playlist", playlist(), "--scenario", "sequence_scenario.txt"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  const std::string samples = samples_dir();
  const uint64_t lyric_characters =
      (file_size(samples + "\\Tsukimi Lanterns - Paper Lantern Road.lrc") - 2) / 2;

  EXPECT_TRUE(in_order(
      run,
      {"fake: init host 7", "visual instance", "fake: show window ok rect 0 0 444 640",
       // The plug-in reaches the stand-in's automation object from inside its handler.
       "fake: automation position 0",
       "fake: vply \"Paper Lantern Road\" by \"Tsukimi Lanterns\" file \"Tsukimi Lanterns - "
       "Paper Lantern Road.m4a\" start 0 stop 0 length 184000 identity 101/5001 stream 1540",
       "fake: location " + samples + "\\Tsukimi Lanterns - Paper Lantern Road.m4a",
       "fake: ids 1 7 101 5001", "fake: lyrics " + std::to_string(lyric_characters) + " characters",
       "fake: artwork " + std::to_string(file_size(samples + "\\artwork.png")) + " bytes",
       "visual 'vply' track \"Paper Lantern Road\" -> 0", "fake: player second 0",
       "fake: setp 83000, player at 83 s", "fake: player second 83", "fake: vpau", "fake: vunp",
       "fake: cnfg", "fake: lyrics written and read back", "fake: asked for the next track",
       // The track change the plug-in caused waits until its handler has returned.
       "visual 'cnfg' -> 0",
       "fake: ctrk \"Tide Tables\" by \"Tsukimi Lanterns\" file \"Tsukimi Lanterns - Tide "
       "Tables.m4a\" start 5000 stop 90000 length 95000 identity 102/5002 stream 1540",
       "fake: ids 1 7 102 5002", "fake: lyrics 0 characters", "fake: artwork error 0x80070057",
       "fake: player second 5", "fake: ctrk \"Paper Lantern Road\"",
       // Written through the automation interface at "cnfg", and kept by the player.
       "fake: lyrics 37 characters", "fake: key F5 down", "fake: key F5 up",
       "fake: swin window ok rect 0 0 264 400", "fake: hide",
       "fake: show window ok rect 0 0 264 400",
       "screenshot: sequence_shot.png (client area 400x300", "fake: hide", "fake: clr after",
       "visual 'clr ' -> 0", "plug-in 'clr ' returned 0"}));
  EXPECT_TRUE(run.all("fake: wrong instance").empty());
  EXPECT_TRUE(run.all("not sent").empty()) << run.out;

  // Idle time at the registered pace: never closer than 25 ms (a millisecond of rounding
  // aside), and steadily through the waits.
  const IdleReport idle = idle_report(run);
  EXPECT_GE(idle.smallest_gap_ms, 24);
  EXPECT_GE(idle.calls, 20);
  EXPECT_EQ(idle.bad_renders, 0);
}

TEST_F(StandinRunTest, AnOldBusyPlayerRefusesAutomationAndHasNoLyrics) {
  write_file("busy_scenario.txt", "play\nwait 150\nbusy off\nwait 150\nnext\nwait 100\nquit\n");
  const StandinRun run =
      run_standin({"--plugin", fake_plugin(), "--playlist", playlist(), "--host-version", "4",
                   "--busy", "--scenario", "busy_scenario.txt"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_TRUE(in_order(
      run, {"as iTunes 4", "player: busy, a modal window is open", "fake: init host 4",
            "fake: show window ok", "fake: automation error 0x80010001",
            "fake: vply \"Paper Lantern Road\"", "fake: location error 0x80010001",
            "fake: busy window opened",
            "automation call refused, the player is busy: iTunes.PlayerPosition get",
            "fake: position while busy error 0x80010001", "player: no longer busy",
            "fake: busy window closed", "fake: player second 0", "fake: ctrk \"Tide Tables\"",
            "fake: location " + samples_dir() + "\\Tsukimi Lanterns - Tide Tables.m4a",
            // Players before version 5 have no lyrics member at all.
            "fake: lyrics error 0x80020006", "fake: clr after"}));
  // No position got through while the player was busy.
  EXPECT_EQ(run.find("fake: player second"),
            run.find("fake: player second", run.find("player: no longer busy")));
}

TEST_F(StandinRunTest, TracksPlayToTheirEndOneAfterAnother) {
  write_file("short_words.txt", "\xEF\xBB\xBF[00:00:10]short words\r\n");
  write_file("short_playlist.txt",
             "[track]\ntitle = one\nlength_ms = 400\nlyrics = short_words.txt\n"
             "[track]\ntitle = two\nlength_ms = 900\nstart_ms = 500\nids = 9 9 9 9\n");
  write_file("short_scenario.txt", "play\nwait 1500\nquit\n");
  const StandinRun run = run_standin({"--plugin", fake_plugin(), "--playlist", "short_playlist.txt",
                                      "--host-version", "5", "--scenario", "short_scenario.txt"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_TRUE(in_order(
      run, {"track 1: one  (0:00), lyrics 23 characters", "fake: init host 5", "fake: vply \"one\"",
            "fake: lyrics 23 characters", "fake: ctrk \"two\"", "fake: ids 9 9 9 9",
            "fake: lyrics 0 characters", "fake: vstp", "fake: clr after"}));
  EXPECT_TRUE(run.all("fake: ctrk").size() == 1u) << run.out;
}

TEST_F(StandinRunTest, WithoutAScenarioTheUserPlaysAndClosesTheWindow) {
  constexpr int kPlayButton = 102;
  constexpr int kNextButton = 103;
  const StandinRun run = run_standin({"--plugin", fake_plugin(), "--playlist", playlist()},
                                     [](unsigned long process_id) {
                                       const HWND window = main_window_of(process_id);
                                       if (!window) {
                                         ADD_FAILURE() << "the stand-in's window did not appear";
                                         return;
                                       }
                                       Sleep(300);
                                       click(window, kPlayButton);
                                       Sleep(300);
                                       click(window, kNextButton);
                                       Sleep(300);
                                       click(window, kPlayButton);  // now a pause
                                       Sleep(200);
                                       PostMessageW(window, WM_CLOSE, 0, 0);
                                     });
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  // The plug-in lets go of the window before it goes.
  EXPECT_TRUE(in_order(run, {"fake: show window ok", "fake: vply \"Paper Lantern Road\"",
                             "fake: ctrk \"Tide Tables\"", "fake: vpau", "fake: hide",
                             "fake: clr after", "plug-in 'clr ' returned 0"}));
  EXPECT_TRUE(run.all("scenario").empty());
}

TEST_F(StandinRunTest, UnusableInputsEndTheRunBeforeAnythingStarts) {
  write_file("bad_scenario.txt", "play\ndance\nwait soon\n");
  const StandinRun scenario =
      run_standin({"--playlist", playlist(), "--scenario", "bad_scenario.txt"});
  EXPECT_EQ(scenario.exit_code, 8);
  EXPECT_NE(scenario.err.find("bad_scenario.txt: line 2: unknown step \"dance\""),
            std::string::npos)
      << scenario.err;
  EXPECT_NE(scenario.err.find("line 3: wait wants"), std::string::npos) << scenario.err;

  write_file("bad_playlist.txt", "[track]\ntitle = x\nlength_ms = 1000\nlyrics = missing.lrc\n");
  const StandinRun playlist_run = run_standin({"--playlist", "bad_playlist.txt", "--headless"});
  EXPECT_EQ(playlist_run.exit_code, 7);
  EXPECT_NE(playlist_run.err.find("track 1: cannot read the lyrics file missing.lrc"),
            std::string::npos)
      << playlist_run.err;
}

}  // namespace
}  // namespace standin::test
