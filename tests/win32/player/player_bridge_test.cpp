#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "player_bridge_fixture.h"

namespace sabla::test {
namespace {

using Calls = std::vector<std::wstring>;

TEST_F(PlayerBridgeTest, TransportCallsReachThePlayer) {
  EXPECT_TRUE(bridge.seek(42, status));
  EXPECT_EQ(fake.position, 42);
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.PlayerPosition put"}));
  EXPECT_EQ(bridge.player_position(status), 42);
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.PlayerPosition get"}));

  EXPECT_TRUE(bridge.play_current(status));
  EXPECT_TRUE(fake.playing);
  EXPECT_EQ(calls(),
            (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get", L"iTunes.Play call"}));
  EXPECT_TRUE(bridge.pause(status));
  EXPECT_FALSE(fake.playing);
  EXPECT_TRUE(bridge.fast_forward(status));
  EXPECT_TRUE(bridge.rewind(status));
  EXPECT_EQ(calls(),
            (Calls{L"iTunes as IiTunes", L"iTunes.Pause call", L"iTunes as IiTunes",
                   L"iTunes.FastForward call", L"iTunes as IiTunes", L"iTunes.Rewind call"}));
  EXPECT_TRUE(bridge.has_current_track(status));
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get"}));

  // Without a current track nothing is played.
  fake.current = -1;
  EXPECT_FALSE(bridge.has_current_track(status));
  EXPECT_FALSE(bridge.play_current(status));
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get", L"iTunes as IiTunes",
                            L"iTunes.CurrentTrack get"}));
  // Each operation created its own object and released it again; the status stayed as it was.
  EXPECT_EQ(fake.script.objects_created, 9);
  EXPECT_EQ(status.text, u"Saved lrc");
  EXPECT_EQ(status.frames, 50);
}

TEST_F(PlayerBridgeTest, TrackChangesAreConfirmedByThePosition) {
  fake.position = 30;
  EXPECT_TRUE(bridge.next_track(status));
  EXPECT_EQ(fake.current, 1);
  EXPECT_EQ(calls(),
            (Calls{L"iTunes as IiTunes", L"iTunes.NextTrack call", L"iTunes.PlayerPosition get"}));
  EXPECT_TRUE(bridge.previous_track(status));
  EXPECT_EQ(fake.current, 0);
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.PreviousTrack call",
                            L"iTunes.PlayerPosition get"}));

  fake.script.fail(L"PlayerPosition", E_FAIL);
  EXPECT_FALSE(bridge.next_track(status));
  EXPECT_EQ(fake.current, 1);
  fake.script.failures.clear();
  fake.script.fail(L"PreviousTrack", RPC_E_CALL_REJECTED);
  EXPECT_FALSE(bridge.previous_track(status));
  calls();
  EXPECT_FALSE(bridge.previous_track(status));
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.PreviousTrack call"}));
}

TEST_F(PlayerBridgeTest, TrackIdentityIsReadInOrderAndOnlyWhole) {
  PlayerTrackIds ids;
  EXPECT_TRUE(bridge.current_track_ids(ids, status));
  EXPECT_EQ(ids, (PlayerTrackIds{1, 2, 3, 4}));
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get", L"Track as IITObject",
                            L"Track.sourceID get", L"Track.playlistID get", L"Track.trackID get",
                            L"Track.TrackDatabaseID get"}));

  // A failed number leaves no stale identity behind, and the rest is not asked.
  fake.script.fail(L"trackID", E_FAIL);
  EXPECT_FALSE(bridge.current_track_ids(ids, status));
  EXPECT_EQ(ids, PlayerTrackIds{});
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get", L"Track as IITObject",
                            L"Track.sourceID get", L"Track.playlistID get", L"Track.trackID get"}));
  fake.script.failures.clear();
  fake.script.answer(L"TrackDatabaseID", bstr_value(L"4"));
  ids = {9, 9, 9, 9};
  EXPECT_FALSE(bridge.current_track_ids(ids, status));
  EXPECT_EQ(ids, PlayerTrackIds{});
  // Smaller integer types are numbers too.
  fake.script.answer(L"TrackDatabaseID", typed_value(VT_I2, -7));
  EXPECT_TRUE(bridge.current_track_ids(ids, status));
  EXPECT_EQ(ids, (PlayerTrackIds{1, 2, 3, -7}));
  fake.current = -1;
  EXPECT_FALSE(bridge.current_track_ids(ids, status));
}

