#include "ui/design_values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace sabla {
namespace {

std::string narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(DesignValues, FieldNumbersAreWholeSignedDecimalsThatStopAtTheRangeEnds) {
  const std::vector<std::pair<std::u16string, int32_t>> cases = {
      {u"36", 36},
      {u" 36 ", 36},
      {u"-15", -15},
      {u"+7", 7},
      {u"0", 0},
      {u"", 0},
      {u"-", 0},
      {u"abc", 0},
      {u"12abc", 0},
      {u"1 2", 0},
      {u"１２", 0},
      {u"--3", 0},
      {u"2147483647", kMax},
      {u"2147483648", kMax},
      {u"99999999999999999999", kMax},
      {u"-2147483648", kMin},
      {u"-99999999999999", kMin},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(field_number(text), expected) << "\"" << narrow(text) << "\"";
  }
}

TEST(DesignValues, SizesStayAtLeastOneAndDotsAtMost255) {
  struct Case {
    std::u16string text;
    FieldValue size;
    FieldValue dots;
  };
  const std::vector<Case> cases = {
      {u"24", {24, false}, {24, false}},
      {u"0", {1, true}, {0, false}},
      {u"1", {1, false}, {1, false}},
      {u"-5", {1, true}, {-5, false}},
      {u"", {1, true}, {0, false}},
      {u"x", {1, true}, {0, false}},
      {u"255", {255, false}, {255, false}},
      {u"256", {256, false}, {255, true}},
      {u"99999999999", {kMax, false}, {255, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + narrow(c.text) + "\"");
    EXPECT_EQ(at_least_one(c.text), c.size);
    EXPECT_EQ(dot_count(c.text), c.dots);
  }
}

TEST(DesignValues, TheListOffersHorizontalFacesThatSurviveTheSettingsRecord) {
  const std::vector<std::pair<std::u16string, bool>> cases = {
      {u"Arial", true},
      {u"ＭＳ ゴシック", true},
      {u"@MS Gothic", false},
      {u"", false},
      {u"Odd, Face", false},
      {std::u16string(127, u'a'), true},
      {std::u16string(128, u'a'), false},
  };
  for (const auto& [face, offered] : cases) {
    EXPECT_EQ(offered_face(face), offered) << "\"" << narrow(face) << "\"";
  }
}

}  // namespace
}  // namespace sabla
