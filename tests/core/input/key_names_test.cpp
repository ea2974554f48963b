#include "state/key_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace sabla {
namespace {

struct Expected {
  int code;
  std::u16string_view name;
};

// Written out by hand, one row per name, so a slip in the table or in a range shows up here.
constexpr Expected kExpected[] = {
    {0x00, u"None"},       {0x01, u"MouseL"},  {0x02, u"MouseR"},   {0x03, u"Cancel"},
    {0x04, u"WheelClick"}, {0x05, u"MouseX1"}, {0x06, u"MouseX2"},  {0x08, u"BS"},
    {0x09, u"Tab"},        {0x0C, u"Clear"},   {0x0D, u"Enter"},    {0x10, u"Shift"},
    {0x11, u"Ctrl"},       {0x12, u"Alt"},     {0x13, u"Pause"},    {0x1B, u"Esc"},
    {0x1C, u"Conv"},       {0x1D, u"NonCnv"},  {0x20, u"SPACE"},    {0x21, u"PgUp"},
    {0x22, u"PgDn"},       {0x23, u"End"},     {0x24, u"Home"},     {0x25, u"←"},
    {0x26, u"↑"},          {0x27, u"→"},       {0x28, u"↓"},        {0x29, u"Select"},
    {0x2A, u"Print"},      {0x2B, u"Execute"}, {0x2C, u"PrtSc"},    {0x2D, u"Ins"},
    {0x2E, u"Del"},        {0x2F, u"Help"},    {0x30, u"0"},        {0x31, u"1"},
    {0x32, u"2"},          {0x33, u"3"},       {0x34, u"4"},        {0x35, u"5"},
    {0x36, u"6"},          {0x37, u"7"},       {0x38, u"8"},        {0x39, u"9"},
    {0x41, u"A"},          {0x42, u"B"},       {0x43, u"C"},        {0x44, u"D"},
    {0x45, u"E"},          {0x46, u"F"},       {0x47, u"G"},        {0x48, u"H"},
    {0x49, u"I"},          {0x4A, u"J"},       {0x4B, u"K"},        {0x4C, u"L"},
    {0x4D, u"M"},          {0x4E, u"N"},       {0x4F, u"O"},        {0x50, u"P"},
    {0x51, u"Q"},          {0x52, u"R"},       {0x53, u"S"},        {0x54, u"T"},
    {0x55, u"U"},          {0x56, u"V"},       {0x57, u"W"},        {0x58, u"X"},
    {0x59, u"Y"},          {0x5A, u"Z"},       {0x5B, u"WinL"},     {0x5C, u"WinR"},
    {0x5D, u"App"},        {0x5F, u"Sleep"},   {0x60, u"Num0"},     {0x61, u"Num1"},
    {0x62, u"Num2"},       {0x63, u"Num3"},    {0x64, u"Num4"},     {0x65, u"Num5"},
    {0x66, u"Num6"},       {0x67, u"Num7"},    {0x68, u"Num8"},     {0x69, u"Num9"},
    {0x6A, u"Num*"},       {0x6B, u"Num+"},    {0x6C, u"NumEnter"}, {0x6D, u"Num-"},
    {0x6E, u"Num."},       {0x6F, u"Num/"},    {0x70, u"F1"},       {0x71, u"F2"},
    {0x72, u"F3"},         {0x73, u"F4"},      {0x74, u"F5"},       {0x75, u"F6"},
    {0x76, u"F7"},         {0x77, u"F8"},      {0x78, u"F9"},       {0x79, u"F10"},
    {0x7A, u"F11"},        {0x7B, u"F12"},     {0x7C, u"F13"},      {0x7D, u"F14"},
    {0x7E, u"F15"},        {0x7F, u"F16"},     {0x80, u"F17"},      {0x81, u"F18"},
    {0x82, u"F19"},        {0x83, u"F20"},     {0x84, u"F21"},      {0x85, u"F22"},
    {0x86, u"F23"},        {0x87, u"F24"},     {0x90, u"NumLk"},    {0x91, u"ScrLk"},
    {0xA0, u"Shift_L"},    {0xA1, u"Shift_R"}, {0xA2, u"Ctrl_L"},   {0xA3, u"Ctrl_R"},
    {0xA4, u"Alt_L"},      {0xA5, u"Alt_R"},   {0xBA, u":"},        {0xBB, u";"},
    {0xBC, u","},          {0xBD, u"-"},       {0xBE, u"."},        {0xBF, u"/"},
    {0xC0, u"@"},          {0xDB, u"["},       {0xDC, u"\\"},       {0xDD, u"]"},
    {0xDE, u"^"},          {0xE2, u"_"},       {0xF0, u"Caps"},
};

KeyNames built() {
  KeyNames names;
  names.build_key_names();
  return names;
}

std::string utf8_of(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

TEST(KeyNames, EveryCodeHasItsNameAndAllOthersAreEmpty) {
  const KeyNames names = built();
  std::set<int> named;
  for (const Expected& row : kExpected) {
    EXPECT_EQ(names.key_name(row.code), row.name) << "code " << row.code;
    EXPECT_EQ(default_key_name(row.code), row.name) << "code " << row.code;
    named.insert(row.code);
  }
  ASSERT_EQ(named.size(), std::size(kExpected));  // no code listed twice above
  for (int code = 0; code < KeyNames::kKeyCount; ++code) {
    if (!named.contains(code)) {
      EXPECT_TRUE(names.key_name(code).empty()) << "code " << code;
    }
  }
  EXPECT_EQ(names.key_name(0x41), u"A");
  EXPECT_EQ(names.key_name(0x07), u"");
  EXPECT_EQ(names.key_name(0xF0), u"Caps");
  EXPECT_EQ(names.key_name(0xFF), u"");
  // The arrows are the single characters U+2190 to U+2193.
  EXPECT_EQ(names.key_name(0x25), std::u16string_view(u"\u2190"));
  EXPECT_EQ(names.key_name(0x28).size(), 1u);
}

TEST(KeyNames, CodesOutsideTheTableHaveNoName) {
  const KeyNames names = built();
  for (int code : {-1, -256, 256, 257, 0x141, 1 << 30, -(1 << 30)}) {
    EXPECT_TRUE(names.key_name(code).empty()) << code;
    EXPECT_TRUE(default_key_name(code).empty()) << code;
  }
}

TEST(KeyNames, ReverseLookupFindsEveryNameAndTheFirstUnnamedCode) {
  const KeyNames names = built();
  // Every name is unique, so each finds its own code back.
  for (const Expected& row : kExpected) {
    EXPECT_EQ(names.key_code(row.name), row.code) << utf8_of(row.name);
  }
  EXPECT_EQ(names.key_code(u"F3"), 0x72);
  EXPECT_EQ(names.key_code(u"Caps"), 0xF0);
  // The empty name is shared by every unnamed code: the first of them wins.
  EXPECT_EQ(names.key_code(u""), 0x07);
}

TEST(KeyNames, ReverseLookupWantsTheExactName) {
  const KeyNames names = built();
  for (std::u16string_view name :
       {u"f3", u"F3 ", u" F3", u"F0", u"Ctrl_", u"CAPS", u"Space", u"F25", u"Num10", u"←←", u"a"}) {
    EXPECT_EQ(names.key_code(name), KeyNames::kNoKey) << utf8_of(name);
  }
  // A name carrying a terminator inside does not match its shorter prefix.
  EXPECT_EQ(names.key_code(std::u16string_view(u"A\0", 2)), KeyNames::kNoKey);
  EXPECT_EQ(names.key_code(std::u16string_view(u"\0", 1)), KeyNames::kNoKey);
  // "F1" is a prefix of "F10" to "F19"; each name still finds only its own code.
  EXPECT_EQ(names.key_code(u"F1"), 0x70);
  EXPECT_EQ(names.key_code(u"F10"), 0x79);
}

TEST(KeyNames, TableExistsOnlyBetweenBuildAndFree) {
  KeyNames names;
  EXPECT_FALSE(names.is_built());
  EXPECT_EQ(names.key_name(0x41), u"");
  EXPECT_EQ(names.key_code(u"A"), KeyNames::kNoKey);
  EXPECT_EQ(names.key_code(u""), KeyNames::kNoKey);

  names.build_key_names();
  EXPECT_TRUE(names.is_built());
  EXPECT_EQ(names.key_code(u"A"), 0x41);
  names.build_key_names();  // building again changes nothing
  EXPECT_EQ(names.key_name(0x72), u"F3");

  names.free_key_names();
  EXPECT_FALSE(names.is_built());
  EXPECT_EQ(names.key_name(0x72), u"");
  EXPECT_EQ(names.key_code(u"F3"), KeyNames::kNoKey);
  names.free_key_names();  // freeing twice is harmless
  names.build_key_names();
  EXPECT_EQ(names.key_name(0x72), u"F3");
}

}  // namespace
}  // namespace sabla
