#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/dialog_win32.h"

namespace sabla {

class OptionsWindow;
struct DisplayItem;

// The design page: visibility, font, size and colour of eight display items, the lyrics' line
// spacing and playing-line colours, the background visualizer and the two hint options. Every
// change goes into the settings at once; font and layout changes reach the display through the
// idle call's `fonts_changed` request.
class DesignTab final : public Dialog {
 public:
  // Asks the user for a colour, starting at `initial`; nothing when the dialog is cancelled.
  using ColourChooser = std::function<std::optional<uint32_t>(HWND owner, uint32_t initial)>;

  explicit DesignTab(OptionsWindow& frame);

  // The colour dialog the page asks; the common colour dialog unless replaced.
  void set_colour_chooser(ColourChooser chooser) { choose_colour_ = std::move(chooser); }

 private:
  bool on_init() override;
  bool on_command(int id, int code, HWND control) override;

  int selected_entry() const;
  DisplayItem* entry_item(int entry) const;
  void fill_item_list();
  void fill_font_list();
  void set_spin_range(int spin, int32_t low, int32_t high);
  void show_number(int edit, int32_t value);
  void show_check(int box, bool checked);
  bool checked(int box) const;
  void show_entry(int entry);
  void select_face(DisplayItem& shown);
  int find_face(std::u16string_view face) const;
  std::u16string face_at(int index) const;
  bool typing() const;

  void shown_clicked();
  void style_clicked(int box);
  void face_chosen();
  void font_size_typed();
  void line_spacing_typed();
  void line_spacing_left();
  void visualizer_typed(int edit);
  void option_clicked(int box);
  void colour_clicked(int button);

  OptionsWindow& frame_;
  ColourChooser choose_colour_;
  // Set while the page writes its own fields, whose change notifications are not the user's.
  bool filling_ = false;
};

}  // namespace sabla
