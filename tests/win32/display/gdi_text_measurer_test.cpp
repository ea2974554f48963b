#include <gtest/gtest.h>

#include <string>

#include "display/gdi_text_measurer_win32.h"
#include "lyrics/lyric_document.h"
#include "lyrics/lyric_line.h"
#include "settings/settings_store.h"
#include "win32/settings/temp_folder.h"

namespace sabla {
namespace {

void delete_font(void* font) { DeleteObject(static_cast<HGDIOBJ>(font)); }

PlatformFont make_font(int height, bool italic, const wchar_t* face) {
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                           0, FF_SWISS | DEFAULT_PITCH, face);
  return PlatformFont(font, &delete_font);
}

class MemoryDc {
 public:
  MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDc() { DeleteDC(dc_); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

int width(TextMeasurer& m, std::u16string_view text) {
  return m.calc_rect(text.data(), static_cast<int>(text.size())).right;
}

TEST(GdiTextMeasurer, ExtentsFollowTheTextAndTheFont) {
  MemoryDc dc;
  ASSERT_NE(dc.get(), nullptr);
  PlatformFont font = make_font(20, false, L"MS UI Gothic");
  ASSERT_TRUE(font);
  GdiTextMeasurer measurer(dc.get(), font);

  const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
  const Rect one = measurer.calc_rect(u"a", 1);
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);  // the selection is put back
  EXPECT_EQ(one.left, 0);
  EXPECT_EQ(one.top, 0);
  EXPECT_GT(one.right, 0);
  EXPECT_GE(one.bottom, 18);
  EXPECT_GT(width(measurer, u"aaaa"), one.right);
  EXPECT_GT(width(measurer, u"\u6B4C\u8A5E\u6B4C\u8A5E"), width(measurer, u"\u6B4C"));
  // Only `count` characters are measured, and no count means nothing at all.
  EXPECT_EQ(measurer.calc_rect(u"aaaa", 1), one);
  EXPECT_EQ(measurer.calc_rect(u"a", 0).right, 0);
  EXPECT_EQ(measurer.calc_rect(u"a", -1), Rect{});
  // An '&' in a lyric is a character of its own, not a mnemonic marker.
  EXPECT_GT(width(measurer, u"You & Me"), width(measurer, u"You  Me"));

  // The font is looked up at each call: a rebuilt, larger font measures larger.
  const int small = width(measurer, u"lyrics");
  font = make_font(40, false, L"MS UI Gothic");
  EXPECT_GT(width(measurer, u"lyrics"), small);
  EXPECT_GT(measurer.calc_rect(u"a", 1).bottom, one.bottom);

  GdiTextMeasurer no_dc(nullptr, font);
  EXPECT_EQ(no_dc.calc_rect(u"a", 1), Rect{});
  EXPECT_EQ(no_dc.trailing_overhang(u'f'), 0);
}

TEST(GdiTextMeasurer, LineExtentsAddTheTrailingOverhang) {
  MemoryDc dc;
  PlatformFont font = make_font(40, true, L"Tahoma");
  ASSERT_TRUE(font);
  GdiTextMeasurer measurer(dc.get(), font);

  // An italic glyph leans past its advance: find one whose C width is not zero.
  char16_t leaning = 0;
  for (char16_t c = u'A'; c <= u'z' && !leaning; ++c) {
    if (measurer.trailing_overhang(c) != 0) leaning = c;
  }
  ASSERT_NE(leaning, 0) << "no glyph with a trailing overhang in the italic font";
  const int overhang = measurer.trailing_overhang(leaning);
  ABC abc{};
  {
    const HGDIOBJ previous = SelectObject(dc.get(), static_cast<HGDIOBJ>(font.get()));
    ASSERT_TRUE(GetCharABCWidthsW(dc.get(), leaning, leaning, &abc));
    SelectObject(dc.get(), previous);
  }
  EXPECT_EQ(overhang, abc.abcC);

  const std::u16string text = std::u16string(u"[00:01:00]ab") + leaning;
  LyricLine line;
  line.set_text(text, 512);
  line.measure(&measurer);
  EXPECT_EQ(line.text_extent().right, width(measurer, text) + std::abs(overhang));
  EXPECT_EQ(line.display_extent().right, width(measurer, line.display_text()) + std::abs(overhang));
  const int bracket = std::abs(measurer.trailing_overhang(u']'));
  EXPECT_EQ(line.long_tag_extent().right, width(measurer, u"[00:01:00]") + bracket);
  EXPECT_EQ(line.short_tag_extent().right, width(measurer, u"[00:01]") + bracket);
}

TEST(GdiTextMeasurer, SettingsLoadGivesThePanelItsStore) {
  test::TempFolder temp;
  CreateDirectoryW((temp / L"AppData").c_str(), nullptr);
  CreateDirectoryW((temp / L"AppData\\Sabla").c_str(), nullptr);
  const SettingsLocation where{temp / L"AppData\\Sabla\\Sabla.ini", temp / L"none.ini",
                               temp / L"Documents"};
  const std::u16string text =
      u"[version]\r\n680\r\n[song_return_size]\r\n35\r\n[song_bf_size]\r\n300,600\r\n";
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  ASSERT_TRUE(test::write_bytes(where.file, bytes));

  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  {
    PluginState state;
    load_settings(state, where, screen);
    LyricDocument* lyrics = as_lyric_document(state.settings.items[kLyricsItem].get());
    ASSERT_NE(lyrics, nullptr);
    EXPECT_EQ(lyrics->line_capacity(), 600);
    EXPECT_EQ(lyrics->max_line_chars(), 300);
    EXPECT_EQ(lyrics->line_spacing(), 35);
    EXPECT_GT(lyrics->marker_extent().right, 0);
    lyrics->load_text(1000, std::u16string(400, u'x'));
    EXPECT_EQ(lyrics->line(0)->text_chars(), 299);
    EXPECT_GT(lyrics->line(0)->text_extent().right, 0);
    lyrics->release_lines();

    // Without a context nothing is measured.
    load_settings(state, where, nullptr);
    lyrics = as_lyric_document(state.settings.items[kLyricsItem].get());
    ASSERT_NE(lyrics, nullptr);
    EXPECT_EQ(lyrics->marker_extent(), Rect{});
    lyrics->load_text(1000, u"abc");
    EXPECT_EQ(lyrics->line(0)->text_extent(), Rect{});
  }
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace sabla
