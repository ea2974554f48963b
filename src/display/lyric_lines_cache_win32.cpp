#include "display/lyric_lines_cache_win32.h"

#include <algorithm>
#include <cstring>

#include "display/dib_section_win32.h"
#include "display/lyrics_panel_win32.h"

namespace sabla {
namespace {

bool empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect cut(const Rect& r, const Rect& to) {
  return Rect{std::max(r.left, to.left), std::max(r.top, to.top), std::min(r.right, to.right),
              std::min(r.bottom, to.bottom)};
}

Rect join(const Rect& a, const Rect& b) {
  if (empty(a)) return b;
  if (empty(b)) return a;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

// A row's texts can only mark pixels inside their rectangles, and only inside the frame.
Rect row_box(const SlotDraw& slot, const Rect& frame) {
  Rect box;
  for (const TextDraw& text : slot.texts) box = join(box, cut(text.rect, frame));
  return box;
}

// A pixel marked by two rows would be blended twice, which one pair of captures cannot
// reproduce.
bool rows_overlap(const std::vector<Rect>& boxes) {
  for (size_t i = 0; i < boxes.size(); ++i) {
    for (size_t j = i + 1; j < boxes.size(); ++j) {
      if (!empty(boxes[i]) && !empty(boxes[j]) && !empty(cut(boxes[i], boxes[j]))) return true;
    }
  }
  return false;
}

uint32_t pixel_colour(COLORREF c) {
  return static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 |
         GetBValue(c);
}

void fill(const Pixels& p, Size size, uint32_t value) {
  for (int32_t y = 0; y < size.height; ++y) std::fill_n(p.row(y), size.width, value);
}

}  // namespace

bool LyricLinesCache::same_lines(HFONT font, const LOGFONTW& log_font, Size frame,
                                 const PanelDraw& lines) const {
  // A font made again may come back under the handle of the one it replaced, so the font's
  // description counts as well as its handle.
  return valid_ && font == font_ && std::memcmp(&log_font, &log_font_, sizeof log_font) == 0 &&
         frame == frame_ && lines == lines_;
}

bool LyricLinesCache::draw(HDC dc, const Pixels& frame, HFONT font, const PanelDraw& lines) {
  if (!dc || !frame) return false;
  if (!font) font = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
  LOGFONTW log_font{};
  if (!font || !GetObjectW(font, sizeof log_font, &log_font)) return false;
  const Size size{frame.width, frame.height};
  if (!same_lines(font, log_font, size, lines)) {
    valid_ = false;
    if (!remake(dc, font, size, lines)) return false;
    font_ = font;
    log_font_ = log_font;
    frame_ = size;
    lines_ = lines;
    valid_ = true;
  }
  // What GDI drew into the frame so far must be there before the lines go over it.
  GdiFlush();
  overlay_.draw(frame, box_.left, box_.top);
  return true;
}

bool LyricLinesCache::make_captures(HDC dc, Size size) {
  if (black_pixels_ && black_pixels_.width >= size.width && black_pixels_.height >= size.height) {
    return true;
  }
  const Size made{std::max(size.width, black_pixels_.width),
                  std::max(size.height, black_pixels_.height)};
  black_.reset();
  white_.reset();
  black_pixels_ = Pixels{};
  white_pixels_ = Pixels{};
  if (!black_dc_.get()) black_dc_ = MemoryDc(dc);
  if (!white_dc_.get()) white_dc_ = MemoryDc(dc);
  if (!black_dc_.get() || !white_dc_.get()) return false;
  uint32_t* black_bits = nullptr;
  uint32_t* white_bits = nullptr;
  black_ = SurfaceBitmap(black_dc_.get(), create_top_down_dib(dc, made, &black_bits));
  white_ = SurfaceBitmap(white_dc_.get(), create_top_down_dib(dc, made, &white_bits));
  if (!black_ || !white_ || !black_bits || !white_bits) {
    black_.reset();
    white_.reset();
    return false;
  }
  black_pixels_ = Pixels{black_bits, made.width, made.height, made.width};
  white_pixels_ = Pixels{white_bits, made.width, made.height, made.width};
  return true;
}

bool LyricLinesCache::remake(HDC dc, HFONT font, Size frame, const PanelDraw& lines) {
  ++remakes_;
  overlay_.clear();
  const Rect whole{0, 0, frame.width, frame.height};
  std::vector<Rect> boxes;
  Rect box;
  for (const SlotDraw& slot : lines.slots) {
    boxes.push_back(row_box(slot, whole));
    box = join(box, boxes.back());
  }
  if (rows_overlap(boxes)) return false;
  box_ = box;
  if (empty(box)) return true;  // nothing on screen: an empty overlay
  const Size size{box.right - box.left, box.bottom - box.top};
  if (!make_captures(dc, size)) return false;

  GdiFlush();
  fill(black_pixels_, size, 0x00000000u);
  fill(white_pixels_, size, 0x00FFFFFFu);
  // Drawn exactly as on the frame, only moved to the captures' corner; GDI places glyphs on
  // whole pixels, so the move changes nothing else. Only the rows' part of the frame is read
  // back, so text is cut where the frame cuts it.
  for (HDC capture : {black_dc_.get(), white_dc_.get()}) {
    draw_panel_texts(capture, font, lines, -box.left, -box.top);
  }
  GdiFlush();

  std::vector<TextInk> inks;
  for (size_t i = 0; i < boxes.size(); ++i) {
    const Rect& b = boxes[i];
    inks.push_back(
        TextInk{Rect{b.left - box.left, b.top - box.top, b.right - box.left, b.bottom - box.top},
                pixel_colour(lines.slots[i].text_color)});
  }
  Pixels black = black_pixels_;
  Pixels white = white_pixels_;
  black.width = white.width = size.width;
  black.height = white.height = size.height;
  return overlay_.build(black, white, inks);
}

}  // namespace sabla
