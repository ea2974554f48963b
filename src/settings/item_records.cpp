#include "settings/item_records.h"

#include <algorithm>
#include <optional>

#include "settings/display_items.h"
#include "settings/settings_text.h"

namespace sabla {
namespace {

constexpr size_t kMaxNumbers = 15;

struct Numbers {
  std::array<std::optional<int32_t>, kMaxNumbers> values;
  bool all_present = false;  // every expected number was there
};

Numbers read_numbers(TokenReader& tokens, size_t count) {
  Numbers n;
  for (size_t i = 0; i < count; ++i) {
    const auto token = tokens.next();
    if (!token) return n;
    n.values[i] = parse_number(*token);
  }
  n.all_present = true;
  return n;
}

void take(int32_t& field, const std::optional<int32_t>& value) {
  if (value) field = *value;
}

// The colour is always set once the record is found, from whatever tokens it has.
uint32_t read_color(const Numbers& n, size_t first, RecordReadState& state) {
  for (size_t c = 0; c < 3; ++c) {
    if (n.values[first + c]) state.carried_color[c] = *n.values[first + c];
  }
  return make_color(state.carried_color[0], state.carried_color[1], state.carried_color[2]);
}

std::u16string item_text(std::u16string_view text) {
  return text.size() > kMaxItemText ? std::u16string() : std::u16string(text);
}

// The face name is the field after the 15th number; the label is everything behind the face's
// comma, so a label may itself hold commas. Splitting this part strictly (rather than skipping
// empty fields) keeps an empty face name from pulling the label into its place.
void read_texts(DisplayItem& item, std::u16string_view texts, bool with_label) {
  const size_t comma = texts.find(u',');
  item.face_name = item_text(single_line(texts.substr(0, comma)));
  if (!with_label) return;
  item.label = comma == std::u16string_view::npos ? std::u16string()
                                                  : item_text(single_line(texts.substr(comma + 1)));
}

void read_text_record(DisplayItem& item, std::u16string_view value, bool with_label,
                      RecordReadState& state) {
  TokenReader tokens(value, kValueDelimiters);
  const Numbers n = read_numbers(tokens, 15);
  take(item.font_size, n.values[0]);
  take(item.offset_x, n.values[1]);
  take(item.size_x, n.values[2]);
  take(item.offset_y, n.values[3]);
  take(item.size_y, n.values[4]);
  item.color = read_color(n, 5, state);
  item.font_weight = n.values[8] && *n.values[8] >= 1 ? kFontWeightBold : 0;
  take(item.font_italic, n.values[9]);
  take(item.align_h, n.values[10]);
  take(item.align_v, n.values[11]);
  take(item.draw_order, n.values[12]);
  take(item.size_mode_h, n.values[13]);
  take(item.size_mode_v, n.values[14]);
  if (n.all_present && tokens.last_delimiter() == u',') {
    read_texts(item, tokens.rest(), with_label);
  } else if (with_label) {
    item.label.clear();
  }
}

void read_indicator_record(DisplayItem& item, std::u16string_view value, RecordReadState& state) {
  TokenReader tokens(value, kValueDelimiters);
  const Numbers n = read_numbers(tokens, 13);
  take(item.offset_x, n.values[0]);
  take(item.size_x, n.values[1]);
  take(item.offset_y, n.values[2]);
  take(item.size_y, n.values[3]);
  item.color = read_color(n, 4, state);
  take(item.align_h, n.values[7]);
  take(item.align_v, n.values[8]);
  take(item.draw_order, n.values[9]);
  take(item.size_mode_h, n.values[10]);
  take(item.size_mode_v, n.values[11]);
  take(item.direction, n.values[12]);
}

void read_artwork_record(DisplayItem& item, std::u16string_view value) {
  TokenReader tokens(value, kValueDelimiters);
  const Numbers n = read_numbers(tokens, 10);
  take(item.offset_x, n.values[0]);
  take(item.size_x, n.values[1]);
  take(item.offset_y, n.values[2]);
  take(item.size_y, n.values[3]);
  take(item.align_h, n.values[4]);
  take(item.align_v, n.values[5]);
  take(item.draw_order, n.values[6]);
  take(item.size_mode_h, n.values[7]);
  take(item.size_mode_v, n.values[8]);
  take(item.keep_aspect, n.values[9]);
}

void append_numbers(std::u16string& out, std::initializer_list<int64_t> numbers) {
  bool first = true;
  for (const int64_t n : numbers) {
    if (!first) out += u',';
    append_number(out, n);
    first = false;
  }
}

}  // namespace

RecordForm record_form(int item_index) {
  if (item_index == kVolumeLeftItem || item_index == kVolumeRightItem) {
    return RecordForm::kIndicator;
  }
  if (item_index == kCoverArtItem) return RecordForm::kArtwork;
  return RecordForm::kText;
}

void read_item_record(DisplayItem& item, RecordForm form, std::u16string_view value,
                      RecordReadState& state) {
  switch (form) {
    case RecordForm::kText:
      read_text_record(item, value, true, state);
      break;
    case RecordForm::kTextWithoutLabel:
      read_text_record(item, value, false, state);
      break;
    case RecordForm::kIndicator:
      read_indicator_record(item, value, state);
      break;
    case RecordForm::kArtwork:
      read_artwork_record(item, value);
      break;
  }
}

void append_item_record(const DisplayItem& item, RecordForm form, std::u16string& out) {
  const uint32_t c = item.color;
  switch (form) {
    case RecordForm::kText:
    case RecordForm::kTextWithoutLabel:
      append_numbers(out, {item.font_size, item.offset_x, item.size_x, item.offset_y, item.size_y,
                           color_red(c), color_green(c), color_blue(c),
                           item.font_weight >= 700 ? 1 : 0, item.font_italic, item.align_h,
                           item.align_v, item.draw_order, item.size_mode_h, item.size_mode_v});
      out += u',';
      out += single_line(item.face_name);
      if (form == RecordForm::kText) {
        out += u',';
        out += single_line(item.label);
      }
      break;
    case RecordForm::kIndicator:
      append_numbers(out, {item.offset_x, item.size_x, item.offset_y, item.size_y, color_red(c),
                           color_green(c), color_blue(c), item.align_h, item.align_v,
                           item.draw_order, item.size_mode_h, item.size_mode_v, item.direction});
      break;
    case RecordForm::kArtwork:
      append_numbers(
          out, {item.offset_x, item.size_x, item.offset_y, item.size_y, item.align_h, item.align_v,
                item.draw_order, item.size_mode_h, item.size_mode_v, item.keep_aspect});
      break;
  }
}

}  // namespace sabla
