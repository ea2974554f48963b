#include "settings/legacy_import.h"

#include <string_view>
#include <vector>

#include "settings/item_records.h"
#include "settings/settings_reader.h"

namespace sabla {
namespace {

constexpr size_t kLegacyLineBytes = 1023;
constexpr size_t kLegacyPathBytes = 1018;
constexpr std::u16string_view kOldDefaultFace = u"Microsoft Sans Serif";
constexpr std::u16string_view kOldJapaneseFace = u"ＭＳ Ｐゴシック";

// The old file was read in text mode, which turns CR LF into LF.
std::vector<std::string_view> split_text_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    const bool last = lf == std::string_view::npos;
    if (last) lf = text.size();
    std::string_view line = text.substr(start, lf - start);
    if (!last && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = lf + 1;
  }
  return lines;
}

void set_item(DisplayItem& item, std::initializer_list<int32_t> placement) {
  const int32_t* v = placement.begin();
  item.offset_x = v[0];
  item.size_x = v[1];
  item.offset_y = v[2];
  item.size_y = v[3];
}

void upgrade_lyrics_item(DisplayItem& lyrics) {
  lyrics.font_size = 14;
  set_item(lyrics, {100, 0, 100, 14});
  lyrics.color = make_color(200, 200, 200);
  lyrics.font_weight = 0;
  lyrics.font_italic = 0;
  lyrics.align_h = 0;
  lyrics.align_v = 0;
  lyrics.draw_order = 240;
  lyrics.size_mode_h = 0;
  lyrics.size_mode_v = 0;
  lyrics.draw_flags = kDtNoPrefix;
  lyrics.face_name = kOldDefaultFace;
}

void upgrade_indicator(DisplayItem& item, int32_t offset_x, int32_t draw_order) {
  set_item(item, {offset_x, 4, 30, 14});
  item.color = make_color(100, 100, 100);
  item.align_h = 1;
  item.align_v = 0;
  item.draw_order = draw_order;
  item.size_mode_h = 1;
  item.size_mode_v = 0;
  item.direction = 0;
}

void upgrade_artwork(DisplayItem& item) {
  set_item(item, {20, 120, 14, 120});
  item.align_h = 1;
  item.align_v = 1;
  item.draw_order = 100;
  item.size_mode_h = 1;
  item.size_mode_v = 1;
  item.keep_aspect = 1;
}

// Templates before version 400 took their values by position; other "%" sequences stay as
// they are.
void upgrade_template(std::u16string& url) {
  for (std::u16string_view field : {u"[artist]", u"[title]"}) {
    const size_t at = url.find(u"%s");
    if (at == std::u16string::npos) return;
    url.replace(at, 2, field);
  }
}

void upgrade(Settings& s, int32_t old_version) {
  auto item = [&](int index) -> DisplayItem* { return s.items[static_cast<size_t>(index)].get(); };
  if (old_version < 330) {
    s.new_file = {1, 1};
    if (DisplayItem* lyrics = item(kLyricsItem)) upgrade_lyrics_item(*lyrics);
  }
  if (old_version < 351) {
    for (int i = 0; i <= kLyricsItem; ++i) {
      if (DisplayItem* text = item(i)) text->draw_order = 200 + 10 * i;
    }
    if (DisplayItem* left = item(kVolumeLeftItem)) upgrade_indicator(*left, 10, 120);
    if (DisplayItem* right = item(kVolumeRightItem)) upgrade_indicator(*right, 5, 110);
    if (DisplayItem* artwork = item(kCoverArtItem)) upgrade_artwork(*artwork);
  }
  if (old_version < 400) {
    for (auto& url : s.URL) upgrade_template(url);
  }
  if (old_version < 496) s.beginner = 1;
  if (old_version < 510) {
    for (int i = 0; i <= kLyricsItem; ++i) {
      DisplayItem* text = item(i);
      if (text && text->face_name == kOldJapaneseFace) text->face_name = kOldDefaultFace;
    }
  }
}

}  // namespace

void import_legacy_settings(Settings& s, std::span<const uint8_t> file, const CodePage& code_page) {
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  const std::vector<std::string_view> lines = split_text_lines(text);
  const KeyedLines keyed = pair_key_lines<char>(lines);

  const int32_t kept_version = s.version;
  s.version = 0;
  ReadContext ctx;
  ctx.legacy = true;
  read_keyed_lines(s, keyed, ctx, [&](size_t line, const KeyRow& row) {
    const size_t limit = row.key == u"[path]" ? kLegacyPathBytes : kLegacyLineBytes;
    std::string_view value = lines[line].substr(0, limit);
    value = value.substr(0, value.find('\0'));
    return code_page.decode(value);
  });
  const int32_t old_version = s.version;
  s.version = kept_version;
  upgrade(s, old_version);
}

}  // namespace sabla
