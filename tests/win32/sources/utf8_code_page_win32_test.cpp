// The portable UTF-8 decoder gives what MultiByteToWideChar gives for code page 65001.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "sources/utf8_code_page.h"

namespace sabla {
namespace {

std::u16string system_utf8(const std::string& bytes) {
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
  if (needed > 0) MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, wide.data(), needed);
  return std::u16string(wide.begin(), wide.end());
}

TEST(Utf8CodePageWin32, AgreesWithMultiByteToWideChar) {
  const Utf8CodePage utf8;
  for (const std::string bytes : {"abc",
                                  "\xE6\xAD\x8C\xE8\xA9\x9E",
                                  "\xF0\x9F\x8E\xA4",
                                  "\xEF\xBB\xBFx",
                                  "\xEF\xBF\xBE",
                                  "a\x80"
                                  "b",
                                  "\x80\x80",
                                  "\xC0\xAF",
                                  "\xC1\xBF",
                                  "\xF5\x80",
                                  "\xF8\x88\x80\x80\x80",
                                  "\xE0\x80\xAF",
                                  "\xE0\x9F\xBF",
                                  "\xED\xA0\x80",
                                  "\xED\x9F\xBF",
                                  "\xF0\x80\x80\x80",
                                  "\xF0\x8F\xBF\xBF",
                                  "\xF4\x90\x80\x80",
                                  "\xF4\x8F\xBF\xBF",
                                  "\xE6\xAD"
                                  "a",
                                  "\xE6\xADxy",
                                  "\xE6\xE8\xA9\x9E",
                                  "\xC2x",
                                  "\xE0\xA0x",
                                  "\xF0\x90\x80x",
                                  "\xE6\xAD",
                                  "\xF0\x9F\x8E",
                                  "a\xF0\x9F\x8E",
                                  "\xC2",
                                  "\xE6"
                                  "a",
                                  "\xF0"
                                  "ab",
                                  "\xE0\xA0"}) {
    EXPECT_EQ(utf8.decode(bytes), system_utf8(bytes)) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace sabla