TEST_F(PlayerBridgeTest, LocationIsAFilePathAndNeverAStream) {
  std::u16string path = u"old";
  EXPECT_TRUE(bridge.current_track_location(path, status));
  EXPECT_EQ(path, u"C:\\Music\\a.mp3");
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get",
                            L"Track as IITFileOrCDTrack", L"Track.Location get"}));

  for (const wchar_t* stream : {L"http://radio.example/live", L"HTTP:x", L"hTTp:"}) {
    fake.tracks[0].location = stream;
    path = u"old";
    EXPECT_FALSE(bridge.current_track_location(path, status)) << stream;
    EXPECT_EQ(path, u"");
  }
  fake.tracks[0].location = L"http";
  EXPECT_TRUE(bridge.current_track_location(path, status));
  EXPECT_EQ(path, u"http");

  // A path longer than the path buffer is cut to 259 units.
  fake.tracks[0].location = L"C:\\" + std::wstring(400, L'x');
  EXPECT_TRUE(bridge.current_track_location(path, status));
  EXPECT_EQ(path, u"C:\\" + std::u16string(256, u'x'));

  // Tracks that are no files, and answers that are no text, give no path.
  fake.script.answer(L"Location", long_value(5));
  path = u"old";
  EXPECT_FALSE(bridge.current_track_location(path, status));
  EXPECT_EQ(path, u"");
  fake.script.replacements.clear();
  fake.tracks[0].is_file = false;
  calls();
  EXPECT_FALSE(bridge.current_track_location(path, status));
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get"}));
}

TEST_F(PlayerBridgeTest, ReadingLyricsFillsTheRecord) {
  SongLyrics lyrics{u"stale", true};
  EXPECT_TRUE(bridge.has_lyrics(7, status));
  EXPECT_TRUE(bridge.read_lyrics(lyrics, 7, status));
  EXPECT_EQ(lyrics.text, u"[00:01:00]one");
  EXPECT_TRUE(lyrics.has);
  EXPECT_EQ(calls(),
            (Calls{L"iTunes as IiTunes", L"iTunes.CurrentTrack get", L"Track as IITFileOrCDTrack",
                   L"Track.Lyrics get", L"iTunes as IiTunes", L"iTunes.CurrentTrack get",
                   L"Track as IITFileOrCDTrack", L"Track.Lyrics get"}));

  // No lyrics: the record is emptied.
  fake.current = 1;
  EXPECT_FALSE(bridge.has_lyrics(5, status));
  EXPECT_FALSE(bridge.read_lyrics(lyrics, 5, status));
  EXPECT_EQ(lyrics.text, u"");
  EXPECT_FALSE(lyrics.has);

  // Long lyrics are cut to the lyric buffer; a zero unit ends them.
  fake.tracks[1].lyrics = std::wstring(40000, L'y');
  EXPECT_TRUE(bridge.read_lyrics(lyrics, 5, status));
  EXPECT_EQ(lyrics.text, std::u16string(32767, u'y'));
  fake.tracks[1].lyrics = std::wstring(L"ab\0cd", 5);
  EXPECT_TRUE(bridge.read_lyrics(lyrics, 5, status));
  EXPECT_EQ(lyrics.text, u"ab");
  fake.tracks[1].lyrics = std::wstring(L"\0cd", 3);
  EXPECT_FALSE(bridge.has_lyrics(5, status));

  // Failures and answers of the wrong type leave the record empty.
  fake.script.fail(L"Lyrics", E_FAIL);
  lyrics = {u"stale", true};
  EXPECT_FALSE(bridge.read_lyrics(lyrics, 5, status));
  EXPECT_EQ(lyrics.text, u"");
  EXPECT_FALSE(lyrics.has);
  fake.script.failures.clear();
  fake.script.answer(L"Lyrics", long_value(1));
  EXPECT_FALSE(bridge.has_lyrics(5, status));
  EXPECT_FALSE(bridge.read_lyrics(lyrics, 5, status));
  fake.script.replacements.clear();
  fake.tracks[1].lyrics = L"text";
  fake.tracks[1].is_file = false;
  EXPECT_FALSE(bridge.has_lyrics(5, status));
  EXPECT_FALSE(bridge.read_lyrics(lyrics, 5, status));
}

