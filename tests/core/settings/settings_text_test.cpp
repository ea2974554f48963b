#include "settings/settings_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace sabla {
namespace {

TEST(SettingsText, NumbersAreWrittenAsDecimals) {
  struct Case {
    int64_t value;
    std::u16string_view text;
  };
  const Case cases[] = {
      {0, u"0"},
      {7, u"7"},
      {-7, u"-7"},
      {10, u"10"},
      {-1000000, u"-1000000"},
      {std::numeric_limits<int32_t>::max(), u"2147483647"},
      {std::numeric_limits<int32_t>::min(), u"-2147483648"},
      {std::numeric_limits<int64_t>::max(), u"9223372036854775807"},
      {std::numeric_limits<int64_t>::min(), u"-9223372036854775808"},
  };
  for (const Case& c : cases) {
    std::u16string out = u"x,";
    append_number(out, c.value);
    EXPECT_EQ(out, u"x," + std::u16string(c.text)) << c.value;
    EXPECT_EQ(parse_number(out.substr(2)), static_cast<int32_t>(std::clamp<int64_t>(
                                               c.value, std::numeric_limits<int32_t>::min(),
                                               std::numeric_limits<int32_t>::max())))
        << c.value;
  }
}

TEST(SettingsText, LinesAndSingleLines) {
  using Lines = std::vector<std::u16string_view>;
  struct Case {
    std::u16string_view text;
    Lines lines;
    std::u16string_view first_line;
  };
  const Case cases[] = {
      {u"", {}, u""},
      {u"a", {u"a"}, u"a"},
      {u"a\n", {u"a"}, u"a"},  // nothing behind the last LF is no line
      {u"a\nb", {u"a", u"b"}, u"a"},
      {u"\n", {u""}, u""},
      {u"\n\nx", {u"", u"", u"x"}, u""},
      {u"ab\r\ncd\r\n", {u"ab\r", u"cd\r"}, u"ab"},  // the CR stays with its line
      {u"a\rb\nc", {u"a\rb", u"c"}, u"a"},
      {std::u16string_view(u"a\0b\nc", 5), {std::u16string_view(u"a\0b", 3), u"c"}, u"a"},
  };
  for (const Case& c : cases) {
    const std::string name(c.text.begin(), c.text.end());
    EXPECT_EQ(split_lines(c.text), c.lines) << name;
    EXPECT_EQ(single_line(c.text), c.first_line) << name;
  }
}

TEST(SettingsText, TokensSkipRunsOfDelimiters) {
  TokenReader tokens(u",,12,,x\r\n;y,", kValueDelimiters);
  std::vector<std::u16string_view> seen;
  while (const auto token = tokens.next()) seen.push_back(*token);
  EXPECT_EQ(seen, (std::vector<std::u16string_view>{u"12", u"x", u";y"}));
  EXPECT_EQ(tokens.last_delimiter(), 0);
  TokenReader folders(u"C:\\a;D:\\b,c;", u";\r\n");
  EXPECT_EQ(folders.next().value_or(u"-"), u"C:\\a");
  EXPECT_EQ(folders.next().value_or(u"-"), u"D:\\b,c");
  EXPECT_EQ(folders.last_delimiter(), u';');
  EXPECT_FALSE(folders.next().has_value());
}

TEST(SettingsText, NumbersAsTheRuntimeReadsThem) {
  struct Case {
    std::u16string_view text;
    int32_t value;
  };
  const Case cases[] = {
      {u"", 0},
      {u"x", 0},
      {u"12x", 12},
      {u"  \t\r\n42", 42},
      {u"+7", 7},
      {u"-7", -7},
      {u"- 7", 0},
      {u"--7", 0},
      {u"007", 7},
      {u"2147483647", 2147483647},
      {u"2147483648", 2147483647},
      {u"-2147483648", -2147483647 - 1},
      {u"-99999999999999999999", -2147483647 - 1},
      {u"99999999999999999999", 2147483647},
      {std::u16string_view(u"5\0" u"6", 3), 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parse_number(c.text), c.value) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(SettingsText, EachTokenKnowsItsDelimiterAndTheRest) {
  struct Step {
    std::u16string_view token;  // empty: no token left
    char16_t delimiter;
    std::u16string_view rest;
  };
  struct Case {
    std::u16string_view text;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {u"", {{u"", 0, u""}}},
      {u",,\r\n", {{u"", 0, u""}}},
      {u"a", {{u"a", 0, u""}, {u"", 0, u""}}},
      {u"a,b", {{u"a", u',', u"b"}, {u"b", 0, u""}, {u"", 0, u""}}},
      {u"1,,2,face,label,x", {{u"1", u',', u",2,face,label,x"}, {u"2", u',', u"face,label,x"}}},
      {u"a\r\n", {{u"a", u'\r', u"\n"}, {u"", 0, u""}}},
      {u",a,", {{u"a", u',', u""}, {u"", 0, u""}}},
  };
  for (const Case& c : cases) {
    TokenReader tokens(c.text, kValueDelimiters);
    const std::string name(c.text.begin(), c.text.end());
    for (const Step& step : c.steps) {
      const auto token = tokens.next();
      EXPECT_EQ(token.value_or(u""), step.token) << name;
      EXPECT_EQ(token.has_value(), !step.token.empty()) << name;
      EXPECT_EQ(tokens.last_delimiter(), step.delimiter) << name;
      EXPECT_EQ(tokens.rest(), step.rest) << name;
    }
  }
}

}  // namespace
}  // namespace sabla
