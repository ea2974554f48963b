#include "sources/text_file_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/sources/tag_bytes.h"
#include "sources/text_buffer.h"
#include "win32/settings/temp_folder.h"

namespace sabla {
namespace {

using test::Bytes;
using test::operator+;

std::u16string u16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

class ReadTextFile : public ::testing::Test {
 protected:
  std::u16string write(const std::wstring& name, const Bytes& bytes) {
    EXPECT_TRUE(test::write_bytes(folder / name, bytes));
    return u16(folder / name);
  }

  test::TempFolder folder;
  std::u16string text = u"left over";
};

TEST_F(ReadTextFile, ShiftJisFilesDecodeInCodePage932) {
  ASSERT_EQ(GetACP(), 932u);
  // 歌詞 LF [00:01:00]一行目 CR LF, in Shift_JIS.
  const Bytes file = Bytes{0x89, 0xCC, 0x8E, 0x8C, '\n'} + test::bytes("[00:01:00]") +
                     Bytes{0x88, 0xEA, 0x8D, 0x73, 0x96, 0xDA, '\r', '\n'};
  EXPECT_TRUE(read_text_file(write(L"sjis.lrc", file), text));
  EXPECT_EQ(text, u"歌詞\r\n[00:01:00]一行目\r\n");
  // Half-width katakana are single bytes; a lead byte without its trail byte is replaced.
  EXPECT_TRUE(read_text_file(write(L"kana.txt", Bytes{0xB1, 0xB2, 'x', 0x82}), text));
  EXPECT_EQ(text, u"ｱｲx\u30FB");
}

TEST_F(ReadTextFile, MarksPickUtf16) {
  EXPECT_TRUE(read_text_file(write(L"le.lrc", Bytes{0xFF, 0xFE} + test::utf16le(u"a\nb")), text));
  EXPECT_EQ(text, u"a\r\nb");
  EXPECT_TRUE(read_text_file(write(L"be.lrc", Bytes{0xFE, 0xFF} + test::utf16be(u"a\nb")), text));
  EXPECT_EQ(text, u"a\r\nb");
  EXPECT_TRUE(read_text_file(write(L"nomark.txt", test::utf16le(u"ab")), text));
  EXPECT_EQ(text, u"a");
}

TEST_F(ReadTextFile, TextModeRules) {
  EXPECT_TRUE(read_text_file(write(L"ends.txt", test::bytes("a\rb\r\nc")), text));
  EXPECT_EQ(text, u"a\r\nb\r\nc");
  EXPECT_TRUE(read_text_file(write(L"eof.txt", test::bytes("ab\x1A"
                                                           "cd")),
                             text));
  EXPECT_EQ(text, u"ab");
  // Large files are cut at the buffer.
  EXPECT_TRUE(read_text_file(write(L"large.txt", Bytes(300000, 'L')), text));
  EXPECT_EQ(text, std::u16string(kMaxTextUnits, u'L'));
}

TEST_F(ReadTextFile, EmptyMissingAndUnopenableFiles) {
  EXPECT_TRUE(read_text_file(write(L"empty.kra", Bytes{}), text));
  EXPECT_EQ(text, u"");
  text = u"left over";
  EXPECT_FALSE(read_text_file(u16(folder / L"missing.lrc"), text));
  EXPECT_EQ(text, u"");
  text = u"left over";
  EXPECT_FALSE(read_text_file(u16(folder.path()), text));  // a folder
  EXPECT_EQ(text, u"");
  EXPECT_FALSE(read_text_file(u"", text));
}

TEST_F(ReadTextFile, ReadsAFileAnotherProgramIsWriting) {
  const std::u16string path = write(L"open.lrc", test::bytes("shared"));
  const std::wstring name(path.begin(), path.end());
  HANDLE writer = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(read_text_file(path, text));
  EXPECT_EQ(text, u"shared");
  CloseHandle(writer);
}

}  // namespace
}  // namespace sabla
