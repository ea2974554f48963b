#include "player/txt_cleanup.h"

#include <gtest/gtest.h>

#include <string>

#include "player/player_text.h"

namespace sabla {
namespace {

std::u16string stripped(std::u16string text, bool* changed = nullptr) {
  const bool result = strip_tags_for_txt(text);
  if (changed) *changed = result;
  return text;
}

std::u16string emptied(std::u16string text, bool* changed = nullptr,
                       size_t max_scan = std::u16string::npos) {
  const bool result = empty_meta_lines(text, max_scan);
  if (changed) *changed = result;
  return text;
}

TEST(StripTagsForTxt, RemovesTagsUntilTheFirstBracketThatIsNoTag) {
  bool changed = false;
  EXPECT_EQ(stripped(u"[00:01:00]a[note][00:02:00]b", &changed), u"a[note][00:02:00]b");
  EXPECT_TRUE(changed);
  EXPECT_EQ(stripped(u"[00:01:00]a\r\n[00:02]b\r\nc[00:03:00]", &changed), u"a\r\nb\r\nc");
  EXPECT_EQ(stripped(u"[00:01:00][00:02:00]abc"), u"abc");
  EXPECT_EQ(stripped(u"[00:01:00]"), u"");
  EXPECT_EQ(stripped(u"[ab:cd]x[00:01]", &changed), u"[ab:cd]x[00:01]");
  EXPECT_FALSE(changed);
  EXPECT_EQ(stripped(u"abc", &changed), u"abc");
  EXPECT_FALSE(changed);
}

TEST(StripTagsForTxt, KeepsMalformedAndCutOffTags) {
  EXPECT_EQ(stripped(u"[01:02.50]x"), u"[01:02.50]x");  // '.' before the hundredths
  EXPECT_EQ(stripped(u"[00:01:0]x"), u"[00:01:0]x");
  EXPECT_EQ(stripped(u"[1:02]x"), u"[1:02]x");
  EXPECT_EQ(stripped(u"[００:01]x"), u"[００:01]x");  // full-width digits are no digits here
  // Tags cut off by the end of the text are read no further than the text goes.
  for (const std::u16string text : {u"[", u"[0", u"[00:0", u"[00:00", u"[00:00:", u"[00:00:0"}) {
    EXPECT_EQ(stripped(u"a" + text), u"a" + text);
    EXPECT_EQ(stripped(text), text);
  }
}

TEST(EmptyMetaLines, EmptiesLinesThatBeginWithAt) {
  bool changed = false;
  EXPECT_EQ(emptied(u"@by x", &changed), u"");
  EXPECT_TRUE(changed);
  EXPECT_EQ(emptied(u"a\r\n@by x\r\nb"), u"a\r\n\r\nb");
  EXPECT_EQ(emptied(u"@t=1\r\n@t=2\r\n\r\n@"), u"\r\n\r\n\r\n");
  EXPECT_EQ(emptied(u"a\r\n@end"), u"a\r\n");  // an empty last line stays
  // Only a CR LF begins a line; a lone CR ends inside the '@' line's content.
  EXPECT_EQ(emptied(u"a\n@b", &changed), u"a\n@b");
  EXPECT_FALSE(changed);
  EXPECT_EQ(emptied(u"@a\rb\r\nc"), u"\r\nc");
  EXPECT_EQ(emptied(u"a@b\r\n x@", &changed), u"a@b\r\n x@");
  EXPECT_FALSE(changed);
  EXPECT_EQ(emptied(u"", &changed), u"");
  EXPECT_FALSE(changed);
}

TEST(EmptyMetaLines, LooksNoFurtherThanTheScanLimit) {
  bool changed = false;
  EXPECT_EQ(emptied(u"@abcdef\r\n@x", &changed, 3), u"cdef\r\n");
  EXPECT_TRUE(changed);
  EXPECT_EQ(emptied(u"@ab\r\nx", nullptr, 3), u"\r\nx");
  EXPECT_EQ(emptied(u"@ab", nullptr, 100), u"");
  EXPECT_EQ(emptied(u"@ab", &changed, 0), u"@ab");
  EXPECT_FALSE(changed);
}

TEST(LyricsForPlayer, StripsTagsEmptiesMetaLinesAndFitsTheBuffer) {
  EXPECT_EQ(lyrics_for_player(u"[00:01:00]a\r\n@by x\r\n"), u"a\r\n\r\n");
  EXPECT_EQ(lyrics_for_player(u"@ti:x\r\n[00:01]b\r\n[00:02:50]c"), u"\r\nb\r\nc");
  EXPECT_EQ(lyrics_for_player(u"plain"), u"plain");
  EXPECT_EQ(lyrics_for_player(std::u16string(40000, u'x')).size(), 32767u);
  // The cut comes first: a tag that straddles the end of the buffer is no tag.
  const std::u16string tail = std::u16string(32760, u'x') + u"\r\n[00:01:00]y";
  EXPECT_EQ(lyrics_for_player(tail), tail.substr(0, 32767));
}

TEST(PlayerText, FitsBuffersAndRecognisesStreams) {
  EXPECT_EQ(fit_to_buffer(u"abc", 3), u"ab");
  EXPECT_EQ(fit_to_buffer(u"abc", 4), u"abc");
  EXPECT_EQ(fit_to_buffer(u"abc", 0), u"");
  EXPECT_TRUE(is_stream_location(u"http://radio/x"));
  EXPECT_TRUE(is_stream_location(u"HTTP://radio/x"));
  EXPECT_TRUE(is_stream_location(u"hTtP:"));
  EXPECT_FALSE(is_stream_location(u"http"));
  EXPECT_FALSE(is_stream_location(u"https://radio/x"));  // only "http:" is a stream
  EXPECT_FALSE(is_stream_location(u"C:\\http:\\a.mp3"));
  EXPECT_FALSE(is_stream_location(u""));
}

}  // namespace
}  // namespace sabla
