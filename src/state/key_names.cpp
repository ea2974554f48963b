#include "state/key_names.h"

#include <cstddef>
#include <utility>

namespace sabla {
namespace {

struct NamedKey {
  unsigned char code;
  std::u16string_view name;
};

// Every code with a name of its own; digits, letters, numeric pad digits and function keys are
// made from their ranges below.
constexpr NamedKey kNamedKeys[] = {
    {0x00, u"None"},       {0x01, u"MouseL"},  {0x02, u"MouseR"},  {0x03, u"Cancel"},
    {0x04, u"WheelClick"}, {0x05, u"MouseX1"}, {0x06, u"MouseX2"}, {0x08, u"BS"},
    {0x09, u"Tab"},        {0x0C, u"Clear"},   {0x0D, u"Enter"},   {0x10, u"Shift"},
    {0x11, u"Ctrl"},       {0x12, u"Alt"},     {0x13, u"Pause"},   {0x1B, u"Esc"},
    {0x1C, u"Conv"},       {0x1D, u"NonCnv"},  {0x20, u"SPACE"},   {0x21, u"PgUp"},
    {0x22, u"PgDn"},       {0x23, u"End"},     {0x24, u"Home"},    {0x25, u"\u2190"},
    {0x26, u"\u2191"},     {0x27, u"\u2192"},  {0x28, u"\u2193"},  {0x29, u"Select"},
    {0x2A, u"Print"},      {0x2B, u"Execute"}, {0x2C, u"PrtSc"},   {0x2D, u"Ins"},
    {0x2E, u"Del"},        {0x2F, u"Help"},    {0x5B, u"WinL"},    {0x5C, u"WinR"},
    {0x5D, u"App"},        {0x5F, u"Sleep"},   {0x6A, u"Num*"},    {0x6B, u"Num+"},
    {0x6C, u"NumEnter"},   {0x6D, u"Num-"},    {0x6E, u"Num."},    {0x6F, u"Num/"},
    {0x90, u"NumLk"},      {0x91, u"ScrLk"},   {0xA0, u"Shift_L"}, {0xA1, u"Shift_R"},
    {0xA2, u"Ctrl_L"},     {0xA3, u"Ctrl_R"},  {0xA4, u"Alt_L"},   {0xA5, u"Alt_R"},
    {0xBA, u":"},          {0xBB, u";"},       {0xBC, u","},       {0xBD, u"-"},
    {0xBE, u"."},          {0xBF, u"/"},       {0xC0, u"@"},       {0xDB, u"["},
    {0xDC, u"\\"},         {0xDD, u"]"},       {0xDE, u"^"},       {0xE2, u"_"},
    {0xF0, u"Caps"},
};

// The names made from ranges, all static text the views may point into.
constexpr char16_t kDigitsAndLetters[] = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::u16string_view kPadDigits[] = {u"Num0", u"Num1", u"Num2", u"Num3", u"Num4",
                                              u"Num5", u"Num6", u"Num7", u"Num8", u"Num9"};
constexpr std::u16string_view kFunctionKeys[] = {
    u"F1",  u"F2",  u"F3",  u"F4",  u"F5",  u"F6",  u"F7",  u"F8",  u"F9",  u"F10", u"F11", u"F12",
    u"F13", u"F14", u"F15", u"F16", u"F17", u"F18", u"F19", u"F20", u"F21", u"F22", u"F23", u"F24"};

constexpr int kFirstPadDigit = 0x60;
constexpr int kFirstFunctionKey = 0x70;

constexpr std::u16string_view range_name(int code) {
  if (code >= '0' && code <= '9') return {kDigitsAndLetters + (code - '0'), 1};
  if (code >= 'A' && code <= 'Z') return {kDigitsAndLetters + 10 + (code - 'A'), 1};
  if (code >= kFirstPadDigit && code < kFirstPadDigit + static_cast<int>(std::size(kPadDigits))) {
    return kPadDigits[code - kFirstPadDigit];
  }
  if (code >= kFirstFunctionKey &&
      code < kFirstFunctionKey + static_cast<int>(std::size(kFunctionKeys))) {
    return kFunctionKeys[code - kFirstFunctionKey];
  }
  return {};
}

}  // namespace

std::u16string_view default_key_name(int code) {
  if (code < 0 || code >= KeyNames::kKeyCount) return {};
  for (const NamedKey& key : kNamedKeys) {
    if (key.code == code) return key.name;
  }
  return range_name(code);
}

void KeyNames::build_key_names() {
  for (int code = 0; code < kKeyCount; ++code)
    names_[static_cast<size_t>(code)] = default_key_name(code);
  built_ = true;
}

void KeyNames::free_key_names() {
  names_.fill({});
  built_ = false;
}

std::u16string_view KeyNames::key_name(int code) const {
  if (code < 0 || code >= kKeyCount) return {};
  return names_[static_cast<size_t>(code)];
}

int KeyNames::key_code(std::u16string_view name) const {
  if (!built_) return kNoKey;
  for (int code = 0; code < kKeyCount; ++code) {
    if (names_[static_cast<size_t>(code)] == name) return code;
  }
  return kNoKey;
}

}  // namespace sabla
