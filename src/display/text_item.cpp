#include "display/text_item.h"

#include "settings/display_items.h"

namespace sabla {
namespace {

std::u16string_view up_to_nul(std::u16string_view text) { return text.substr(0, text.find(u'\0')); }

}  // namespace

uint32_t text_item_flags(const DisplayItem& item) {
  uint32_t flags = item.draw_flags;
  if (item.size_mode_v == 0) {
    flags |= kDtSingleLine;
    if (item.align_v == 1) flags |= kDtBottom;
    if (item.align_v == 2) flags |= kDtVCenter;
  }
  return flags;
}

std::u16string text_item_text(const DisplayItem& item, std::u16string_view text) {
  std::u16string shown(up_to_nul(item.label));
  shown += up_to_nul(text);
  return shown;
}

}  // namespace sabla