TEST_F(PlayerBridgeTest, WritingLyricsStoresPlainTextInTheTrackOfTheIds) {
  // The edited song need not be the one playing.
  EXPECT_TRUE(bridge.write_lyrics({1, 2, 5, 6}, u"[00:01:00]a\r\n@by x\r\n[00:02]b[note][00:03]c",
                                  5, status));
  EXPECT_EQ(fake.tracks[1].lyrics, L"a\r\n\r\nb[note][00:03]c");
  EXPECT_EQ(fake.tracks[0].lyrics, L"[00:01:00]one");
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.GetITObjectByID call",
                            L"Track as IITFileOrCDTrack", L"Track.Lyrics put"}));
  // Text beyond the lyric buffer is not sent.
  EXPECT_TRUE(bridge.write_lyrics({1, 2, 3, 4}, std::u16string(33000, u'z'), 5, status));
  EXPECT_EQ(fake.tracks[0].lyrics, std::wstring(32767, L'z'));

  // Unknown ids, refusals and tracks that are no files.
  EXPECT_FALSE(bridge.write_lyrics({1, 2, 3, 5}, u"x", 5, status));
  fake.script.fail(L"Lyrics", E_FAIL);
  EXPECT_FALSE(bridge.write_lyrics({1, 2, 3, 4}, u"x", 5, status));
  fake.script.failures.clear();
  fake.script.fail(L"GetITObjectByID", E_INVALIDARG);
  calls();
  EXPECT_FALSE(bridge.write_lyrics({1, 2, 3, 4}, u"x", 5, status));
  EXPECT_EQ(calls(), (Calls{L"iTunes as IiTunes", L"iTunes.GetITObjectByID call"}));
  fake.script.failures.clear();
  fake.script.answer(L"GetITObjectByID", bstr_value(L"track"));
  EXPECT_FALSE(bridge.write_lyrics({1, 2, 3, 4}, u"x", 5, status));
  fake.script.replacements.clear();
  fake.tracks[0].is_file = false;
  EXPECT_FALSE(bridge.write_lyrics({1, 2, 3, 4}, u"x", 5, status));
  EXPECT_EQ(fake.tracks[0].lyrics, std::wstring(32767, L'z'));
}

TEST_F(PlayerBridgeTest, LyricsNeedAHostOfVersionFive) {
  SongLyrics lyrics{u"stale", true};
  // Not even the busy test runs: the status stays.
  windows.windows = {{u"iTunesCustomModalDialog", u"", u""}};
  EXPECT_FALSE(bridge.has_lyrics(4, status));
  EXPECT_FALSE(bridge.read_lyrics(lyrics, 4, status));
  EXPECT_FALSE(bridge.write_lyrics({1, 2, 3, 4}, u"new", 4, status));
  EXPECT_EQ(lyrics.text, u"");
  EXPECT_FALSE(lyrics.has);
  EXPECT_EQ(fake.tracks[0].lyrics, L"[00:01:00]one");
  EXPECT_EQ(fake.script.objects_created, 0);
  EXPECT_EQ(calls(), Calls{});
  EXPECT_EQ(windows.asked, 0);
  EXPECT_EQ(status.text, u"Saved lrc");
}

