#include "ui/design_tab_win32.h"

#include <windows.h>
// Keep after windows.h, which they build on.
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>

#include "settings/display_items.h"
#include "ui/design_values.h"
#include "ui/options_window_win32.h"
#include "ui/resources/design_tab_ids.h"
#include "ui/themed_pages_win32.h"

namespace sabla {
namespace {

constexpr uint32_t kColourBits = 0x00FFFFFF;

constexpr std::array kFontControls{
    IDC_DESIGN_FONT_LABEL, IDC_DESIGN_FONT,          IDC_DESIGN_SIZE_LABEL, IDC_DESIGN_SIZE,
    IDC_DESIGN_SIZE_SPIN,  IDC_DESIGN_SPACING_LABEL, IDC_DESIGN_SPACING,    IDC_DESIGN_SPACING_SPIN,
    IDC_DESIGN_BOLD,       IDC_DESIGN_ITALIC};
constexpr std::array kSpacingControls{IDC_DESIGN_SPACING_LABEL, IDC_DESIGN_SPACING,
                                      IDC_DESIGN_SPACING_SPIN};
constexpr std::array kNumberFields{IDC_DESIGN_SIZE,      IDC_DESIGN_SPACING,  IDC_DESIGN_RADIUS,
                                   IDC_DESIGN_EXPANSION, IDC_DESIGN_ROTATION, IDC_DESIGN_DOTS,
                                   IDC_DESIGN_DOT_SIZE};

// The visualizer fields: the edit, its spin control's range and the `visualizer` value it sets.
struct VisualizerField {
  int edit;
  int spin;
  int32_t low;
  int32_t high;
  size_t value;
};
constexpr std::array kVisualizerFields{
    VisualizerField{IDC_DESIGN_RADIUS, IDC_DESIGN_RADIUS_SPIN, 0, 511, 1},
    VisualizerField{IDC_DESIGN_EXPANSION, IDC_DESIGN_EXPANSION_SPIN, -15, 15, 2},
    VisualizerField{IDC_DESIGN_ROTATION, IDC_DESIGN_ROTATION_SPIN, -255, 255, 3},
    VisualizerField{IDC_DESIGN_DOTS, IDC_DESIGN_DOTS_SPIN, 0, kMaxDotCount, 4},
    VisualizerField{IDC_DESIGN_DOT_SIZE, IDC_DESIGN_DOT_SIZE_SPIN, 0, 255, 5},
};

std::optional<uint32_t> common_colour_dialog(HWND owner, uint32_t initial) {
  // The custom colours start black every time and are forgotten with the dialog.
  std::array<COLORREF, 16> custom{};
  CHOOSECOLORW choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.rgbResult = initial & kColourBits;
  choice.lpCustColors = custom.data();
  choice.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  if (!ChooseColorW(&choice)) return std::nullopt;
  return choice.rgbResult & kColourBits;
}

DisplayItem* item_of_entry(Settings& settings, int entry) {
  if (entry < 0 || entry >= kDesignEntryCount) return nullptr;
  const auto index = static_cast<size_t>(kDesignEntries[static_cast<size_t>(entry)].item);
  return settings.items[index].get();
}

// Where the colour of a colour button lives for list entry `entry`; null for an entry without
// one.
uint32_t* colour_target(Settings& settings, int button, int entry) {
  if (button == IDC_DESIGN_PLAYING_FONT_COLOUR) return &settings.current_font_color;
  if (button == IDC_DESIGN_PLAYING_LINE_COLOUR) return &settings.current_line_color;
  DisplayItem* shown = item_of_entry(settings, entry);
  return shown && design_enables(entry).colour ? &shown->color : nullptr;
}

// Marks the page as writing its own fields for as long as it lives.
class Filling {
 public:
  explicit Filling(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~Filling() { flag_ = previous_; }
  Filling(const Filling&) = delete;
  Filling& operator=(const Filling&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace

DesignTab::DesignTab(OptionsWindow& frame) : frame_(frame), choose_colour_(&common_colour_dialog) {}

bool DesignTab::on_init() {
  PluginState& state = frame_.state();
  Settings& settings = state.settings;
  const bool was_initialised = state.options.initialised;
  state.options.initialised = false;
  Filling filling(filling_);
  enable_themed_page(window());

  for (const int field : kNumberFields) {
    SendMessageW(item(field), EM_SETLIMITTEXT, kFieldCharacters, 0);
  }
  set_spin_range(IDC_DESIGN_SIZE_SPIN, kMinFontSize, kMaxSpinSize);
  const DisplayItem* lyrics = entry_item(kLyricsEntry);
  set_spin_range(IDC_DESIGN_SPACING_SPIN, lyrics ? lyrics->font_size : kMinFontSize, kMaxSpinSize);
  for (const VisualizerField& field : kVisualizerFields) {
    set_spin_range(field.spin, field.low, field.high);
  }

  fill_item_list();
  fill_font_list();
  show_entry(0);
  show_number(IDC_DESIGN_SPACING, settings.song_return_size);

  show_check(IDC_DESIGN_HINTS, settings.beginner == 1);
  show_check(IDC_DESIGN_KEY_HELP, settings.show_status[1] == 1);
  show_check(IDC_DESIGN_VISUALIZER, settings.visualizer[0] == 1);
  for (const VisualizerField& field : kVisualizerFields) {
    show_number(field.edit, settings.visualizer[field.value]);
  }
  state.options.initialised = was_initialised;
  return true;
}

bool DesignTab::on_command(int id, int code, HWND) {
  switch (id) {
    case IDC_DESIGN_ITEMS:
      if (code == CBN_SELCHANGE) show_entry(selected_entry());
      return code == CBN_SELCHANGE;
    case IDC_DESIGN_FONT:
      if (code == CBN_SELCHANGE) face_chosen();
      return code == CBN_SELCHANGE;
    case IDC_DESIGN_SIZE:
      if (code == EN_CHANGE) font_size_typed();
      return code == EN_CHANGE;
    case IDC_DESIGN_SPACING:
      if (code == EN_CHANGE) line_spacing_typed();
      if (code == EN_KILLFOCUS) line_spacing_left();
      return code == EN_CHANGE || code == EN_KILLFOCUS;
    case IDC_DESIGN_RADIUS:
    case IDC_DESIGN_EXPANSION:
    case IDC_DESIGN_ROTATION:
    case IDC_DESIGN_DOTS:
    case IDC_DESIGN_DOT_SIZE:
      if (code == EN_CHANGE) visualizer_typed(id);
      return code == EN_CHANGE;
    default:
      break;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_DESIGN_SHOWN:
      shown_clicked();
      return true;
    case IDC_DESIGN_BOLD:
    case IDC_DESIGN_ITALIC:
      style_clicked(id);
      return true;
    case IDC_DESIGN_VISUALIZER:
    case IDC_DESIGN_HINTS:
    case IDC_DESIGN_KEY_HELP:
      option_clicked(id);
      return true;
    case IDC_DESIGN_COLOUR:
    case IDC_DESIGN_PLAYING_FONT_COLOUR:
    case IDC_DESIGN_PLAYING_LINE_COLOUR:
      colour_clicked(id);
      return true;
    default:
      return false;
  }
}

int DesignTab::selected_entry() const {
  const auto entry = static_cast<int>(SendMessageW(item(IDC_DESIGN_ITEMS), CB_GETCURSEL, 0, 0));
  return entry >= 0 && entry < kDesignEntryCount ? entry : -1;
}

DisplayItem* DesignTab::entry_item(int entry) const {
  return item_of_entry(frame_.state().settings, entry);
}

void DesignTab::fill_item_list() {
  const HWND list = item(IDC_DESIGN_ITEMS);
  for (const DesignEntry& entry : kDesignEntries) {
    const std::u16string caption = frame_.text(entry.caption_id);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(caption)));
  }
  SendMessageW(list, CB_SETCURSEL, 0, 0);
}

void DesignTab::set_spin_range(int spin, int32_t low, int32_t high) {
  SendMessageW(item(spin), UDM_SETRANGE32, static_cast<WPARAM>(std::min(low, high)), high);
}

void DesignTab::show_number(int edit, int32_t value) {
  Filling filling(filling_);
  set_window_text(item(edit), number_text(value));
}

void DesignTab::show_check(int box, bool on) {
  SendMessageW(item(box), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool DesignTab::checked(int box) const {
  return SendMessageW(item(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool DesignTab::typing() const { return !filling_ && frame_.state().options.initialised; }

void DesignTab::show_entry(int entry) {
  DisplayItem* shown = entry_item(entry);
  if (!shown) return;
  Filling filling(filling_);
  const DesignEnables enables = design_enables(entry);
  for (const int id : kFontControls) EnableWindow(item(id), enables.font);
  if (enables.font) {
    show_number(IDC_DESIGN_SIZE, shown->font_size);
    select_face(*shown);
    show_check(IDC_DESIGN_BOLD, shown->font_weight != 0);
    show_check(IDC_DESIGN_ITALIC, shown->font_italic != 0);
  }
  show_check(IDC_DESIGN_SHOWN, shown->draw_order >= 0);
  for (const int id : kSpacingControls) EnableWindow(item(id), enables.line_spacing);
  EnableWindow(item(IDC_DESIGN_COLOUR), enables.colour);
  EnableWindow(item(IDC_DESIGN_PLAYING_FONT_COLOUR), enables.playing_colours);
  EnableWindow(item(IDC_DESIGN_PLAYING_LINE_COLOUR), enables.playing_colours);
}

void DesignTab::shown_clicked() {
  const int entry = selected_entry();
  DisplayItem* shown = entry_item(entry);
  if (!shown) return;
  shown->draw_order =
      checked(IDC_DESIGN_SHOWN) ? kDesignEntries[static_cast<size_t>(entry)].shown_draw_order : -1;
  // The renderer walks the drawing order list; it must place the item among the others now,
  // as the next load of the settings would.
  Settings& settings = frame_.state().settings;
  renumber_draw_order(settings.items);
  settings.drawing_order = build_drawing_order(settings.items);
  frame_.state().requests.fonts_changed = true;
}

void DesignTab::style_clicked(int box) {
  const int entry = selected_entry();
  DisplayItem* shown = entry_item(entry);
  if (!shown || !design_enables(entry).font) return;
  if (box == IDC_DESIGN_BOLD)
    shown->font_weight = checked(box) ? kFontWeightBold : 0;
  else
    shown->font_italic = checked(box) ? 1 : 0;
  frame_.state().requests.fonts_changed = true;
}

void DesignTab::face_chosen() {
  const int entry = selected_entry();
  DisplayItem* shown = entry_item(entry);
  if (!shown || !design_enables(entry).font) return;
  const auto index = static_cast<int>(SendMessageW(item(IDC_DESIGN_FONT), CB_GETCURSEL, 0, 0));
  std::u16string face = index >= 0 ? face_at(index) : std::u16string();
  if (!offered_face(face)) return;
  shown->face_name = std::move(face);
  frame_.state().requests.fonts_changed = true;
}

void DesignTab::font_size_typed() {
  const int entry = selected_entry();
  DisplayItem* shown = entry_item(entry);
  if (!typing() || !shown || !design_enables(entry).font) return;
  const FieldValue size = at_least_one(window_text(item(IDC_DESIGN_SIZE)));
  shown->font_size = size.value;
  if (size.rewrite) show_number(IDC_DESIGN_SIZE, size.value);
  if (entry == kLyricsEntry) {
    Settings& settings = frame_.state().settings;
    if (settings.song_return_size < size.value) {
      settings.song_return_size = size.value;
      show_number(IDC_DESIGN_SPACING, size.value);
    }
    set_spin_range(IDC_DESIGN_SPACING_SPIN, size.value, kMaxSpinSize);
  }
  frame_.state().requests.fonts_changed = true;
}

void DesignTab::line_spacing_typed() {
  if (!typing()) return;
  const FieldValue typed = at_least_one(window_text(item(IDC_DESIGN_SPACING)));
  if (typed.rewrite) show_number(IDC_DESIGN_SPACING, typed.value);
  const DisplayItem* lyrics = entry_item(kLyricsEntry);
  Settings& settings = frame_.state().settings;
  // Half-typed values below the lyrics font keep the rows at the font's height.
  const int32_t kept = kept_line_spacing(typed.value, lyrics ? lyrics->font_size : kMinFontSize);
  if (kept == settings.song_return_size) return;
  settings.song_return_size = kept;
  frame_.state().requests.fonts_changed = true;
}

void DesignTab::line_spacing_left() {
  const int32_t kept = frame_.state().settings.song_return_size;
  if (field_number(window_text(item(IDC_DESIGN_SPACING))) != kept) {
    show_number(IDC_DESIGN_SPACING, kept);
  }
}

void DesignTab::visualizer_typed(int edit) {
  if (!typing()) return;
  const auto field = std::find_if(kVisualizerFields.begin(), kVisualizerFields.end(),
                                  [&](const VisualizerField& f) { return f.edit == edit; });
  if (field == kVisualizerFields.end()) return;
  const std::u16string text = window_text(item(edit));
  const FieldValue value =
      edit == IDC_DESIGN_DOTS ? dot_count(text) : FieldValue{field_number(text), false};
  frame_.state().settings.visualizer[field->value] = value.value;
  if (value.rewrite) show_number(edit, value.value);
}

void DesignTab::option_clicked(int box) {
  Settings& settings = frame_.state().settings;
  const uint8_t on = checked(box) ? 1 : 0;
  if (box == IDC_DESIGN_VISUALIZER)
    settings.visualizer[0] = on;
  else if (box == IDC_DESIGN_HINTS)
    settings.beginner = on;
  else
    settings.show_status[1] = on;
}

void DesignTab::colour_clicked(int button) {
  PluginState& state = frame_.state();
  const int entry = selected_entry();
  const uint32_t* current = colour_target(state.settings, button, entry);
  if (!current || !choose_colour_) return;
  // The dialog runs its own message loop: the host may close the options window, and with it
  // this page, or reload the items before it returns. Nothing of the page is touched after it
  // unless the page is still there, and the colour's place is looked up again.
  const HWND page = window();
  const ColourChooser choose = choose_colour_;
  const std::optional<uint32_t> chosen = choose(frame_.window(), *current);
  if (!chosen || !IsWindow(page)) return;
  if (uint32_t* colour = colour_target(state.settings, button, entry)) {
    *colour = *chosen & kColourBits;
  }
}

}  // namespace sabla
