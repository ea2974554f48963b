#include <gtest/gtest.h>

#include "core/lyrics/lyrics_test_util.h"
#include "display/frame_pacing.h"
#include "state/plugin_state.h"
#include "settings/settings_format.h"

namespace sabla {
namespace {

TEST(FramePacing, ThirtyThreeMillisecondsAcrossTheTimerWrap) {
  EXPECT_FALSE(frame_due(1032, 1000, false));
  EXPECT_TRUE(frame_due(1033, 1000, false));
  EXPECT_TRUE(frame_due(1000, 1000, true));
  // The timer wrapped between the frames: 0xFFFFFFF0 to 16 is 32 ms, to 17 is 33 ms.
  EXPECT_FALSE(frame_due(16, 0xFFFFFFF0u, false));
  EXPECT_TRUE(frame_due(17, 0xFFFFFFF0u, false));
}

TEST(FramePacing, EditingTimetagsDrawsEveryIdleCall) {
  PluginState state;
  reset_settings(state.settings, SettingsDefaults{u"C:\\Documents", u"Tahoma"});
  state.clock.now_ms = 5010;
  state.frame.last_frame_ms = 5000;
  EXPECT_FALSE(frame_due(state));

  // Edit mode needs lines to edit.
  auto panel = test::make_document();
  LyricDocument& doc = *panel;
  state.settings.items[kLyricsItem] = std::move(panel);
  doc.toggle_edit_mode();
  EXPECT_FALSE(doc.edit_mode());
  EXPECT_FALSE(frame_due(state));
  doc.load_text(60000, test::numbered_lines(5, true));
  doc.toggle_edit_mode();
  ASSERT_TRUE(doc.edit_mode());
  EXPECT_TRUE(frame_due(state));
  doc.toggle_edit_mode();
  EXPECT_FALSE(frame_due(state));

  // The options window's timing tab is tab 1.
  state.options.options_open = true;
  state.settings.current_tab = 2;
  EXPECT_FALSE(frame_due(state));
  state.settings.current_tab = 1;
  EXPECT_TRUE(frame_due(state));
  state.options.options_open = false;
  EXPECT_FALSE(frame_due(state));
}

}  // namespace
}  // namespace sabla
