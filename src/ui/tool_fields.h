#pragma once
#include <cstdint>
#include <string_view>

namespace sabla {

// What OK in a tool dialog does with the text of its value box.
struct ToolFieldResult {
  enum class Action {
    kAccept,    // close the dialog with `value`
    kStayOpen,  // keep the dialog open, say nothing
    kReplace,   // keep the dialog open with `replacement` (the nearest limit) in the box
  };
  Action action = Action::kStayOpen;
  // The accepted value: whole units for the shift and the width, the factor (already rounded
  // to the float the tool uses) for the scale.
  double value = 0;
  std::u16string_view replacement;  // points at a literal; empty unless kReplace

  static ToolFieldResult accept(double value) { return {Action::kAccept, value, {}}; }
  static ToolFieldResult stay_open() { return {Action::kStayOpen, 0, {}}; }
  static ToolFieldResult replace(std::u16string_view text) { return {Action::kReplace, 0, text}; }

  friend bool operator==(const ToolFieldResult&, const ToolFieldResult&) = default;
};

inline constexpr int32_t kMaxShiftUnits = 1000;
inline constexpr int32_t kMinShiftUnits = -1000;
inline constexpr float kMaxScaleFactor = 2.0f;
inline constexpr float kMinScaleFactor = 0.0f;

// The shift box: its first comma (a digit-group separator the spin box may write, as in 1,000)
// is ignored; the rest must be an optional "+" or "-" and at least one digit, nothing else.
// Values beyond ±1000 are replaced by the limit ("1000", "-1000"), however many digits they
// have.
ToolFieldResult read_shift_field(std::u16string_view text);

// The line-break box, read as a C leading integer: white space, an optional sign, digits up to
// the first non-digit; no digits gives 0. Saturates instead of wrapping. Always accepted: the
// tool itself ignores widths outside 1..252.
ToolFieldResult read_line_break_field(std::u16string_view text);

// The scale box: a decimal number (white space around it, an optional sign, digits with an
// optional "." and exponent) that, as a float, lies in 0.0..2.0; beyond that the box gets
// "2.0" or "0.0". Anything else - empty, letters, "nan", "inf", a number followed by other
// characters such as "0,5" - keeps the dialog open: read as 0 it would set every tag to 00:00.
ToolFieldResult read_scale_field(std::u16string_view text);

}  // namespace sabla
