// Lyric text in: loading, laying out, editing and joining must not crash, and every cut-off
// must hold (lines per store, characters per line, characters per joined text). The first
// eight bytes choose the store, the panel and the song length; the rest is UTF-16LE text.
//
// A layout of a large store walks up to a thousand rows, and so does checking it, so one input
// does not lay out at every play position and after every edit key: an odd byte at the end
// (the text has no use for it) picks the play position, whether the user scrolls before
// editing and how many edit keys come between two layouts. Every position, scroll and cadence
// is reached across inputs, and the loading and joining, the part that meets the text, runs
// several times as often for the same time.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "lyrics/fixed_width_measurer.h"
#include "lyrics/lyric_document.h"
#include "lyrics/timetag.h"

namespace {

using namespace sabla;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

uint8_t byte_at(const uint8_t* data, size_t size, size_t i) { return i < size ? data[i] : 0; }

void check_lines(const LyricDocument& doc) {
  check(doc.line_count() >= 0 && doc.line_count() <= doc.line_capacity(), "line count");
  const size_t limit = doc.max_line_chars() > 1 ? static_cast<size_t>(doc.max_line_chars()) - 1 : 0;
  for (int32_t j = 0; j < doc.line_count(); ++j) {
    const LyricLine& line = *doc.line(j);
    check(line.text().size() <= limit, "line capacity");
    check(line.text().find_first_of(u"\r\n") == std::u16string::npos, "line end in a line");
    check(line.text_chars() == static_cast<int32_t>(line.text().size()), "text length");
    check(line.display_text().size() <= line.text().size(), "display text longer than text");
    if (line.time() >= 0) {
      // The saved form reads back as the same time, to the precision of each form.
      const std::u16string as_long = line.compose(TagForm::kLong, kLyricTextUnits);
      const std::u16string as_short = line.compose(TagForm::kShort, kLyricTextUnits);
      check(parse_leading_tag(as_long) == line.time() / 10 * 10, "long form round trip");
      check(parse_leading_tag(as_short) == line.time() / 1000 * 1000, "short form round trip");
    }
  }
}

void check_joins(const LyricDocument& doc, int32_t small_capacity) {
  for (int32_t capacity : {kLyricTextUnits, small_capacity}) {
    const size_t limit = capacity > 1 ? static_cast<size_t>(capacity) - 1 : 0;
    check(doc.join_lines(TagForm::kLong, capacity).size() <= limit, "joined lines");
    check(doc.join_lines(TagForm::kShort, capacity).size() <= limit, "joined lines");
    check(doc.join_display_texts(capacity).size() <= limit, "joined display texts");
  }
}

void check_window(const LyricDocument& doc) {
  check(doc.first_visible() >= 0, "window above the first line");
  check(doc.current_line() >= -1 && doc.current_line() < doc.line_count(), "current line");
  const std::span<const LineSlot> slots = doc.slots();
  check(doc.visible_slots() >= 0 && static_cast<size_t>(doc.visible_slots()) <= slots.size(),
        "visible slots");
  const LineSlot* slot = slots.data();
  const int32_t visible = doc.visible_slots();
  const Rect area = doc.rect;
  for (int32_t k = 0; k < visible; ++k) {
    check(doc.slot_text(k).size() == static_cast<size_t>(doc.slot_text_chars(k)), "slot text");
    check(slot[k].text_rect.right <= area.right, "text past the right edge");
    check(slot[k].text_rect.bottom <= area.bottom, "text past the bottom edge");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto b = [&](size_t i) { return byte_at(data, size, i); };
  auto doc = std::make_unique<LyricDocument>();
  doc->rect = Rect{0, 0, 100 + b(4), b(5) * 4};
  doc->font_size = b(6) % 40;
  doc->align_h = b(6) % 3;
  doc->align_v = (b(6) / 3) % 3;
  doc->set_line_spacing(b(7) % 50);
  const int32_t capacity = (b(0) | (b(1) << 8)) % (kMaxLineCapacity + 2);
  const int32_t max_chars = static_cast<int32_t>((b(2) | (b(3) << 8)) % 1100) - 20;
  auto measurer = std::make_unique<FixedWidthMeasurer>(1 + b(4) % 16, 20);
  measurer->set_overhang(u']', -2);
  doc->init(capacity, max_chars, std::move(measurer));
  doc->count_rows();

  std::u16string text;
  for (size_t i = 8; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  const uint32_t total_ms = static_cast<uint32_t>(b(5)) * 4000u + b(7);
  doc->load_text(total_ms, text);
  check_lines(*doc);
  check_joins(*doc, b(6) % 64);

  // A little session: play, scroll, edit, stamp and delete tags, leave.
  // Without the odd byte: one layout at the start of play, keys without layouts between them.
  const uint8_t pick = size > 8 && (size - 8) % 2 == 1 ? data[size - 1] : 255;
  const int64_t times[] = {-1000, 0, 1000 * b(4), int64_t{total_ms}, int64_t{total_ms} * 2};
  doc->layout(times[pick % 5]);
  check_window(*doc);
  const int plan = pick / 5;
  if (plan % 3 == 2) {
    doc->scroll(-3);
    doc->scroll(static_cast<int8_t>(b(5)));
    doc->layout(times[2]);
    check_window(*doc);
  }
  doc->toggle_edit_mode();
  // Eight edit keys; the panel lays out after every `keys_per_frame` of them (one to eight), or
  // not at all while they come (more), so a key may also meet a cursor the previous one moved
  // outside the store.
  const size_t keys_per_frame = 1 + static_cast<size_t>(plan / 3);
  for (size_t i = 0; i < 8; ++i) {
    doc->scroll(static_cast<int8_t>(b(8 + i)) % 3);
    doc->set_cursor_line_time(b(9 + i) % 3 == 0 ? -1
                                                : static_cast<int32_t>(b(9 + i) % 240) * 25013);
    if ((i + 1) % keys_per_frame != 0) continue;
    doc->layout(times[i % 5]);
    check_window(*doc);
  }
  check_lines(*doc);
  check_joins(*doc, b(7) % 64);
  doc->return_to_automatic();
  doc->measure_lines();
  doc->release_lines();
  check(doc->line_count() == 0, "released lines");
  return 0;
}
