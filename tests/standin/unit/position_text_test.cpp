#include "position_text.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(PositionText, MinutesAndTwoDigitSeconds) {
  EXPECT_EQ(format_position(0), "0:00");
  EXPECT_EQ(format_position(9999), "0:09");
  EXPECT_EQ(format_position(184000), "3:04");
  EXPECT_EQ(format_position(3600000), "60:00");
  EXPECT_EQ(format_position(4294967295u), "71582:47");
}

}  // namespace
}  // namespace standin
