#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lyrics/line_slot.h"
#include "lyrics/lyric_line.h"
#include "lyrics/rect.h"
#include "lyrics/standard_lrc.h"
#include "lyrics/text_measure.h"
#include "lyrics/timetag.h"
#include "settings/display_item.h"

namespace sabla {

// Lyric text travels in buffers of this many UTF-16 units, terminator included.
inline constexpr int32_t kLyricTextUnits = 32768;
// The largest line store the settings allow (`song_bf_size`, second number).
inline constexpr int32_t kMaxLineCapacity = 1024;
// The edit-cursor marker; the panel draws its first two characters left of the cursor line.
inline constexpr std::u16string_view kCursorMarker = u" > ";

// What `display_mode` reports; the display picks its status word and highlighting from it.
inline constexpr int32_t kModeTimed = 0;
inline constexpr int32_t kModeUntimed = 1;
inline constexpr int32_t kModeManualScroll = 3;
inline constexpr int32_t kModeEdit = 4;
inline constexpr int32_t kModeNoLines = 5;

// The lyrics of the playing song as the panel shows them, and at the same time the lyrics
// display item (index 4): a fixed store of lines, the line being sung, the window of lines on
// screen and the rows they are drawn in.
class LyricDocument : public DisplayItem {
 public:
  // Gives the document its line store once: `capacity` lines (at most kMaxLineCapacity) of at
  // most `max_chars` characters including the terminator. Keeps the measurer (the visualizer
  // window's context with the item's font; null when there is none) and measures the cursor
  // marker with it. A document that already has its store ignores the call.
  void init(int32_t capacity, int32_t max_chars, std::unique_ptr<TextMeasurer> measurer);
  // Replaces the measurer, e.g. when the window's context goes away; null stops measuring.
  void set_measurer(std::unique_ptr<TextMeasurer> measurer);

  // Whether texts in the standard lyric-file form (read_standard_lrc) are read as such: several
  // stamps per line, fractions after a '.', an offset, header tags. Off, every text is read in
  // the native form only, as before the standard form was known. Takes effect at the next load.
  void set_standard_lrc(bool on) { standard_lrc_ = on; }
  bool standard_lrc() const { return standard_lrc_; }
  // What the loaded text kept of the standard form; nothing when it was read in the native one.
  const std::optional<LrcForm>& lrc_form() const { return lrc_form_; }

  // Replaces the content with the lines of `text` (CR LF line ends). `total_ms` is the song's
  // length: lyrics without any timetag advance evenly over it. The text is read up to its first
  // NUL and at most kLyricTextUnits - 1 units; lines beyond the store are dropped.
  void load_text(uint32_t total_ms, std::u16string_view text);
  // Frees the lines' text and forgets the measurer: the window's context is about to go.
  void release_lines();

  // Re-measures every loaded line and the cursor marker, after a font change.
  void measure_lines();
  // Cuts the item's rectangle into rows and sets the number of visible slots.
  void count_rows();
  // For the play position `play_ms`: finds the current line, moves the window of visible lines
  // and places each visible line's text in its row.
  void layout(int64_t play_ms);

  // User scrolling by `n` lines (negative = towards the beginning). The first request outside
  // edit mode only stops the automatic movement; in edit mode it moves the cursor by one line
  // (n = 0 puts it on the current line).
  void scroll(int32_t n);
  void toggle_edit_mode();
  // Esc: back to the automatic window, out of manual scrolling and edit mode.
  void return_to_automatic();
  // Sets (or with a negative `ms` deletes) the time of the cursor line.
  void set_cursor_line_time(int32_t ms);

  int32_t line_time(int32_t n) const;
  int32_t display_mode() const;

  // The loaded lines as saved, each with its time in `form`, joined by CR LF with no line end
  // after the last; at most `capacity` - 1 characters. A text read in the standard form is
  // written back in it instead (write_standard_lrc): its header lines, then the lines sorted,
  // one stamp each; `form` does not apply to it.
  std::u16string join_lines(TagForm form, int32_t capacity) const;
  // The display texts (tags removed, meta lines empty) joined the same way.
  std::u16string join_display_texts(int32_t capacity) const;

  // What the panel draws in slot k: the line's text in edit mode, its display text otherwise,
  // and nothing for a slot without a line.
  std::u16string_view slot_text(int32_t k) const;
  int32_t slot_text_chars(int32_t k) const;
  // The line shown in slot k, or null.
  const LyricLine* slot_line(int32_t k) const;
  // The slot showing the current line (-1 when none does) and the cursor line (0 when none).
  int32_t current_slot() const;
  int32_t cursor_slot() const;
  // Slot k shows a line with a time and (x, y) lies in its text rectangle (left and top edges
  // excluded, right and bottom included).
  bool hit_test(int32_t k, int32_t x, int32_t y) const;

  bool edit_mode() const { return edit_mode_; }
  bool manual_scroll() const { return manual_scroll_; }
  bool untimed() const { return untimed_; }
  int32_t line_capacity() const { return line_capacity_; }
  int32_t max_line_chars() const { return max_line_chars_; }
  int32_t line_count() const { return line_count_; }
  int32_t line_spacing() const { return line_spacing_; }
  void set_line_spacing(int32_t pixels) { line_spacing_ = pixels; }
  int32_t first_visible() const { return first_visible_; }
  int32_t current_line() const { return current_line_; }
  int32_t cursor_line() const { return cursor_line_; }
  int32_t visible_slots() const { return visible_slots_; }
  const Rect& marker_extent() const { return marker_extent_; }
  std::span<const LineSlot> slots() const { return slots_; }
  // Line n of the store, or null outside it.
  const LyricLine* line(int32_t n) const;

 private:
  void find_current_line(int64_t play_ms);
  void move_window();
  void fill_slots();
  void measure_marker();
  // Line n of the store (0 <= n < line_capacity_) made writable, past lines made as copies of
  // the untouched line.
  LyricLine& writable_line(int32_t n);
  std::u16string join(int32_t capacity, std::u16string (*piece)(const LyricLine&, TagForm, int32_t),
                      TagForm form) const;

  bool edit_mode_ = false;
  int32_t line_capacity_ = 0;
  int32_t max_line_chars_ = 0;
  int32_t line_count_ = 0;
  int32_t line_spacing_ = 20;
  int32_t first_visible_ = 0;
  int32_t current_line_ = -1;
  int32_t cursor_line_ = 0;
  int32_t visible_slots_ = 0;
  // The leading slots that may still show a line: those past it all show none, so a layout
  // need not walk the whole store's worth of slots every frame.
  int32_t filled_slots_ = 0;
  // The leading lines that may differ from an emptied line: those past it are already what a
  // load empties them to, so a load of a short text into a large store stays cheap.
  int32_t dirty_lines_ = 0;
  std::vector<LineSlot> slots_;
  // The store's leading lines that were ever written; every line past them is `untouched_`
  // (never given text, or emptied from that state), so a store of a thousand lines holding a
  // short song is neither built nor emptied line by line.
  std::vector<LyricLine> lines_;
  LyricLine untouched_;
  bool untimed_ = false;
  bool manual_scroll_ = false;
  std::unique_ptr<TextMeasurer> measurer_;
  Rect marker_extent_;
  bool standard_lrc_ = true;
  std::optional<LrcForm> lrc_form_;
};

// The lyrics document among the display items, or null when `item` is not one.
LyricDocument* as_lyric_document(DisplayItem* item);

}  // namespace sabla
