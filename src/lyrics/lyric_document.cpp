#include "lyrics/lyric_document.h"

#include <algorithm>
#include <limits>

namespace sabla {
namespace {

std::u16string composed(const LyricLine& line, TagForm form, int32_t max_chars) {
  return line.compose(form, max_chars);
}

std::u16string shown(const LyricLine& line, TagForm, int32_t) { return line.display_text(); }

}  // namespace

void LyricDocument::init(int32_t capacity, int32_t max_chars,
                         std::unique_ptr<TextMeasurer> measurer) {
  if (line_capacity_ != 0) return;
  line_capacity_ = std::clamp(capacity, 0, kMaxLineCapacity);
  max_line_chars_ = max_chars;
  lines_.clear();
  untouched_ = LyricLine{};
  dirty_lines_ = 0;
  slots_.assign(static_cast<size_t>(line_capacity_), LineSlot{});
  for (size_t k = 0; k < slots_.size(); ++k) slots_[k].number = static_cast<int32_t>(k);
  filled_slots_ = 0;
  measurer_ = std::move(measurer);
  measure_marker();
}

void LyricDocument::set_measurer(std::unique_ptr<TextMeasurer> measurer) {
  measurer_ = std::move(measurer);
}

void LyricDocument::measure_marker() {
  marker_extent_ =
      measurer_ ? measurer_->calc_rect(kCursorMarker.data(), static_cast<int>(kCursorMarker.size()))
                : Rect{};
}

void LyricDocument::load_text(uint32_t total_ms, std::u16string_view text) {
  line_count_ = 0;
  lrc_form_.reset();
  for (int32_t j = 0; j < dirty_lines_; ++j) {
    LyricLine& line = lines_[static_cast<size_t>(j)];
    line.set_text(u"", max_line_chars_);
    line.set_even_time(0);
  }
  untouched_.set_text(u"", max_line_chars_);
  untouched_.set_even_time(0);
  dirty_lines_ = 0;
  // The text arrives through a lyric text buffer: a C string of at most kLyricTextUnits - 1.
  text = text.substr(0, std::min<size_t>(text.size(), kLyricTextUnits - 1));
  text = text.substr(0, std::min(text.size(), text.find(u'\0')));
  if (text.empty()) return;

  std::optional<StandardLrcText> standard;
  if (standard_lrc_ && line_capacity_ > 0) {
    standard = read_standard_lrc(text, static_cast<size_t>(line_capacity_),
                                 static_cast<size_t>(std::max(max_line_chars_, 0)));
  }
  if (standard) {
    lrc_form_ = std::move(standard->form);
    for (const std::u16string& line : standard->lines) {
      writable_line(line_count_++).set_text(line, max_line_chars_);
    }
  } else {
    size_t pos = 0;
    while (line_count_ < line_capacity_) {
      writable_line(line_count_).set_text(text.substr(pos), max_line_chars_);
      ++line_count_;
      const size_t lf = text.find(u'\n', pos);
      if (lf == std::u16string_view::npos) break;
      pos = lf + 1;
    }
  }
  dirty_lines_ = line_count_;
  if (line_count_ == 0) return;  // no line store, or a file of header lines only

  const uint32_t step = total_ms / static_cast<uint32_t>(line_count_);
  for (int32_t j = 0; j < line_count_; ++j) {
    LyricLine& line = lines_[static_cast<size_t>(j)];
    line.set_even_time(static_cast<uint32_t>(j) * step);
    line.measure(measurer_.get());
  }
}

LyricLine& LyricDocument::writable_line(int32_t n) {
  const size_t wanted = static_cast<size_t>(n) + 1;
  if (lines_.size() < wanted) lines_.resize(wanted, untouched_);
  return lines_[static_cast<size_t>(n)];
}

void LyricDocument::release_lines() {
  lines_.clear();
  lines_.shrink_to_fit();
  untouched_ = LyricLine{};
  dirty_lines_ = 0;
  line_count_ = 0;
  measurer_.reset();
}

void LyricDocument::measure_lines() {
  for (int32_t j = 0; j < line_count_; ++j) lines_[static_cast<size_t>(j)].measure(measurer_.get());
  // The marker is measured in the item's font too, so it follows a font change.
  measure_marker();
}

void LyricDocument::scroll(int32_t n) {
  if (manual_scroll_) {
    // Saturated: a hostile wheel value must not overflow; the next layout clamps the window.
    first_visible_ = static_cast<int32_t>(std::clamp<int64_t>(
        static_cast<int64_t>(first_visible_) + n, std::numeric_limits<int32_t>::min(),
        std::numeric_limits<int32_t>::max()));
  } else if (!edit_mode_) {
    manual_scroll_ = true;
  } else if (n > 0) {
    if (cursor_line_ < std::numeric_limits<int32_t>::max()) ++cursor_line_;
  } else if (n < 0) {
    if (cursor_line_ > std::numeric_limits<int32_t>::min()) --cursor_line_;
  } else {
    cursor_line_ = current_line_;
  }
}

void LyricDocument::toggle_edit_mode() {
  manual_scroll_ = false;
  if (edit_mode_) {
    edit_mode_ = false;
    return;
  }
  // Nothing to stamp; and a save from edit mode would write an empty file over the one the
  // document failed to read.
  if (line_count_ == 0) return;
  cursor_line_ = slots_.empty() ? 0 : slots_.front().line;
  edit_mode_ = true;
}

void LyricDocument::return_to_automatic() {
  manual_scroll_ = false;
  edit_mode_ = false;
}

void LyricDocument::set_cursor_line_time(int32_t ms) {
  // Between a key and the next layout the cursor can stand outside the store; then there is no
  // line to stamp.
  if (cursor_line_ < 0 || cursor_line_ >= line_capacity_) return;
  LyricLine& line = writable_line(cursor_line_);
  dirty_lines_ = std::max(dirty_lines_, cursor_line_ + 1);
  line.set_time(ms);
  line.measure(measurer_.get());
}

int32_t LyricDocument::line_time(int32_t n) const {
  const LyricLine* l = line(n);
  return l ? l->time() : -1;
}

int32_t LyricDocument::display_mode() const {
  if (line_count_ == 0) return kModeNoLines;
  if (edit_mode_) return kModeEdit;
  if (manual_scroll_) return kModeManualScroll;
  return untimed_ ? kModeUntimed : kModeTimed;
}

std::u16string LyricDocument::join(int32_t capacity,
                                   std::u16string (*piece)(const LyricLine&, TagForm, int32_t),
                                   TagForm form) const {
  std::u16string out;
  if (capacity <= 1) return out;
  const size_t limit = static_cast<size_t>(capacity) - 1;
  for (int32_t j = 0; j < line_count_; ++j) {
    const std::u16string text = piece(lines_[static_cast<size_t>(j)], form, max_line_chars_);
    if (out.size() + text.size() >= static_cast<size_t>(capacity)) {
      out.append(text, 0, limit - out.size());
      return out;
    }
    out += text;
    if (j + 1 < line_count_) {
      if (out.size() + 2 >= static_cast<size_t>(capacity)) return out;
      out += u"\r\n";
    }
  }
  return out;
}

std::u16string LyricDocument::join_lines(TagForm form, int32_t capacity) const {
  if (!lrc_form_) return join(capacity, composed, form);
  if (capacity <= 1) return {};
  std::vector<TimedLyric> timed;
  timed.reserve(static_cast<size_t>(line_count_));
  for (int32_t j = 0; j < line_count_; ++j) {
    const std::u16string_view text = lines_[static_cast<size_t>(j)].text();
    timed.push_back({lines_[static_cast<size_t>(j)].time(),
                     text.substr(well_formed_tag_length(text, 0))});
  }
  std::u16string out = write_standard_lrc(*lrc_form_, timed);
  if (out.size() >= static_cast<size_t>(capacity)) out.resize(static_cast<size_t>(capacity) - 1);
  return out;
}

std::u16string LyricDocument::join_display_texts(int32_t capacity) const {
  return join(capacity, shown, TagForm::kLong);
}

const LyricLine* LyricDocument::line(int32_t n) const {
  if (n < 0 || n >= line_capacity_) return nullptr;
  if (n >= static_cast<int32_t>(lines_.size())) return &untouched_;
  return lines_.data() + n;
}

const LyricLine* LyricDocument::slot_line(int32_t k) const {
  if (k < 0 || k >= static_cast<int32_t>(slots_.size())) return nullptr;
  return line(slots_.data()[k].line);
}

std::u16string_view LyricDocument::slot_text(int32_t k) const {
  const LyricLine* l = slot_line(k);
  if (!l) return {};
  return edit_mode_ ? l->text() : l->display_text();
}

int32_t LyricDocument::slot_text_chars(int32_t k) const {
  const LyricLine* l = slot_line(k);
  if (!l) return 0;
  return edit_mode_ ? l->text_chars() : l->display_chars();
}

int32_t LyricDocument::current_slot() const {
  // Before the first timetag there is no current line, and no slot may stand for it.
  if (current_line_ < 0) return -1;
  for (const LineSlot& slot : slots_) {
    if (slot.line == current_line_) return slot.number;
  }
  return -1;
}

int32_t LyricDocument::cursor_slot() const {
  if (cursor_line_ < 0) return 0;
  for (const LineSlot& slot : slots_) {
    if (slot.line == cursor_line_) return slot.number;
  }
  return 0;
}

bool LyricDocument::hit_test(int32_t k, int32_t x, int32_t y) const {
  const LyricLine* l = slot_line(k);
  if (!l || l->time() < 0) return false;
  const Rect& r = slots_[static_cast<size_t>(k)].text_rect;
  return r.left < x && x <= r.right && r.top < y && y <= r.bottom;
}

LyricDocument* as_lyric_document(DisplayItem* item) { return dynamic_cast<LyricDocument*>(item); }

}  // namespace sabla
