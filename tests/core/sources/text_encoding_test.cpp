// UTF-8 lyric files told from code-page ones, with and without the mark.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sources/lyric_save_codec.h"
#include "sources/text_file.h"

namespace sabla {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(TextFileEncoding, UnmarkedUtf8MustBeStrictAndMultiByte) {
  using E = TextFileEncoding;
  const auto ansi = make_ansi_code_page();
  struct Case {
    std::string bytes;
    E encoding;
    std::u16string text;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF[00:01.00]\xE6\xAD\x8C\n", E::kUtf8WithMark, u"[00:01.00]歌\r\n"},
      {"\xEF\xBB\xBF" "abc", E::kUtf8WithMark, u"abc"},
      // A marked file is UTF-8 whatever follows; what is ill-formed becomes U+FFFD.
      {"\xEF\xBB\xBF" "a\xFF", E::kUtf8WithMark, u"a\uFFFD"},
      {"\xE6\xAD\x8C\xE8\xA9\x9E\r\nx\xF0\x9F\x8E\xA4", E::kUtf8, u"歌詞\r\nx\U0001F3A4"},
      {"plain ASCII", E::kCodePage, u"plain ASCII"},
      {"\xC0\xAF", E::kCodePage, {}},                // overlong '/'
      {"\xE0\x80\xAF", E::kCodePage, {}},            // overlong, three bytes
      {"\xED\xA0\x80", E::kCodePage, {}},            // a surrogate
      {"\xF4\x90\x80\x80", E::kCodePage, {}},        // past U+10FFFF
      {"ok \xE6\xAD\x8C\xE6\xAD", E::kCodePage, {}},  // truncated at the end of the file
      {"\xE6", E::kCodePage, {}},                    // a lone lead byte
      {"\xE6\xAD\x8C \x89\xCC", E::kCodePage, {}},   // UTF-8, then Shift_JIS
      // Text mode ends the file at 0x1A: what follows is never looked at.
      {"\xE6\xAD\x8C\x1A\xFF", E::kUtf8, u"歌"},
  };
  for (const Case& c : cases) {
    const Bytes file = bytes(c.bytes);
    EXPECT_EQ(detect_text_file_encoding(file), c.encoding) << c.bytes;
    if (!c.text.empty()) EXPECT_EQ(decode_text_file(file, *ansi), c.text) << c.bytes;
  }
  // A file longer than the read limit may have its last character cut by the limit.
  std::string cut = "\xE6\xAD\x8C" + std::string(kMaxTextModeBytes - 4, 'a') + "\xE6\xAD\x8C";
  EXPECT_EQ(detect_text_file_encoding(bytes(cut)), E::kUtf8);
  EXPECT_FALSE(is_multibyte_utf8("a\xE6\xAD", false));
  EXPECT_TRUE(is_multibyte_utf8("\xC3\xA9" "a\xE6\xAD", true));
}

// Real lyric texts of the kind the plug-in's users keep in Shift_JIS: none may pass for UTF-8.
TEST(TextFileEncoding, ShiftJisLyricsAreNeverTakenForUtf8) {
  const std::u16string lyrics[] = {
      u"[00:12:40]夕暮れの坂道 紙の灯りがゆれる\r\n[00:24:00]君の名前を 風にそっと預けた",
      u"[00:36:20]屋台の湯気が 星を少しくもらせる\r\n[00:47:80]まだ言えない言葉 ポケットで温めて",
      u"[01:00:30]ともして ともして 小さな灯りを\r\n[01:11:70]遠回りしても 同じ道で会おう",
      u"[01:24:00]～ 間奏 ～\r\n[01:38:20]川面に映る 揺れるオレンジの列",
      u"[01:49:80]明日の天気も 知らないままでいい\r\n[02:13:70]消えそうな時は 二人で風をよけて",
      u"[ti:春の終わりに]\r\n[ar:ミナト]\r\n[00:05.10]桜の花びら 舞い散る窓辺で\r\n"
      u"[00:11.30]「さよなら」なんて 言えるはずもなく",
      u"雨上がりの交差点 傘をたたんで\r\n君の背中を 追いかけた七月",
      u"ラララ ラララ 夜空に響け\r\nＷｅ ａｒｅ 一緒に歌おう！",
      u"[00:20.00]ｶﾗｵｹ ﾀﾞｲｽｷ ﾊﾝｶｸ ﾃﾞ ｳﾀｳ\r\n[00:25.00]半角カナも 全角も",
      u"心臓の鼓動が 鳴り止まない\r\n運命なんて 信じないけれど",
      u"波打ち際で 拾った貝殻\r\n耳をあてれば 遠い海鳴り",
      u"Ｉ ｌｏｖｅ ｙｏｕ ～ 愛してる\r\n※ 繰り返し ※",
      u"嵐の夜も 凍える朝も\r\n僕らは 歩いてゆける",
  };
  const auto codec = make_ansi_codec();
  const auto ansi = make_ansi_code_page();
  std::string all;
  for (const std::u16string& text : lyrics) {
    const auto encoded = codec->encode(text);
    ASSERT_TRUE(encoded);
    ASSERT_EQ(ansi->decode(*encoded), text);  // every character is in the code page
    const Bytes file = bytes(*encoded);
    EXPECT_EQ(detect_text_file_encoding(file), TextFileEncoding::kCodePage) << *encoded;
    EXPECT_EQ(decode_text_file(file, *ansi), text);
    all += *encoded + "\r\n";
  }
  EXPECT_EQ(detect_text_file_encoding(bytes(all)), TextFileEncoding::kCodePage);
  // The limit of the argument: three chosen bytes can be both ("繧ｱ" is "ケ").
  EXPECT_EQ(detect_text_file_encoding(bytes("\xE3\x82\xB1")), TextFileEncoding::kUtf8);
}

}  // namespace
}  // namespace sabla
