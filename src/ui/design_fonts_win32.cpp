// The design page's font list: the installed faces the display can use, and which of them an
// item shows.
#include <windows.h>

#include <algorithm>
#include <string>

#include "settings/display_item.h"
#include "state/window_drawing_win32.h"
#include "ui/design_tab_win32.h"
#include "ui/design_values.h"
#include "ui/options_window_win32.h"
#include "ui/resources/design_tab_ids.h"

namespace sabla {
namespace {

constexpr std::u16string_view kFallbackFace = u"Microsoft Sans Serif";

int CALLBACK add_face(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM list) {
  if (!font || !(type & TRUETYPE_FONTTYPE)) return 1;
  const wchar_t* name = font->lfFaceName;
  const std::wstring face(name, std::find(name, name + LF_FACESIZE, L'\0'));
  const std::u16string face16(face.begin(), face.end());
  if (!offered_face(face16)) return 1;
  const auto combo = reinterpret_cast<HWND>(list);
  if (SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(face.c_str())) == CB_ERR) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
  }
  return 1;
}

}  // namespace

void DesignTab::fill_font_list() {
  // The faces the display can draw with are those of its own context; the page's stands in
  // while the visualizer is hidden.
  HDC dc = window_dc(frame_.state());
  WindowDc page_dc;
  if (!dc) {
    page_dc = WindowDc(window());
    dc = page_dc.get();
  }
  if (!dc) return;
  EnumFontsW(dc, nullptr, &add_face, reinterpret_cast<LPARAM>(item(IDC_DESIGN_FONT)));
}

int DesignTab::find_face(std::u16string_view face) const {
  if (face.empty()) return -1;
  const std::u16string terminated(face);
  const auto index =
      SendMessageW(item(IDC_DESIGN_FONT), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(wide(terminated)));
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

std::u16string DesignTab::face_at(int index) const {
  const HWND list = item(IDC_DESIGN_FONT);
  const auto length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length <= 0) return {};
  std::wstring face(static_cast<size_t>(length) + 1, L'\0');
  const auto copied =
      SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(face.data()));
  face.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return std::u16string(face.begin(), face.end());
}

void DesignTab::select_face(DisplayItem& shown) {
  int index = find_face(shown.face_name);
  if (index < 0) {
    // A face that is not installed: the item takes the one the list then shows, so the list,
    // the display and the settings file agree.
    index = find_face(kFallbackFace);
    if (index < 0 && SendMessageW(item(IDC_DESIGN_FONT), CB_GETCOUNT, 0, 0) > 0) index = 0;
    if (index >= 0) {
      shown.face_name = face_at(index);
      frame_.state().requests.fonts_changed = true;
    }
  }
  SendMessageW(item(IDC_DESIGN_FONT), CB_SETCURSEL, index, 0);
}

}  // namespace sabla
