#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "player_bridge_fixture.h"
#include "win32/settings/temp_folder.h"

namespace sabla::test {
namespace {

using Calls = std::vector<std::wstring>;

std::string file_text(const std::wstring& path) {
  const std::vector<uint8_t> bytes = read_bytes(path);
  return std::string(bytes.begin(), bytes.end());
}

bool write_text(const std::wstring& path, const std::string& text) {
  return write_bytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

class PlayerArtworkTest : public PlayerBridgeTest {
 protected:
  void SetUp() override {
    PlayerBridgeTest::SetUp();
    ASSERT_TRUE(write_text(default_artwork, "DEFAULT"));
    ASSERT_TRUE(write_text(target, "PREVIOUS SONG"));
  }
  bool save() { return bridge.save_artwork(u16(target), u16(default_artwork), status); }

  TempFolder folder;
  const std::wstring target = folder / L"Sabla_temp.jpg";
  const std::wstring default_artwork = folder / L"default.jpg";
};

TEST_F(PlayerArtworkTest, TheTracksArtworkIsSaved) {
  EXPECT_TRUE(save());
  EXPECT_EQ(file_text(target), "JPEG-A");
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get", L"Track.Artwork get",
                            L"Artworks.Item get", L"Artwork.SaveArtworkToFile call"}));
  EXPECT_EQ(file_text(default_artwork), "DEFAULT");
}

TEST_F(PlayerArtworkTest, AnyFailedStepPutsTheDefaultPictureInPlace) {
  auto expect_default = [&](const char* what) {
    ASSERT_TRUE(write_text(target, "PREVIOUS SONG"));
    EXPECT_TRUE(save()) << what;
    EXPECT_EQ(file_text(target), "DEFAULT") << what;
  };
  fake.current = 1;  // a track without artwork: its collection is empty
  expect_default("no artwork");
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get", L"Track.Artwork get",
                            L"Artworks.Item get"}));
  fake.current = -1;
  expect_default("no track");
  fake.current = 0;
  fake.script.fail(L"SaveArtworkToFile", E_FAIL);
  expect_default("save refused");
  fake.script.failures.clear();
  fake.script.fail(L"Artwork", E_FAIL);
  expect_default("artwork refused");
  fake.script.failures.clear();
  fake.script.answer(L"Item", long_value(1));
  expect_default("item of the wrong type");
  fake.script.replacements.clear();
  // A save into a folder that does not exist fails in the player; the copy fails as well and
  // nothing is left behind.
  const std::wstring missing = folder / L"none\\art.jpg";
  EXPECT_TRUE(bridge.save_artwork(u16(missing), u16(default_artwork), status));
  EXPECT_FALSE(exists(missing));
}

TEST_F(PlayerArtworkTest, WithoutADefaultPictureTheOldFileIsGone) {
  fake.current = 1;
  EXPECT_TRUE(bridge.save_artwork(u16(target), u"", status));
  EXPECT_FALSE(exists(target));
  ASSERT_TRUE(write_text(target, "PREVIOUS SONG"));
  EXPECT_TRUE(bridge.save_artwork(u16(target), u16(folder / L"missing.jpg"), status));
  EXPECT_FALSE(exists(target));
}

TEST_F(PlayerArtworkTest, TheDefaultPictureIsNeverDeletedAsItsOwnTarget) {
  fake.current = 1;
  std::wstring same = default_artwork;
  CharUpperBuffW(same.data(), static_cast<DWORD>(same.size()));
  EXPECT_TRUE(bridge.save_artwork(u16(same), u16(default_artwork), status));
  EXPECT_EQ(file_text(default_artwork), "DEFAULT");
}

TEST_F(PlayerArtworkTest, NothingIsTouchedWhileThePlayerIsBusy) {
  windows.windows = {{u"NativeHWNDHost", u"", u"iTunes"}};
  fake.current = 1;
  EXPECT_FALSE(save());
  EXPECT_EQ(file_text(target), "PREVIOUS SONG");
  EXPECT_EQ(status.text, u"iTunesCOM was discontinued.");
  EXPECT_EQ(calls(), Calls{});
}

// No automation server registered at all.
class MissingPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }

  ScriptedWindows windows;
  ComPlayerBridge bridge{windows};
  StatusMessage status{u"Saved lrc", 50};
  TempFolder folder;
};

TEST_F(MissingPlayerTest, EveryOperationFailsButArtworkFallsBack) {
  PlayerTrackIds ids{1, 1, 1, 1};
  std::u16string path = u"old";
  SongLyrics lyrics{u"stale", true};
  EXPECT_FALSE(bridge.seek(1, status));
  EXPECT_EQ(bridge.player_position(status), -1);
  EXPECT_FALSE(bridge.has_current_track(status));
  EXPECT_FALSE(bridge.play_current(status));
  EXPECT_FALSE(bridge.pause(status));
  EXPECT_FALSE(bridge.fast_forward(status));
  EXPECT_FALSE(bridge.rewind(status));
  EXPECT_FALSE(bridge.previous_track(status));
  EXPECT_FALSE(bridge.next_track(status));
  EXPECT_FALSE(bridge.current_track_ids(ids, status));
  EXPECT_EQ(ids, PlayerTrackIds{});
  EXPECT_FALSE(bridge.current_track_location(path, status));
  EXPECT_EQ(path, u"");
  EXPECT_FALSE(bridge.write_lyrics({1, 2, 3, 4}, u"x", 7, status));
  EXPECT_FALSE(bridge.has_lyrics(7, status));
  EXPECT_FALSE(bridge.read_lyrics(lyrics, 7, status));
  EXPECT_EQ(lyrics.text, u"");

  const std::wstring target = folder / L"Sabla_temp.jpg";
  const std::wstring default_artwork = folder / L"default.jpg";
  ASSERT_TRUE(write_text(default_artwork, "DEFAULT"));
  EXPECT_TRUE(bridge.save_artwork(u16(target), u16(default_artwork), status));
  EXPECT_EQ(file_text(target), "DEFAULT");
  EXPECT_EQ(status.text, u"Saved lrc");
  EXPECT_EQ(status.frames, 50);
}

}  // namespace
}  // namespace sabla::test
