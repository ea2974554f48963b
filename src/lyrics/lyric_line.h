#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "lyrics/rect.h"
#include "lyrics/text_measure.h"
#include "lyrics/timetag.h"

namespace sabla {

// One line of lyrics and what is derived from it: its time (from a tag at its start), the text
// as shown (tags removed), its time written in both tag forms, and the sizes of these four
// strings in the lyrics font.
class LyricLine {
 public:
  // Replaces the text: the part before the first CR, LF or NUL, at most `max_chars` - 1
  // characters (`max_chars` is the line capacity including the terminator). Derives the time,
  // both tag strings, the display text and the flags; the extents stay as they were.
  void set_text(std::u16string_view text, int32_t max_chars);

  // Sets the time and reformats both tag strings; a negative `ms` clears the time. The texts
  // stay as they are.
  void set_time(int32_t ms);

  // Recomputes the four extents; without a measurer they are all zero.
  void measure(TextMeasurer* measurer);

  // The line as it is saved: the time freshly formatted in `form` in place of a well-formed
  // leading tag, or only the text behind that tag when the line has no time. At most
  // `capacity` - 1 characters (`capacity` counts the terminator).
  std::u16string compose(TagForm form, int32_t capacity) const;

  // A line never given text reads as the empty text.
  const std::u16string& text() const { return text_; }
  const std::u16string& display_text() const { return display_text_; }
  int32_t time() const { return time_ms_; }
  uint32_t even_time() const { return even_time_ms_; }
  void set_even_time(uint32_t ms) { even_time_ms_ = ms; }

  int32_t text_chars() const { return text_chars_; }
  int32_t display_chars() const { return display_chars_; }
  std::u16string_view long_tag() const { return long_tag_.view(); }
  std::u16string_view short_tag() const { return short_tag_.view(); }
  const Rect& text_extent() const { return text_extent_; }
  const Rect& display_extent() const { return display_extent_; }
  const Rect& long_tag_extent() const { return long_tag_extent_; }
  const Rect& short_tag_extent() const { return short_tag_extent_; }
  bool is_meta() const { return is_meta_; }
  bool had_tags() const { return had_tags_; }

 private:
  std::u16string text_;
  std::u16string display_text_;
  TagText long_tag_;
  TagText short_tag_;
  int32_t time_ms_ = -1;
  uint32_t even_time_ms_ = UINT32_MAX;
  int32_t text_chars_ = 0;
  int32_t display_chars_ = 0;
  Rect text_extent_;
  Rect display_extent_;
  Rect long_tag_extent_;
  Rect short_tag_extent_;
  bool is_meta_ = false;
  bool had_tags_ = false;
};

}  // namespace sabla
