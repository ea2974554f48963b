// Per-frame placement of the lyrics document: which line is being sung, which lines are on
// screen, and where each one's text sits in its row.
#include <algorithm>

#include "lyrics/line_rows.h"
#include "lyrics/lyric_document.h"

namespace sabla {

void LyricDocument::count_rows() {
  visible_slots_ = sabla::count_rows(rect, line_spacing_, slots_);
}

void LyricDocument::layout(int64_t play_ms) {
  find_current_line(play_ms);
  move_window();
  fill_slots();
}

void LyricDocument::find_current_line(int64_t play_ms) {
  const auto loaded = std::span<const LyricLine>(lines_).first(static_cast<size_t>(line_count_));
  untimed_ = true;
  int32_t last_timed = -1;
  for (int32_t j = 0; j < line_count_; ++j) {
    if (loaded[static_cast<size_t>(j)].time() >= 0) {
      untimed_ = false;
      last_timed = j;
    }
  }

  // A line counts as reached once the play position equals its time; lines without a time are
  // stepped over, so the line before the first one still ahead is the last timed one reached.
  if (!untimed_) {
    const auto ahead = std::find_if(loaded.begin(), loaded.end(),
                                    [&](const LyricLine& l) { return l.time() > play_ms; });
    if (ahead == loaded.end()) {
      current_line_ = last_timed;
      return;
    }
    int32_t j = static_cast<int32_t>(ahead - loaded.begin()) - 1;
    while (j >= 0 && loaded[static_cast<size_t>(j)].time() < 0) --j;
    current_line_ = j;
    return;
  }

  // Untimed lyrics advance evenly over the song. The comparison is made in 64 bits, so a play
  // position before the start (a negative delay) is before every line rather than past all.
  const auto ahead = std::find_if(loaded.begin(), loaded.end(), [&](const LyricLine& l) {
    return static_cast<int64_t>(l.even_time()) > play_ms;
  });
  current_line_ = static_cast<int32_t>(ahead - loaded.begin()) - 1;
}

void LyricDocument::move_window() {
  const int64_t v = visible_slots_;
  const int64_t n = line_count_;
  int64_t first = first_visible_;
  if (!manual_scroll_) {
    if (!edit_mode_) {
      // The current line sits in slot V / 2 - 1, just above the middle.
      first = current_line_ - v / 2 + 1;
    } else {
      // The cursor is kept between slot 0 and slot V - 2.
      if (cursor_line_ < 0) {
        cursor_line_ = 0;
        first = 0;
      }
      if (cursor_line_ >= n) cursor_line_ = static_cast<int32_t>(n - 1);
      if (cursor_line_ > first + v - 2) {
        first = cursor_line_ - v + 2;
      } else if (cursor_line_ < first) {
        first = cursor_line_;
      }
    }
  }
  // The last line may stand in the second-to-last slot, leaving the last slot free.
  first = std::min(first, n - v + 1);
  first = std::max<int64_t>(first, 0);
  first_visible_ = static_cast<int32_t>(first);
}

void LyricDocument::fill_slots() {
  const int32_t end = std::min(std::max(visible_slots_, filled_slots_),
                               static_cast<int32_t>(slots_.size()));
  LineSlot* const slots = slots_.data();
  const LyricLine* const written = lines_.data();
  const int64_t written_count = static_cast<int64_t>(lines_.size());
  for (int32_t k = 0; k < end; ++k) {
    LineSlot& slot = slots[k];
    const int64_t index = static_cast<int64_t>(first_visible_) + k;
    slot.line = index < line_capacity_ && k < visible_slots_ ? static_cast<int32_t>(index) : -1;
    if (k >= visible_slots_ || slot.line < 0) continue;
    const LyricLine& line = slot.line < written_count ? written[slot.line] : untouched_;
    const Rect& extent = edit_mode_ ? line.text_extent() : line.display_extent();
    slot.text_rect = place_row_text(slot.box, rect, extent.right, font_size, align_h, align_v);
  }
  filled_slots_ = std::clamp(visible_slots_, 0, static_cast<int32_t>(slots_.size()));
}

}  // namespace sabla
