#include "ui/tool_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace sabla {
namespace {

using Action = ToolFieldResult::Action;

std::string narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

struct FieldCase {
  std::u16string text;
  ToolFieldResult expected;
};

void check(ToolFieldResult (*read)(std::u16string_view), const std::vector<FieldCase>& cases) {
  for (const auto& c : cases) {
    const ToolFieldResult result = read(c.text);
    SCOPED_TRACE("input \"" + narrow(c.text) + "\"");
    EXPECT_EQ(result.action, c.expected.action);
    EXPECT_EQ(result.value, c.expected.value);
    EXPECT_EQ(result.replacement, c.expected.replacement);
  }
}

const auto accept = ToolFieldResult::accept;
const auto stay_open = ToolFieldResult::stay_open;
const auto replace = ToolFieldResult::replace;

TEST(ToolFields, ShiftTakesASignedWholeNumberWithinAThousand) {
  check(read_shift_field,
        {
            {u"+5", accept(5)},
            {u"-5", accept(-5)},
            {u"0", accept(0)},
            {u"0005", accept(5)},
            {u"1000", accept(1000)},
            {u"-1000", accept(-1000)},
            // The first comma is a digit-group separator; a second one is not allowed.
            {u"1,000", accept(1000)},
            {u"-1,000", accept(-1000)},
            {u",5", accept(5)},
            {u"5,", accept(5)},
            {u"1,000,000", stay_open()},
            // Anything but a sign and digits keeps the dialog open without a word.
            {u"5-3", stay_open()},
            {u"--5", stay_open()},
            {u"+-5", stay_open()},
            {u"x", stay_open()},
            {u"", stay_open()},
            {u"+", stay_open()},
            {u"-", stay_open()},
            {u" 5", stay_open()},
            {u"5 ", stay_open()},
            {u"1.5", stay_open()},
            {u"\uFF15", stay_open()},
            // Beyond the range the nearest limit is written back.
            {u"1001", replace(u"1000")},
            {u"1,001", replace(u"1000")},
            {u"-1001", replace(u"-1000")},
            {u"99999999999999999999", replace(u"1000")},
            {u"-99999999999999999999", replace(u"-1000")},
            {u"00000000000000000000000000001001", replace(u"1000")},
        });
}

TEST(ToolFields, LineBreakWidthIsALeadingInteger) {
  check(read_line_break_field,
        {
            {u"20", accept(20)},
            {u"  20", accept(20)},
            {u"\t7", accept(7)},
            {u"+20", accept(20)},
            {u"-3", accept(-3)},
            {u"20abc", accept(20)},
            {u"1,000", accept(1)},
            {u"x", accept(0)},
            {u"", accept(0)},
            {u"- 5", accept(0)},
            {u"252", accept(252)},
            {u"2147483647", accept(2147483647)},
            {u"99999999999999999999", accept(2147483647)},
            {u"-2147483648", accept(-2147483648.0)},
            {u"-99999999999999999999", accept(-2147483648.0)},
        });
}

TEST(ToolFields, ScaleTakesADecimalFactorUpToTwo) {
  check(read_scale_field,
        {
            {u"0.5", accept(0.5)},
            {u"2.0", accept(2)},
            {u"2", accept(2)},
            {u"0", accept(0)},
            {u"0.0", accept(0)},
            {u" 1.5 ", accept(1.5)},
            {u"+1.5", accept(1.5)},
            {u".5", accept(0.5)},
            {u"1.", accept(1)},
            {u"1e-1", accept(0.1f)},
            {u"0.1", accept(0.1f)},
            {u"15E-1", accept(1.5)},
            {u"1e-400", accept(0)},
            // Rounded to the float the tool multiplies with, which is 2.0 here.
            {u"2.00000001", accept(2)},
            {u"0.0000000000000000000000000001e28", accept(1)},
            // Beyond the range the nearest limit is written back.
            {u"2.5", replace(u"2.0")},
            {u"2.0001", replace(u"2.0")},
            {u"-1", replace(u"0.0")},
            {u"-0.001", replace(u"0.0")},
            {u"1e400", replace(u"2.0")},
            {u"-1e400", replace(u"0.0")},
            {u"99999999999999999999999999999999", replace(u"2.0")},
            // Text that is no number would read as 0 and zero every tag: the dialog stays open.
            {u"", stay_open()},
            {u"   ", stay_open()},
            {u"x", stay_open()},
            {u"nan", stay_open()},
            {u"inf", stay_open()},
            {u"-infinity", stay_open()},
            {u"0,5", stay_open()},
            {u"1.5x", stay_open()},
            {u"1e", stay_open()},
            {u"1e+", stay_open()},
            {u".", stay_open()},
            {u"-", stay_open()},
            {u"0x1p-1", stay_open()},
            {u"\uFF11", stay_open()},
        });
}

}  // namespace
}  // namespace sabla