TEST_F(PlayerBridgeTest, ErrorsAndWrongAnswersFailCleanly) {
  fake.position = 12;
  fake.script.fail(L"PlayerPosition", E_FAIL);
  EXPECT_EQ(bridge.player_position(status), -1);
  EXPECT_FALSE(bridge.seek(3, status));
  fake.script.failures.clear();
  const std::pair<UniqueVariant, int32_t> positions[] = {
      {bstr_value(L"12"), -1},
      {typed_value(VT_R8, 12), -1},
      {typed_value(VT_I2, 12), 12},
      {typed_value(VT_UI1, 200), 200},
      {typed_value(VT_UI4, 70000), 70000},
      {typed_value(VT_UI4, 0xFFFFFFFF), -1},
      {typed_value(VT_I8, 1LL << 40), -1},
      {long_value(-5), -1},
  };
  for (const auto& [answer, expected] : positions) {
    UniqueVariant copy;
    ASSERT_HRESULT_SUCCEEDED(VariantCopy(copy.put(), const_cast<VARIANT*>(&answer.get())));
    fake.script.answer(L"PlayerPosition", std::move(copy));
    EXPECT_EQ(bridge.player_position(status), expected) << answer.type();
  }
  fake.script.replacements.clear();

  fake.script.answer(L"CurrentTrack", bstr_value(L"track"));
  EXPECT_FALSE(bridge.has_current_track(status));
  EXPECT_FALSE(bridge.play_current(status));
  fake.script.answer(L"CurrentTrack", long_value(1));
  EXPECT_FALSE(bridge.has_current_track(status));
  fake.script.replacements.clear();

  for (const wchar_t* method : {L"Play", L"Pause", L"FastForward", L"Rewind"}) {
    fake.script.fail(method, DISP_E_MEMBERNOTFOUND);
  }
  EXPECT_FALSE(bridge.play_current(status));
  EXPECT_FALSE(bridge.pause(status));
  EXPECT_FALSE(bridge.fast_forward(status));
  EXPECT_FALSE(bridge.rewind(status));
  EXPECT_FALSE(fake.playing);
  EXPECT_EQ(status.text, u"Saved lrc");
}

TEST_F(PlayerBridgeTest, EveryOperationStopsWhileThePlayerIsBusy) {
  windows.windows = {{u"#32770", u"Delete", u"iTunes"}};
  PlayerTrackIds ids{1, 1, 1, 1};
  std::u16string path = u"old";
  SongLyrics lyrics{u"stale", true};
  EXPECT_FALSE(bridge.seek(1, status));
  EXPECT_EQ(status.text, u"iTunesCOM was discontinued.");
  EXPECT_EQ(status.frames, 10);
  status = {};
  EXPECT_EQ(bridge.player_position(status), -1);
  EXPECT_EQ(status.frames, 10);
  EXPECT_FALSE(bridge.has_current_track(status));
  EXPECT_FALSE(bridge.play_current(status));
  EXPECT_FALSE(bridge.pause(status));
  EXPECT_FALSE(bridge.fast_forward(status));
  EXPECT_FALSE(bridge.rewind(status));
  EXPECT_FALSE(bridge.previous_track(status));
  EXPECT_FALSE(bridge.next_track(status));
  EXPECT_FALSE(bridge.current_track_ids(ids, status));
  EXPECT_FALSE(bridge.current_track_location(path, status));
  EXPECT_FALSE(bridge.save_artwork(u"C:\\nowhere\\art.jpg", u"C:\\nowhere\\default.jpg", status));
  EXPECT_FALSE(bridge.write_lyrics({1, 2, 3, 4}, u"new", 7, status));
  EXPECT_FALSE(bridge.has_lyrics(7, status));
  EXPECT_FALSE(bridge.read_lyrics(lyrics, 7, status));
  EXPECT_EQ(windows.asked, 15);
  EXPECT_EQ(fake.script.objects_created, 0);
  EXPECT_EQ(calls(), Calls{});
  EXPECT_EQ(path, u"");
  EXPECT_EQ(lyrics.text, u"");
  EXPECT_EQ(ids, PlayerTrackIds{});
  EXPECT_EQ(status.text, u"iTunesCOM was discontinued.");
  EXPECT_EQ(status.frames, 10);
  EXPECT_EQ(fake.position, 0);
}

TEST_F(PlayerBridgeTest, OperationsLeaveTheCallersComAsTheyFoundIt) {
  EXPECT_EQ(bridge.player_position(status), 0);
  EXPECT_TRUE(bridge.has_lyrics(7, status));
  // Still initialised exactly once by the fixture: a further CoInitialize only counts up.
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
}

}  // namespace
}  // namespace sabla::test
