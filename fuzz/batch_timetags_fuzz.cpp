// The editors' batch tools over any text: no crash, never more than the editor holds, no text
// lost by a tag conversion, line breaks that only add CR LF and never split a surrogate pair.
// The first five bytes choose the tool and its value; the rest is UTF-16LE text.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lyrics/batch_timetags.h"

namespace {

using namespace sabla;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

std::u16string without_line_breaks(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c != u'\r' && c != u'\n') out += c;
  }
  return out;
}

// Line breaks standing between the two halves of a surrogate pair.
size_t split_pairs(const std::u16string& text) {
  size_t count = 0;
  for (size_t i = 0; i + 3 < text.size(); ++i) {
    count += text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] == u'\r' &&
             text[i + 2] == u'\n' && text[i + 3] >= 0xDC00 && text[i + 3] <= 0xDFFF;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const uint8_t tool = data[0] % 5;
  int32_t value = 0;
  std::memcpy(&value, data + 1, 4);
  std::u16string text;
  for (size_t i = 5; i + 1 < size && text.size() < 32767; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  const std::u16string before = text;
  switch (tool) {
    case 0:
      shift_timetags(text, value);
      check(text.size() == before.size(), "a shift changes the tags' length");
      break;
    case 1: {
      float factor = 0;
      std::memcpy(&factor, &value, sizeof factor);
      scale_timetags(text, factor);
      check(text.size() == before.size(), "a scale changes the tags' length");
      if (!std::isfinite(factor)) check(text == before, "a non-finite factor changed the text");
      break;
    }
    case 2:
      tags_to_long(text);
      check(text.size() <= std::max(before.size(), kLongTagsTextLimit), "long tags overflow");
      check(text.size() >= before.size(), "long tags lost text");
      break;
    case 3:
      tags_to_short(text);
      check(text.size() <= before.size(), "short tags grew the text");
      break;
    default:
      insert_line_breaks(text, value % 300, value < 0);
      check(without_line_breaks(text) == without_line_breaks(before), "breaks changed the text");
      check(text.size() <= std::max(before.size(), kLongTagsTextLimit), "breaks overflow");
      check(split_pairs(text) <= split_pairs(before), "a surrogate pair split");
      break;
  }
  return 0;
}
