#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sabla {

// The timetag keys of the external text editor, as text positions the edit box then applies.
// Positions count UTF-16 units from the start of the editor text; a caret at position c stands
// between units c - 1 and c. A tag is recognised by its characters only ("[dd:dd:dd]" or
// "[dd:dd]", ASCII digits) and only when it lies wholly within the text.

// A half-open range of units: [start, end).
struct TextRange {
  size_t start = 0;
  size_t end = 0;

  friend bool operator==(const TextRange&, const TextRange&) = default;
};

// The play position `play_ms` as the editor writes it: "[mm:ss:cc]", or "[mm:ss]" with
// `short_form`. Each field has at least two digits; from 100 minutes on the minutes take three
// (and more), which later tag recognition does not accept.
std::u16string editor_timetag_text(uint32_t play_ms, bool short_form);

// The tag Delete should remove, given no selection and the caret at `caret`: the tag starting
// at the caret or the tag the caret stands inside. The edit box selects the range and passes
// Delete on. Nothing when no tag holds the unit right of the caret (Delete then removes one
// character as usual).
std::optional<TextRange> tag_after_caret(std::u16string_view text, size_t caret);

// What to remove before Backspace is passed on, given no selection and the caret at `caret`:
// everything of the tag ending at the caret, or of the tag the caret stands inside, except its
// "[" - which the passed-on Backspace then removes, leaving the caret where the tag began.
// Nothing when no tag holds the unit left of the caret.
std::optional<TextRange> tag_before_caret(std::u16string_view text, size_t caret);

// What the timetag key does to the text.
struct TimetagInsertion {
  // The units of the original text the new tag replaces (empty for a plain insertion).
  TextRange replace;
  // With append_line_break, CR LF is appended at the very end of the text after the
  // replacement.
  bool append_line_break = false;
  // Where the caret goes, as a position in the final text: after the replacement and, with
  // append_line_break, after the appended CR LF (then the end of the text).
  size_t caret_after = 0;
};

// Plans writing a tag of `tag_length` units with the caret (the start of the selection) at
// `caret`, a caret beyond the text counting as its end.
//
// `at_line_start`: the tag goes to the start of the caret's line, over a tag already standing
// there; the caret then moves to the start of the next line, and on the last line a CR LF is
// appended so the caret lands on a new empty line. Otherwise the tag goes at the caret, over
// the tag the caret stands at the start of or inside; the caret then follows the new tag.
TimetagInsertion plan_timetag_insertion(std::u16string_view text, size_t caret,
                                        bool at_line_start, size_t tag_length);

}  // namespace sabla
