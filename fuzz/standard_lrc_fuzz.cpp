// Lyric file bytes in, read as the standard form: decoding (with the UTF-8 detection) and the
// standard-form reader must stay within their bounds, and what write_standard_lrc makes of the
// lines must read back to the same lines.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "lyrics/standard_lrc.h"
#include "lyrics/timetag.h"
#include "settings/code_page.h"
#include "sources/text_file.h"

namespace {

using namespace sabla;

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

std::vector<TimedLyric> timed(const std::vector<std::u16string>& lines) {
  std::vector<TimedLyric> out;
  for (const std::u16string& line : lines) {
    const std::u16string_view text = line;
    const size_t tag = well_formed_tag_length(text, 0);
    out.push_back({tag ? parse_leading_tag(text) : -1, text.substr(tag)});
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const auto ansi = make_ansi_code_page();
  if (size < 2) return 0;
  const size_t max_lines = 1 + data[0] % 64;
  const size_t max_chars = 1 + data[1] * 4;
  const std::u16string text = decode_text_file(std::span(data + 2, size - 2), *ansi);
  const auto read = read_standard_lrc(text, max_lines, max_chars);
  if (!read) return 0;
  check(read->lines.size() <= max_lines, "more lines than the store holds");
  for (const std::u16string& line : read->lines) {
    check(line.size() <= std::max<size_t>(max_chars, kLongTagLength + 1) - 1 ||
              line.size() <= kLongTagLength,
          "line longer than its capacity");
    const int32_t time = parse_leading_tag(line);
    check(time <= kMaxTagTimeMs, "time past the largest tag");
  }
  if (read->lines.size() == max_lines) return 0;  // lines were dropped: nothing to compare
  if (max_chars <= kLongTagLength + 1) return 0;  // tags cut: nothing to compare
  // A line cut at its capacity has lost its end already, and what is left may read as
  // something else (a lyric line "[t:-50]  text" cut to a header line): nothing to compare.
  for (const std::u16string& line : read->lines) {
    if (line.size() + 1 >= max_chars) return 0;
  }
  const std::vector<TimedLyric> lines = timed(read->lines);
  const std::u16string written = write_standard_lrc(read->form, lines);
  const auto again = read_standard_lrc(written, max_lines, max_chars);
  check(again.has_value(), "written text is not in the standard form");
  check(again->lines == read->lines, "read -> write -> read changed the lines");
  check(again->form.header_lines == read->form.header_lines, "header lines changed");
  return 0;
}
