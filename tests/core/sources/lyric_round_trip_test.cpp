// Read -> save -> read keeps every line and time, in the file's own form and encoding, in both
// positions of the standard-form switch.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/lyrics/lyrics_test_util.h"
#include "lyric_save_fakes.h"
#include "sources/lyric_save.h"
#include "sources/text_buffer.h"
#include "sources/text_file.h"

namespace sabla {
namespace {

using Lines = std::vector<std::pair<int32_t, std::u16string>>;
using Bytes = std::vector<uint8_t>;

class LyricRoundTrip : public ::testing::Test {
 protected:
  LyricRoundTrip() { files.folders = {u"C:\\L"}; }

  Lines load(const Bytes& file, bool standard) {
    document = test::make_document();
    document->set_standard_lrc(standard);
    document->load_text(0, decode_text_file(file, *ansi));
    Lines lines;
    for (int32_t j = 0; j < document->line_count(); ++j) {
      lines.emplace_back(document->line(j)->time(), document->line(j)->display_text());
    }
    return lines;
  }

  // Saves the loaded document over the file it came from, as the display's save does.
  const Bytes& save(const Bytes& original) {
    files.files[kPath] = original;
    LyricSaveContext context{settings, *codec, files, {}, [&](std::u16string_view path) {
                               const auto it = files.files.find(std::u16string(path));
                               return it == files.files.end()
                                          ? TextFileEncoding::kCodePage
                                          : detect_text_file_encoding(it->second);
                             }};
    EXPECT_TRUE(write_lyric_file(
        kPath, document->join_lines(tag_form_for(settings.input_timetag_digit), kLyricTextUnits),
        context));
    return files.files[kPath];
  }

  const std::u16string kPath = u"C:\\L\\song.lrc";
  Settings settings;
  std::unique_ptr<AnsiCodec> codec = make_ansi_codec();
  std::unique_ptr<CodePage> ansi = make_ansi_code_page();
  test::FakeSaveFiles files;
  std::unique_ptr<LyricDocument> document;
};

Bytes utf8(std::u16string_view text, bool mark) { return utf8_file_bytes(text, mark); }

TEST_F(LyricRoundTrip, EveryFormKeepsItsLinesTimesAndEncoding) {
  settings.song_bf_size = {512, 256};
  const std::u16string standard =
      u"[ti:灯りの歌]\r\n[ar:Tsukimi]\r\n[al:Sketches]\r\n[by:someone]\r\n[offset:+7]\r\n"
      u"前奏\r\n[00:12.40][01:00.30]ともして ともして\r\n[00:05.5]夕暮れ\r\n\r\n"
      u"[1:02.345]Light it\r\n[00:00.00]start";
  const std::u16string late = u"[offset:-250]\r\n[00:02.50]b\r\n[00:01.00][00:03.00]a";
  const std::u16string native = u"[00:05:00]歌詞\r\n@by me\r\n[00:01]a\r\nuntimed\r\n[00:02:50]b";
  const Bytes sjis = test::bytes_of(*codec->encode(native));
  struct Case {
    const char* name;
    Bytes file;
    TextFileEncoding encoding;
    TextFileEncoding saved;  // UTF-16 of code-page characters is saved as the code page, as ever
  };
  const Case cases[] = {
      {"UTF-8 with mark, standard", utf8(standard, true), TextFileEncoding::kUtf8WithMark,
       TextFileEncoding::kUtf8WithMark},
      {"UTF-8, standard", utf8(standard, false), TextFileEncoding::kUtf8, TextFileEncoding::kUtf8},
      {"UTF-8, later offset", utf8(late + u"…", false), TextFileEncoding::kUtf8,
       TextFileEncoding::kUtf8},
      {"Shift_JIS, native", sjis, TextFileEncoding::kCodePage, TextFileEncoding::kCodePage},
      {"UTF-16, native", test::utf16_file(native), TextFileEncoding::kUtf16LittleEndian,
       TextFileEncoding::kCodePage},
      {"UTF-16, standard", test::utf16_file(standard), TextFileEncoding::kUtf16LittleEndian,
       TextFileEncoding::kCodePage},
  };
  for (const bool switch_on : {true, false}) {
    for (const int digit : {0, 1}) {
      settings.input_timetag_digit = static_cast<uint8_t>(digit);
      for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (switch_on ? " on" : " off") + std::to_string(digit));
        ASSERT_EQ(detect_text_file_encoding(c.file), c.encoding);
        const Lines first = load(c.file, switch_on);
        const std::optional<LrcForm> form = document->lrc_form();
        const Bytes saved = save(c.file);
        EXPECT_EQ(detect_text_file_encoding(saved), c.saved);
        const Lines again = load(saved, switch_on);
        // The native short form the settings chose drops hundredths, as it always did.
        if (digit == 1 && !form) continue;
        EXPECT_EQ(again, first);
        EXPECT_EQ(document->lrc_form().has_value(), form.has_value());
        if (form) EXPECT_EQ(document->lrc_form()->header_lines, form->header_lines);
      }
    }
  }
}

TEST_F(LyricRoundTrip, EachModeLoadsWhatTheOtherWrote) {
  const std::u16string standard = u"[ti:x]\r\n[offset:+500]\r\n[00:02.00][00:01.00]a\r\nb";
  // Written with the switch on, read with it off: nothing is hidden, every stamp reads as the
  // time it names (the offset is no longer applied), no text is lost.
  load(utf8(standard + u"é", false), true);
  const Bytes written = save(utf8(standard + u"é", false));
  EXPECT_EQ(load(written, false),
            (Lines{{-1, u"[ti:x]"}, {-1, u"[offset:+500]"}, {1000, u"[00:01.00]a"},
                   {2000, u"[00:02.00]a"}, {-1, u"bé"}}));
  // Written with it off, read with it on: the native form stays native, and loads as before.
  const Lines off = load(written, false);
  const Bytes old_written = save(written);
  EXPECT_EQ(load(old_written, true), off);
}

}  // namespace
}  // namespace sabla
