// Lyric file bytes in: decoding must not crash, and its text must be what the lyric buffer
// holds: at most 32767 units, no terminator inside, every line end CR LF (a lone CR only as
// the last unit, where the buffer cut its LF off), and normalising it again changes nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "settings/code_page.h"
#include "sources/text_buffer.h"
#include "sources/text_file.h"
#include "sources/utf8_code_page.h"

namespace {

using namespace sabla;

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void check_lyric_text(const std::u16string& text) {
  check(text.size() <= kMaxTextUnits, "text longer than the buffer");
  check(text.find(u'\0') == std::u16string::npos, "terminator inside the text");
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') check(i > 0 && text[i - 1] == u'\r', "LF without CR");
    if (text[i] == u'\r') {
      check(i + 1 == text.size() ? text.size() == kMaxTextUnits : text[i + 1] == u'\n',
            "CR without LF");
    }
  }
  std::u16string again = text;
  normalize_line_ends(again);
  check(again == text, "normalising twice changes the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto ansi = make_ansi_code_page();
  static const Utf8CodePage utf8;
  const std::span<const uint8_t> file(data, size);

  check_lyric_text(decode_text_file(file, *ansi));
  check_lyric_text(decode_text_file(file, utf8));

  const std::string bytes = text_mode_bytes(file);
  check(bytes.size() <= kMaxTextModeBytes, "text mode delivered too much");
  check(bytes.find('\x1A') == std::string::npos, "text mode read past its end of file");

  // The same bytes as a text of units, through the operations other readers share.
  std::u16string units = text_from_utf16_bytes(file, size > 0 && (data[0] & 1));
  check(units.size() <= kMaxTextUnits, "UTF-16 text longer than the buffer");
  std::u16string swapped = units;
  swap_byte_order(swapped);
  swap_byte_order(swapped);
  check(swapped == units, "swapping twice changes the text");
  normalize_line_ends(units);
  check_lyric_text(units);
  return 0;
}
