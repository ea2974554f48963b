#pragma once
#include <memory>
#include <string>

#include "lyrics/fixed_width_measurer.h"
#include "lyrics/lyric_document.h"
#include "lyrics/timetag.h"

namespace sabla::test {

// A lyrics panel 300 pixels wide with `rows` rows of 20 pixels, measured 10 pixels a character.
inline std::unique_ptr<LyricDocument> make_document(int32_t capacity = 256, int32_t max_chars = 512,
                                                    int32_t rows = 10) {
  auto doc = std::make_unique<LyricDocument>();
  doc->rect = Rect{0, 0, 300, rows * 20};
  doc->font_size = 20;
  doc->init(capacity, max_chars, std::make_unique<FixedWidthMeasurer>(10, 20));
  doc->count_rows();
  return doc;
}

// "line0" CR LF "line1" ... without a line end after the last; timed lines start with a tag of
// their number in seconds.
inline std::u16string numbered_lines(int count, bool timed) {
  std::u16string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += u"\r\n";
    if (timed) text += format_tag(i * 1000, TagForm::kLong).view();
    for (char c : "line" + std::to_string(i)) text += static_cast<char16_t>(c);
  }
  return text;
}

}  // namespace sabla::test
