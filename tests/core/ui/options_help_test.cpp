#include "ui/options_help.h"

#include <gtest/gtest.h>

namespace sabla {
namespace {

TEST(OptionsHelp, ControlsFindTheirTopicAndThePageTheyArePlacedBy) {
  struct Case {
    int32_t control;
    int32_t topic;
    OptionsPage page;
    bool below_top;
  };
  const Case cases[] = {
      {1, 501, OptionsPage::kFrame, false},       {9, 504, OptionsPage::kFrame, false},
      {1002, 1001, OptionsPage::kExternal, true}, {1092, 1001, OptionsPage::kInSong, true},
      {1104, 1015, OptionsPage::kInSong, false},  {1081, 1104, OptionsPage::kBasic, false},
      {1111, 1222, OptionsPage::kDesign, false},  {1103, 1019, OptionsPage::kInSong, false},
  };
  for (const Case& c : cases) {
    const std::optional<HelpTopic> topic = help_topic_for(c.control);
    ASSERT_TRUE(topic) << c.control;
    EXPECT_EQ(topic->topic, c.topic) << c.control;
    EXPECT_EQ(topic->page, c.page) << c.control;
    EXPECT_EQ(topic->below_top_edge, c.below_top) << c.control;
  }
  EXPECT_FALSE(help_topic_for(1001));  // the tab control itself has none
  EXPECT_FALSE(help_topic_for(0));
}

TEST(OptionsHelp, TheHelpFileLiesBesideTheLibraryWhateverItIsCalled) {
  EXPECT_EQ(help_file_path(u"C:\\Program Files\\iTunes\\Plug-ins\\Sabla.dll"),
            u"C:\\Program Files\\iTunes\\Plug-ins\\Sabla.chm");
  EXPECT_EQ(help_file_path(u"C:\\Plug-ins\\SablaBeta.dll"), u"C:\\Plug-ins\\Sabla.chm");
  EXPECT_EQ(help_file_path(u"Sabla.dll"), u"Sabla.chm");
}

}  // namespace
}  // namespace sabla
