#include "lyrics/editor_timetags.h"

#include <algorithm>

#include "lyrics/timetag.h"

namespace sabla {
namespace {

void append_number(std::u16string& out, uint32_t value) {
  if (value >= 10) append_number(out, value / 10);
  out.push_back(static_cast<char16_t>(u'0' + value % 10));
}

void append_field(std::u16string& out, uint32_t value) {
  if (value < 10) out.push_back(u'0');
  append_number(out, value);
}

// The tag that holds the unit at `unit`. A tag has no "[" inside, so only the nearest "[" at or
// before the unit can open it.
//
// Looking only for the nearest "]" ahead, as the keys once did, also finds a short tag that
// begins a few units right of the caret: Delete or Backspace then removed a tag the caret was not
// at, and the timetag key overwrote it, instead of touching the text at the caret.
std::optional<TextRange> tag_holding(std::u16string_view text, size_t unit) {
  if (unit >= text.size()) return std::nullopt;
  const size_t earliest = unit >= kLongTagLength - 1 ? unit - (kLongTagLength - 1) : 0;
  for (size_t start = unit + 1; start-- > earliest;) {
    if (text[start] != u'[') continue;
    const size_t length = well_formed_tag_length(text, start);
    if (length != 0 && unit < start + length) return TextRange{start, start + length};
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::u16string editor_timetag_text(uint32_t play_ms, bool short_form) {
  const uint32_t minutes = play_ms / 60000;
  const uint32_t seconds = play_ms / 1000 - 60 * minutes;
  const uint32_t hundredths = (play_ms % 1000) / 10;
  std::u16string tag = u"[";
  append_field(tag, minutes);
  tag.push_back(u':');
  append_field(tag, seconds);
  if (!short_form) {
    tag.push_back(u':');
    append_field(tag, hundredths);
  }
  tag.push_back(u']');
  return tag;
}

std::optional<TextRange> tag_after_caret(std::u16string_view text, size_t caret) {
  return tag_holding(text, caret);
}

std::optional<TextRange> tag_before_caret(std::u16string_view text, size_t caret) {
  if (caret == 0 || caret > text.size()) return std::nullopt;
  std::optional<TextRange> tag = tag_holding(text, caret - 1);
  if (tag) ++tag->start;  // the "[" is left for Backspace itself
  return tag;
}

TimetagInsertion plan_timetag_insertion(std::u16string_view text, size_t caret,
                                        bool at_line_start, size_t tag_length) {
  caret = std::min(caret, text.size());
  TimetagInsertion plan;
  if (!at_line_start) {
    plan.replace = tag_holding(text, caret).value_or(TextRange{caret, caret});
    plan.caret_after = plan.replace.start + tag_length;
    return plan;
  }

  const size_t last_feed = caret == 0 ? std::u16string_view::npos : text.rfind(u'\n', caret - 1);
  const size_t line_start = last_feed == std::u16string_view::npos ? 0 : last_feed + 1;
  plan.replace = {line_start, line_start + well_formed_tag_length(text, line_start)};
  const size_t replaced = plan.replace.end - plan.replace.start;

  const size_t next_feed = text.find(u'\n', line_start);
  if (next_feed != std::u16string_view::npos) {
    plan.caret_after = next_feed + 1 - replaced + tag_length;
  } else {
    plan.append_line_break = true;
    plan.caret_after = text.size() - replaced + tag_length + 2;
  }
  return plan;
}

}  // namespace sabla
