#include "ui/key_help_text.h"

#include <initializer_list>

#include "settings/settings.h"
#include "state/key_names.h"

namespace sabla {
namespace {

// The timetag keys of the lyric edit box need Shift unless the user chose to do without it.
std::u16string_view shift_prefix(const Settings& settings) {
  return settings.dialog_ins_timetag[1] == 1 ? u"" : u"[Shift]+";
}

std::u16string bracketed(const KeyNames& names, uint8_t code) {
  std::u16string text = u"[";
  text += names.key_name(code);
  text += u']';
  return text;
}

void add_line(std::u16string& text, std::initializer_list<std::u16string_view> parts) {
  for (std::u16string_view part : parts) text += part;
  text += u"\r\n";
}

}  // namespace

std::u16string key_help_text(const Settings& s, const KeyNames& names) {
  const std::u16string_view p = shift_prefix(s);
  const std::u16string ins_tag = bracketed(names, s.ins_tag);
  const std::u16string scroll = bracketed(names, s.scroll_up) + bracketed(names, s.scroll_down);
  std::u16string text;
  // The labels' first line is the edit box heading.
  add_line(text, {});
  add_line(text, {p, ins_tag});
  add_line(text, {p, u"[Bs]"});
  add_line(text, {p, u"[Del]"});
  add_line(text, {u"[PgUp][PgDn]"});
  add_line(text, {});  // heading: the display as usual
  add_line(text, {u"[F5]"});
  add_line(text, {bracketed(names, s.edit_mode)});
  add_line(text, {bracketed(names, s.save_key)});
  add_line(text, {bracketed(names, s.save_ipod)});
  add_line(text, {scroll, u"[Wheel]"});
  add_line(text, {u"[OPTION]"});
  add_line(text, {u"[SHIFT]+[?]"});
  add_line(text, {u"[ESC][WheelClick]"});
  add_line(text, {});  // heading: timetag edit mode
  add_line(text, {scroll, u"[Wheel]"});
  add_line(text, {ins_tag});
  add_line(text, {u"[BS]"});
  add_line(text, {u"[DEL]"});
  if (text.size() > kKeyHelpMaxUnits) text.resize(kKeyHelpMaxUnits);
  return text;
}

}  // namespace sabla
