// The stand-in's automation server answering the plug-in's own player bridge in this process,
// every player operation in turn, the way the plug-in inside the stand-in reaches it.
#include "automation_server.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "busy_window.h"
#include "player/com_player_bridge_win32.h"
#include "playlist.h"

namespace standin::test {
namespace {

std::wstring temp_path(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

void write_bytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

std::string read_bytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::u16string u16(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// The top-level windows of this thread only: other test programs may open busy windows of their
// own on the same desktop.
class OwnWindows final : public sabla::WindowSource {
 public:
  std::vector<sabla::TopLevelWindow> top_level_windows() override {
    std::vector<sabla::TopLevelWindow> windows;
    EnumThreadWindows(GetCurrentThreadId(), &OwnWindows::add, reinterpret_cast<LPARAM>(&windows));
    return windows;
  }

 private:
  static BOOL CALLBACK add(HWND window, LPARAM list) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    reinterpret_cast<std::vector<sabla::TopLevelWindow>*>(list)->push_back({u16(name), u"", u""});
    return TRUE;
  }
};

class AutomationServerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override {
    automation_.reset();
    CoUninitialize();
    DeleteFileW(artwork_.c_str());
    DeleteFileW(saved_.c_str());
    DeleteFileW(fallback_.c_str());
  }

  // Serves the playlist as iTunes `version`: a song with lyrics and artwork, one without, a
  // stream.
  void serve(int version) {
    const ParsedPlaylist parsed = parse_playlist(
        "[track]\ntitle = one\nlength_ms = 200000\nids = 1 7 101 5001\n"
        "[track]\ntitle = two\nlength_ms = 100000\nids = 1 7 102 5002\n"
        "[track]\ntitle = radio\nlength_ms = 100000\nids = 1 7 103 5003\n");
    ASSERT_TRUE(parsed.ok());
    model_.emplace(parsed.tracks, [this] { return now_; });
    model_->set_lyrics(0, u"[00:01:00]one line");
    write_bytes(artwork_, "PNG bytes of the cover");
    write_bytes(fallback_, "the default picture");
    automation_ = std::make_unique<PlayerAutomation>(
        *model_,
        std::vector<TrackFiles>{{L"C:\\Music\\one.m4a", artwork_},
                                {L"C:\\Music\\two.mp3", L""},
                                {L"http://radio.example/live", L""}},
        version, [this](std::string_view t) { log_ += t; }, false);
    ASSERT_HRESULT_SUCCEEDED(automation_->register_class());
  }

  uint64_t now_ = 1000;
  std::optional<PlayerModel> model_;
  std::unique_ptr<PlayerAutomation> automation_;
  std::string log_;
  OwnWindows windows_;
  sabla::ComPlayerBridge bridge_{windows_};
  sabla::StatusMessage status_;
  const std::wstring artwork_ = temp_path(L"standin_test_cover.png");
  const std::wstring saved_ = temp_path(L"standin_test_saved.jpg");
  const std::wstring fallback_ = temp_path(L"standin_test_default.jpg");
};

TEST_F(AutomationServerTest, PositionAndTransportMoveThePlayer) {
  serve(7);
  EXPECT_TRUE(bridge_.has_current_track(status_));
  EXPECT_EQ(bridge_.player_position(status_), 0);
  EXPECT_TRUE(bridge_.seek(83, status_));
  EXPECT_EQ(model_->position_ms(), 83000u);
  EXPECT_EQ(bridge_.player_position(status_), 83);

  EXPECT_TRUE(bridge_.play_current(status_));
  EXPECT_EQ(model_->state(), PlayState::kPlaying);
  now_ += 2500;
  EXPECT_EQ(bridge_.player_position(status_), 85);  // whole seconds, running with the clock
  EXPECT_TRUE(bridge_.pause(status_));
  EXPECT_EQ(model_->state(), PlayState::kPaused);
  EXPECT_TRUE(bridge_.fast_forward(status_));
  EXPECT_EQ(model_->position_ms(), 95500u);
  EXPECT_TRUE(bridge_.rewind(status_));
  EXPECT_TRUE(bridge_.rewind(status_));
  EXPECT_EQ(model_->position_ms(), 75500u);
  model_->play();
  EXPECT_TRUE(bridge_.next_track(status_));
  EXPECT_EQ(model_->current(), 1u);
  EXPECT_TRUE(bridge_.previous_track(status_));
  EXPECT_EQ(model_->current(), 0u);

  // What the plug-in did reaches the visualizer as the player's own events.
  using Kind = PlayerEvent::Kind;
  std::vector<Kind> kinds;
  for (const PlayerEvent& e : model_->take_events()) kinds.push_back(e.kind);
  EXPECT_EQ(kinds, (std::vector<Kind>{Kind::kSetPosition, Kind::kPlay, Kind::kPause,
                                      Kind::kSetPosition, Kind::kSetPosition, Kind::kSetPosition,
                                      Kind::kPlay, Kind::kChangeTrack, Kind::kChangeTrack}));
  EXPECT_NE(log_.find("automation iTunes.NextTrack call -> ok"), std::string::npos) << log_;
}

TEST_F(AutomationServerTest, TheCurrentTracksIdentityLocationAndArtwork) {
  serve(7);
  sabla::PlayerTrackIds ids;
  EXPECT_TRUE(bridge_.current_track_ids(ids, status_));
  EXPECT_EQ(ids, (sabla::PlayerTrackIds{1, 7, 101, 5001}));
  std::u16string path;
  EXPECT_TRUE(bridge_.current_track_location(path, status_));
  EXPECT_EQ(path, u"C:\\Music\\one.m4a");

  EXPECT_TRUE(bridge_.save_artwork(u16(saved_), u16(fallback_), status_));
  EXPECT_EQ(read_bytes(saved_), "PNG bytes of the cover");
  model_->next();
  EXPECT_TRUE(bridge_.save_artwork(u16(saved_), u16(fallback_), status_));
  EXPECT_EQ(read_bytes(saved_), "the default picture");  // no artwork: the default stands in

  model_->next();  // the stream
  EXPECT_FALSE(bridge_.current_track_location(path, status_));
  EXPECT_TRUE(path.empty());
  EXPECT_TRUE(bridge_.current_track_ids(ids, status_));
  EXPECT_EQ(ids.track_id, 103);
}

TEST_F(AutomationServerTest, LyricsAreReadAndWrittenFromVersionFive) {
  serve(5);
  sabla::SongLyrics lyrics;
  EXPECT_TRUE(bridge_.has_lyrics(5, status_));
  EXPECT_TRUE(bridge_.read_lyrics(lyrics, 5, status_));
  EXPECT_EQ(lyrics.text, u"[00:01:00]one line");
  // Written to the track the numbers name, not the current one, as plain text.
  EXPECT_TRUE(bridge_.write_lyrics(
      {1, 7, 102, 5002}, u"[00:01:00]first\r\n@by someone\r\n[00:02:00]second", 5, status_));
  EXPECT_EQ(model_->lyrics(1), u"first\r\n\r\nsecond");
  EXPECT_EQ(model_->lyrics(0), u"[00:01:00]one line");
  EXPECT_FALSE(bridge_.write_lyrics({1, 7, 999, 5002}, u"nowhere", 5, status_));
  model_->next();
  EXPECT_TRUE(bridge_.read_lyrics(lyrics, 5, status_));
  EXPECT_EQ(lyrics.text, u"first\r\n\r\nsecond");
}

TEST_F(AutomationServerTest, AVersionFourPlayerHasNoLyrics) {
  serve(4);
  sabla::SongLyrics lyrics;
  // The bridge asks, as for a newer player; the older player does not know the member.
  EXPECT_FALSE(bridge_.has_lyrics(5, status_));
  EXPECT_FALSE(bridge_.read_lyrics(lyrics, 5, status_));
  EXPECT_FALSE(bridge_.write_lyrics({1, 7, 101, 5001}, u"x", 5, status_));
  EXPECT_EQ(model_->lyrics(0), u"[00:01:00]one line");
  EXPECT_EQ(bridge_.player_position(status_), 0);
}

TEST_F(AutomationServerTest, ABusyPlayerIsSeenAndRefuses) {
  serve(7);
  // Refused by the server even when the plug-in does not look for the modal window.
  automation_->set_busy(true);
  EXPECT_EQ(bridge_.player_position(status_), -1);
  EXPECT_FALSE(bridge_.seek(10, status_));
  EXPECT_EQ(model_->position_ms(), 0u);
  EXPECT_NE(log_.find("automation call refused, the player is busy: iTunes.PlayerPosition get"),
            std::string::npos)
      << log_;

  // The modal window is what the plug-in's own busy test finds.
  BusyWindow busy;
  ASSERT_TRUE(busy.open(GetModuleHandleW(nullptr)));
  EXPECT_EQ(bridge_.player_position(status_), -1);
  EXPECT_EQ(status_.text, u"iTunesCOM was discontinued.");
  busy.close();
  automation_->set_busy(false);
  status_ = {};
  EXPECT_EQ(bridge_.player_position(status_), 0);
  EXPECT_TRUE(status_.text.empty());
}

}  // namespace
}  // namespace standin::test
