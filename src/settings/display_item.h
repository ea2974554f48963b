#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "lyrics/rect.h"

namespace sabla {

// An item's font as an opaque platform handle, owned: the Win32 layer creates it and supplies
// the deleter, so the portable records can own fonts without seeing <windows.h>.
class PlatformFont {
 public:
  using Deleter = void (*)(void*);
  PlatformFont() = default;
  PlatformFont(void* handle, Deleter deleter) : handle_(handle, deleter) {}
  void* get() const { return handle_.get(); }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() { handle_.reset(); }

 private:
  std::unique_ptr<void, Deleter> handle_{nullptr, [](void*) {}};
};

// One of the 17 placed elements of the visualizer area. The lyrics item (index 4) is the
// LyricDocument, which derives from this record.
struct DisplayItem {
  virtual ~DisplayItem() = default;

  std::u16string name;   // record key in the settings file, e.g. u"[title]"
  std::u16string label;  // drawn in front of the item's value, at most 127 characters

  int32_t font_size = 20;
  int32_t font_weight = 0;  // 0 or 900
  int32_t font_italic = 0;
  std::u16string face_name;

  int32_t offset_x = 0;
  int32_t size_x = 0;
  int32_t offset_y = 0;
  int32_t size_y = 0;
  int32_t align_h = 0;  // 0 left, 1 right, 2 centre
  int32_t align_v = 0;  // 0 top, 1 bottom, 2 centre
  int32_t size_mode_h = 0;
  int32_t size_mode_v = 0;

  uint32_t color = 0;       // COLORREF 0x00BBGGRR
  int32_t draw_order = 0;   // negative hides the item
  uint32_t draw_flags = 0;  // DrawTextW format of a text item
  int32_t alignment_code = 0;
  int32_t direction = 0;    // level indicators
  int32_t keep_aspect = 0;  // artwork

  Rect rect;          // computed by place()
  PlatformFont font;  // computed by build_font()

  // Computes `rect` inside a drawing area of width w and height h from the offsets, sizes,
  // alignments and sizing modes.
  void place(int32_t w, int32_t h);
};

}  // namespace sabla
