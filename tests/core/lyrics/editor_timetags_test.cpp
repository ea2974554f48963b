#include "lyrics/editor_timetags.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace sabla {
namespace {

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// Texts below mark the caret with "|"; it is taken out before the text is used.
struct CaretText {
  std::u16string text;
  size_t caret;
};

CaretText split_caret(std::u16string_view marked) {
  const size_t caret = marked.find(u'|');
  std::u16string text(marked);
  text.erase(caret, 1);
  return {text, caret};
}

// What the edit box makes of a planned insertion, with the caret marked.
std::u16string inserted(std::u16string_view marked, bool at_line_start, std::u16string_view tag) {
  const CaretText before = split_caret(marked);
  const TimetagInsertion plan =
      plan_timetag_insertion(before.text, before.caret, at_line_start, tag.size());
  std::u16string text = before.text;
  EXPECT_LE(plan.replace.start, plan.replace.end);
  EXPECT_LE(plan.replace.end, text.size());
  text.replace(plan.replace.start, plan.replace.end - plan.replace.start, tag);
  if (plan.append_line_break) text += u"\r\n";
  EXPECT_LE(plan.caret_after, text.size());
  text.insert(std::min(plan.caret_after, text.size()), u"|");
  return text;
}

TEST(EditorTimetags, TagTextOfThePlayPosition) {
  const struct {
    uint32_t play_ms;
    bool short_form;
    std::u16string expected;
  } cases[] = {
      {62030, false, u"[01:02:03]"},
      {62030, true, u"[01:02]"},
      {61999, false, u"[01:01:99]"},
      {599999, false, u"[09:59:99]"},
      {0, false, u"[00:00:00]"},
      {9, true, u"[00:00]"},
      {5999990, false, u"[99:59:99]"},
      // From 100 minutes on the minutes simply take more digits.
      {6000000, false, u"[100:00:00]"},
      {6000000, true, u"[100:00]"},
      {UINT32_MAX, false, u"[71582:47:29]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(editor_timetag_text(c.play_ms, c.short_form), c.expected) << c.play_ms;
  }
}

TEST(EditorTimetags, DeleteTakesTheTagRightOfTheCaret) {
  const struct {
    std::u16string marked;
    std::optional<TextRange> expected;
  } cases[] = {
      {u"|[00:12:34]", TextRange{0, 10}},
      {u"|[00:59]abc", TextRange{0, 7}},
      // Between the 1 and the 2, and everywhere else inside.
      {u"x[00:1|2:34]y", TextRange{1, 11}},
      {u"x[|00:12:34]y", TextRange{1, 11}},
      {u"x[00:12:34|]y", TextRange{1, 11}},
      {u"x[00:5|9]y", TextRange{1, 8}},
      {u"x[00:59|]y", TextRange{1, 8}},
      // Right of the tag, or in front of ordinary text: Delete removes one character.
      {u"[00:12:34]|y", std::nullopt},
      {u"[00:12:34]|", std::nullopt},
      {u"x|[00:12:34]", TextRange{1, 11}},
      // A tag further right is not the one at the caret.
      {u"|ab[00:12]", std::nullopt},
      {u"|a[00:12]", std::nullopt},
      {u"a|b[00:12:34]", std::nullopt},
      // Only tags wholly inside the text count.
      {u"|[00:12:3", std::nullopt},
      {u"[00:1|2", std::nullopt},
      {u"|[0a:12]", std::nullopt},
      {u"[00:12.3|4]", std::nullopt},
      {u"|", std::nullopt},
  };
  for (const auto& c : cases) {
    const CaretText t = split_caret(c.marked);
    EXPECT_EQ(tag_after_caret(t.text, t.caret), c.expected) << narrow(c.marked);
  }
  EXPECT_EQ(tag_after_caret(u"[00:12]", 8), std::nullopt);
}

TEST(EditorTimetags, BackspaceTakesTheTagLeftOfTheCaretButItsBracket) {
  const struct {
    std::u16string marked;
    std::optional<TextRange> expected;
  } cases[] = {
      {u"[00:12:34]|", TextRange{1, 10}},
      {u"ab[00:12:34]|cd", TextRange{3, 12}},
      {u"a[00:59]|", TextRange{2, 8}},
      // Inside the tag the whole tag goes, up to its "]".
      {u"x[00:1|2:34]y", TextRange{2, 11}},
      {u"x[|00:12:34]y", TextRange{2, 11}},
      {u"x[0|0:59]y", TextRange{2, 8}},
      // Left of the tag there is only ordinary text to remove.
      {u"x|[00:12:34]", std::nullopt},
      {u"x|[00:12]", std::nullopt},
      {u"|[00:12]", std::nullopt},
      {u"[00:12]a|", std::nullopt},
      {u"ab|c", std::nullopt},
      // Cut by the end of the text, or not a tag at all.
      {u"x[00:1|2:3", std::nullopt},
      {u"[00:12:3|", std::nullopt},
      {u"[0a:12:34]|", std::nullopt},
      {u"|", std::nullopt},
  };
  for (const auto& c : cases) {
    const CaretText t = split_caret(c.marked);
    EXPECT_EQ(tag_before_caret(t.text, t.caret), c.expected) << narrow(c.marked);
  }
  EXPECT_EQ(tag_before_caret(u"[00:12]", 8), std::nullopt);
}

TEST(EditorTimetags, InsertionAtTheLineStart) {
  const std::u16string tag = u"[01:02:03]";
  const struct {
    std::u16string marked;
    std::u16string tag;
    std::u16string expected;
  } cases[] = {
      // Line 3 of 4: the tag goes in front, the caret to the start of line 4.
      {u"one\r\ntwo\r\nth|ree\r\nfour", tag, u"one\r\ntwo\r\n[01:02:03]three\r\n|four"},
      {u"one\r\n|two\r\nx", tag, u"one\r\n[01:02:03]two\r\n|x"},
      {u"one\r\ntwo|\r\nx", tag, u"one\r\n[01:02:03]two\r\n|x"},
      // A tag at the line start is overwritten, whatever its form.
      {u"a\r\n[00:59]b|c\r\nd", tag, u"a\r\n[01:02:03]bc\r\n|d"},
      {u"a\r\n[00:59:12]|bc\r\nd", u"[01:02]", u"a\r\n[01:02]bc\r\n|d"},
      {u"[00:5|9]\r\nd", tag, u"[01:02:03]\r\n|d"},
      // A tag further into the line stays.
      {u"x[00:59]|\r\n", tag, u"[01:02:03]x[00:59]\r\n|"},
      // The last line gets a line end and the caret the new empty line.
      {u"a\r\nb|c", tag, u"a\r\n[01:02:03]bc\r\n|"},
      {u"a\r\n[00:01:00]b|", tag, u"a\r\n[01:02:03]b\r\n|"},
      {u"a\r\n|", tag, u"a\r\n[01:02:03]\r\n|"},
      {u"|", tag, u"[01:02:03]\r\n|"},
      // Short tags move the caret on just the same.
      {u"|a\r\nb", u"[01:02]", u"[01:02]a\r\n|b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(inserted(c.marked, true, c.tag), c.expected) << narrow(c.marked);
  }
}

TEST(EditorTimetags, InsertionAtTheCaret) {
  const std::u16string tag = u"[01:02:03]";
  const struct {
    std::u16string marked;
    std::u16string expected;
  } cases[] = {
      {u"ab|cd", u"ab[01:02:03]|cd"},
      {u"|", u"[01:02:03]|"},
      // On a tag, at its start or anywhere inside, the new tag overwrites it.
      {u"|[00:12:34]x", u"[01:02:03]|x"},
      {u"a[00:1|2:34]x", u"a[01:02:03]|x"},
      {u"a[00:12:34|]x", u"a[01:02:03]|x"},
      {u"|[00:59]x", u"[01:02:03]|x"},
      {u"a[00:5|9]x", u"a[01:02:03]|x"},
      // Right after a tag, or before a tag further on, the tag goes in at the caret.
      {u"[00:12:34]|x", u"[00:12:34][01:02:03]|x"},
      {u"ab|cd[00:12]", u"ab[01:02:03]|cd[00:12]"},
      {u"ab|c[00:12:34]", u"ab[01:02:03]|c[00:12:34]"},
      {u"a|[00:12:3", u"a[01:02:03]|[00:12:3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(inserted(c.marked, false, tag), c.expected) << narrow(c.marked);
  }
  // A caret past the end counts as the end.
  const TimetagInsertion plan = plan_timetag_insertion(u"ab", 9, false, tag.size());
  EXPECT_EQ(plan.replace, (TextRange{2, 2}));
  EXPECT_EQ(plan.caret_after, 12u);
}

}  // namespace
}  // namespace sabla
