#include "player/player_busy.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/player/scripted_windows.h"

namespace sabla {
namespace {

using test::ScriptedWindows;

bool busy(std::vector<TopLevelWindow> windows) { return player_is_busy(windows); }

TEST(PlayerBusy, PlayerModalWindowsAlwaysCount) {
  EXPECT_TRUE(busy({{u"iTunesCustomModalDialog", u"", u""}}));
  EXPECT_TRUE(busy({{u"iTunesCustomFauxModalDialog", u"Sabla", u""}}));
  EXPECT_FALSE(busy({{u"iTunesCustomModalDialogX", u"", u"iTunes"}}));
  EXPECT_FALSE(busy({{u"itunescustommodaldialog", u"", u""}}));  // class names as registered
  EXPECT_FALSE(busy({}));
}

TEST(PlayerBusy, DialogsCountWhenOwnedByThePlayerAndNotOurs) {
  EXPECT_TRUE(busy({{u"#32770", u"Delete", u"iTunes"}}));
  EXPECT_TRUE(busy({{u"#32770", u"", u"My iTunes Library"}}));
  EXPECT_FALSE(busy({{u"#32770", u"Sabla", u"iTunes"}}));
  EXPECT_FALSE(busy({{u"#32770", u"About Sabla BETA", u"iTunes"}}));
  EXPECT_FALSE(busy({{u"#32770", u"Delete", u""}}));
  EXPECT_FALSE(busy({{u"#32770", u"Delete", u"itunes"}}));  // case matters
  EXPECT_TRUE(busy({{u"NativeHWNDHost", u"Sabla", u"iTunes"}}));
  EXPECT_FALSE(busy({{u"NativeHWNDHost", u"iTunes", u"Player"}}));
  // Any one busy window among others is enough.
  EXPECT_TRUE(busy({{u"Button", u"iTunes", u"iTunes"},
                    {u"#32770", u"Sabla", u"iTunes"},
                    {u"NativeHWNDHost", u"", u"iTunes"}}));
}

TEST(PlayerBusy, BusyCheckSetsTheNoticeOnlyWhenBusy) {
  ScriptedWindows windows;
  StatusMessage status{u"Saved lrc", 50};
  EXPECT_FALSE(check_player_busy(windows, status));
  EXPECT_EQ(status.text, u"Saved lrc");
  EXPECT_EQ(status.frames, 50);
  windows.windows = {{u"NativeHWNDHost", u"", u"iTunes"}};
  EXPECT_TRUE(check_player_busy(windows, status));
  EXPECT_EQ(status.text, u"iTunesCOM was discontinued.");
  EXPECT_EQ(status.frames, 10);
  EXPECT_EQ(windows.asked, 2);
}

}  // namespace
}  // namespace sabla
