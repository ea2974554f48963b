#include "web/search_template.h"

#include <gtest/gtest.h>

#include "web/search_encoding.h"

namespace sabla {
namespace {

using Values8 = SearchValues<std::string_view>;
using Values16 = SearchValues<std::u16string_view>;

const LeadBytes kSingleByte{};

TEST(SearchTemplate, KindComesFromTheFirstCharacters) {
  EXPECT_EQ(classify_search_template(u"http://&a=[artist]&t=[title]"),
            SearchTemplateKind::kWebAddress);
  EXPECT_EQ(classify_search_template(u"http:"), SearchTemplateKind::kWebAddress);
  EXPECT_EQ(classify_search_template(u"https://example.org/?q=[title]"),
            SearchTemplateKind::kWebAddress);
  EXPECT_EQ(classify_search_template(u"C:\\Tools\\find.exe [title]"), SearchTemplateKind::kProgram);
  EXPECT_EQ(classify_search_template(u"\"C:\\Program Files\\find.exe\""),
            SearchTemplateKind::kProgram);
  // Exact case.
  for (const std::u16string_view invalid : {u"HTTP://x", u"HTTPS://x", u"www.example.org/[title]",
                                            u"\\\\server\\find.exe", u"\"C", u"C", u""}) {
    EXPECT_EQ(classify_search_template(invalid), SearchTemplateKind::kInvalid)
        << std::string(invalid.begin(), invalid.end());
  }
}

TEST(SearchEncoding, BytesAreCopiedSpacedOrEscaped) {
  EXPECT_EQ(percent_encode_search_value("The Beatles"), "The+Beatles");
  EXPECT_EQ(percent_encode_search_value("AC/DC"), "AC%2FDC");
  EXPECT_EQ(percent_encode_search_value("@*-._09azAZ"), "@*-._09azAZ");
  EXPECT_EQ(percent_encode_search_value("~&=+%\x7F\xFF"), "%7E%26%3D%2B%25%7F%FF");
  // Both bytes of a double-byte character are escaped, even a trail that looks like '[' or 'A'.
  EXPECT_EQ(percent_encode_search_value("\x83\x5B\x83\x41"), "%83%5B%83%41");
  EXPECT_EQ(percent_encode_search_value("\xE0\x40\xEF"), "%E0%40%EF");
  // 0xF0 and half-width katakana start no pair, so the byte behind them is judged alone.
  EXPECT_EQ(percent_encode_search_value("\xF0\x40\xB1@"), "%F0@%B1@");
  EXPECT_EQ(percent_encode_search_value(""), "");
}

TEST(SearchEncoding, ValuesLongerThan207BytesAreLeftOut) {
  EXPECT_EQ(kMaxEncodedValueBytes, 207u);
  EXPECT_EQ(percent_encode_search_value(std::string(207, 'a')), std::string(207, 'a'));
  EXPECT_EQ(percent_encode_search_value(std::string(208, 'a')), "");
  EXPECT_EQ(percent_encode_search_value(std::string(207, '\x82')).size(), 621u);
}

TEST(SearchEncoding, ShiftJisBecomesEucJp) {
  // あ 漢 ア ー 亜 ム 漾: both lead ranges and the three trail ranges.
  std::string text = "\x82\xA0\x8A\xBF\x83\x41\x81\x5B\x88\x9F\x83\x80\xE0\x40";
  shift_jis_to_euc_jp(text);
  EXPECT_EQ(text, "\xA4\xA2\xB4\xC1\xA5\xA2\xA1\xBC\xB0\xA1\xA5\xE0\xDF\xA1");
  // ASCII and half-width katakana stay; so does a lead byte with nothing behind it.
  text = "a \xB1\x82\xA0\x82";
  shift_jis_to_euc_jp(text);
  EXPECT_EQ(text, "a \xB1\xA4\xA2\x82");
  EXPECT_EQ(search_encoding_of(1), SearchEncoding::kEucJp);
  EXPECT_EQ(search_encoding_of(2), SearchEncoding::kUtf8);
  EXPECT_EQ(search_encoding_of(7), SearchEncoding::kSystemCodePage);
}

TEST(SearchTemplate, DefaultTemplateGetsEncodedValues) {
  const std::string artist = percent_encode_search_value("The Beatles");
  const std::string title = percent_encode_search_value("AC/DC");
  EXPECT_EQ(
      make_search_address("http://&a=[artist]&t=[title]", Values8{artist, title, {}}, kSingleByte),
      "http://&a=The+Beatles&t=AC%2FDC");
  const std::string too_long = percent_encode_search_value(std::string(208, 'x'));
  EXPECT_EQ(make_search_address("http://&a=[artist]&t=[title]", Values8{too_long, title, {}},
                                kSingleByte),
            "http://&a=&t=AC%2FDC");
}

TEST(SearchTemplate, PlaceholdersAreFilledOnceAndOnlyWhereACharacterStarts) {
  // Inserted text is never searched again, whichever placeholder it holds.
  EXPECT_EQ(fill_search_placeholders(u"C:\\a.exe [artist] [title] [album] [title] [Artist] [title",
                                     Values16{u"X [title] [album]", u"T", {}}),
            u"C:\\a.exe X [title] [album] T  T [Artist] [title");
  const LeadBytes sjis = shift_jis_lead_bytes();
  // "ゼ" is 83 5B: its second byte followed by "artist]" is no placeholder.
  EXPECT_EQ(fill_search_placeholders("q=\x83[artist]&a=[artist]", Values8{"A", {}, {}}, sjis),
            "q=\x83[artist]&a=A");
  EXPECT_EQ(fill_search_placeholders("q=\x83[artist]", Values8{"A", {}, {}}, kSingleByte),
            "q=\x83"
            "A");
}

TEST(SearchTemplate, ResultsThatDoNotFitAreRefused) {
  const std::string fits(kSearchAddressBuffer - 1 - 5, 'v');
  EXPECT_EQ(make_search_address("http:[title]", Values8{{}, fits, {}}, kSingleByte)->size(),
            kSearchAddressBuffer - 1);
  const std::string one_more = fits + "v";
  EXPECT_FALSE(make_search_address("http:[title]", Values8{{}, one_more, {}}, kSingleByte));
  EXPECT_FALSE(make_search_address(std::string(kSearchAddressBuffer, 'h'), {}, kSingleByte));

  const std::u16string prefix = u"C:\\a.exe ";
  const std::u16string title(kSearchCommandBuffer - 1 - prefix.size(), u'v');
  const ProgramCommand ready = make_program_command(prefix + u"[title]", Values16{{}, title, {}});
  EXPECT_EQ(ready.status, ProgramCommandStatus::kReady);
  EXPECT_EQ(ready.command_line, prefix + title);
  EXPECT_EQ(make_program_command(prefix + u"[title]", Values16{{}, title + u"v", {}}).status,
            ProgramCommandStatus::kTooLong);
}

TEST(SearchTemplate, ProgramRunsInItsOwnFolder) {
  const ProgramCommand command =
      make_program_command(u"C:\\Tools\\find.exe [title]", Values16{{}, u"First Love", {}});
  EXPECT_EQ(command.status, ProgramCommandStatus::kReady);
  EXPECT_EQ(command.command_line, u"C:\\Tools\\find.exe First Love");
  EXPECT_EQ(command.working_folder, u"C:\\Tools");

  EXPECT_EQ(program_working_folder(u"\"C:\\Program Files\\Lyric Tool\\find.exe\" [title]"),
            u"C:\\Program Files\\Lyric Tool");
  EXPECT_EQ(program_working_folder(u"\"C:\\Lyric Tool\\find.exe"), u"C:\\Lyric Tool");
  EXPECT_EQ(program_working_folder(u"C:\\find.exe -q"), u"C:\\");
  EXPECT_EQ(program_working_folder(u"C:find.exe"), u"");
  // The path can come from a value: the folder is taken from the filled-in command.
  EXPECT_EQ(make_program_command(u"C:\\[artist]\\f.exe", Values16{u"Tools", {}, {}}).working_folder,
            u"C:\\Tools");

  EXPECT_EQ(program_working_folder(u"\"\":"), std::nullopt);
  EXPECT_EQ(make_program_command(u" :find.exe", {}).status, ProgramCommandStatus::kNoProgramPath);
}

}  // namespace
}  // namespace sabla
