#include "lyrics/lyric_line.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace sabla {
namespace {

int32_t add_overhang(int32_t right, int overhang) {
  const int64_t sum = static_cast<int64_t>(right) + std::llabs(static_cast<int64_t>(overhang));
  return static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
}

// Extent of `text`, widened by the trailing overhang of its last character: DrawTextW leaves
// out the part of an italic or kerned glyph that hangs past its advance.
Rect measure_string(TextMeasurer& measurer, std::u16string_view text) {
  const int count = static_cast<int>(text.size());
  Rect extent = measurer.calc_rect(text.data(), count);
  if (count > 0) {
    extent.right = add_overhang(extent.right, measurer.trailing_overhang(text.back()));
  }
  return extent;
}

int32_t length_of(const std::u16string& s) {
  return static_cast<int32_t>(std::min<size_t>(s.size(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

void LyricLine::set_text(std::u16string_view text, int32_t max_chars) {
  // The text is a C string cut to the line capacity, and ends at its first line end.
  const size_t limit = max_chars > 1 ? static_cast<size_t>(max_chars) - 1 : 0;
  text = text.substr(0, std::min(limit, text.size()));
  constexpr char16_t kLineEnds[] = {u'\r', u'\n', u'\0'};
  text = text.substr(0, std::min(text.size(), text.find_first_of(kLineEnds, 0, 3)));
  text_.assign(text);

  if (text_.empty()) {
    // What the general path below gives for no text, without its scans: every load empties
    // the whole line store this way first.
    set_time(-1);
    display_text_.clear();
    had_tags_ = false;
    is_meta_ = false;
    text_chars_ = 0;
    display_chars_ = 0;
    return;
  }

  set_time(parse_leading_tag(text_));

  display_text_ = strip_tags(text_);
  had_tags_ = display_text_.size() != text_.size();
  is_meta_ = !display_text_.empty() && display_text_.front() == u'@';
  if (is_meta_) display_text_.clear();

  text_chars_ = length_of(text_);
  display_chars_ = length_of(display_text_);
}

void LyricLine::set_time(int32_t ms) {
  time_ms_ = ms;
  long_tag_ = format_tag(ms, TagForm::kLong);
  short_tag_ = format_tag(ms, TagForm::kShort);
}

void LyricLine::measure(TextMeasurer* measurer) {
  text_extent_ = display_extent_ = long_tag_extent_ = short_tag_extent_ = Rect{};
  if (!measurer) return;
  text_extent_ = measure_string(*measurer, text_);
  display_extent_ = measure_string(*measurer, display_text_);
  const std::u16string_view long_tag = long_tag_.view();
  const std::u16string_view short_tag = short_tag_.view();
  long_tag_extent_ = measurer->calc_rect(long_tag.data(), static_cast<int>(long_tag.size()));
  short_tag_extent_ = measurer->calc_rect(short_tag.data(), static_cast<int>(short_tag.size()));
  const int bracket = measurer->trailing_overhang(u']');
  long_tag_extent_.right = add_overhang(long_tag_extent_.right, bracket);
  short_tag_extent_.right = add_overhang(short_tag_extent_.right, bracket);
}

std::u16string LyricLine::compose(TagForm form, int32_t capacity) const {
  if (capacity <= 1) return {};
  const size_t limit = static_cast<size_t>(capacity) - 1;
  const std::u16string_view text = text_;
  const std::u16string_view rest = text.substr(well_formed_tag_length(text, 0));
  std::u16string out;
  if (time_ms_ >= 0) {
    const TagText tag = format_tag(time_ms_, form);
    out.reserve(std::min(limit, tag.size() + rest.size()));
    out.assign(tag.view().substr(0, limit));
  }
  out.append(rest.substr(0, limit - out.size()));
  return out;
}

}  // namespace sabla
