#include "settings/settings_keys.h"

#include <algorithm>
#include <optional>
#include <type_traits>

#include "settings/settings_text.h"

namespace sabla {
namespace {

using Row = KeyRow;

std::optional<int32_t> first_number(std::u16string_view value) {
  TokenReader tokens(value, kValueDelimiters);
  const auto token = tokens.next();
  if (!token) return std::nullopt;
  return parse_number(*token);
}

uint8_t low_byte(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFF); }

template <class T>
T stored(int32_t v) {
  if constexpr (std::is_same_v<T, uint8_t>) {
    return low_byte(v);
  } else {
    return v;
  }
}

void append_text(std::u16string& out, std::u16string_view text) { out += single_line(text); }

// A single number; byte-sized fields keep the low 8 bits.
template <auto Field>
struct Number {
  using T = std::remove_reference_t<decltype(std::declval<Settings&>().*Field)>;
  static void set_default(Settings& s, const Row& r, const SettingsDefaults&) {
    s.*Field = stored<T>(r.numbers[0]);
  }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    if (const auto n = first_number(value)) s.*Field = stored<T>(*n);
  }
  static void write(const Settings& s, const Row&, std::u16string& out) {
    append_number(out, s.*Field);
  }
};

// A number that must lie in [Low, High]; anything else reads as `Fallback`. These numbers
// index tables elsewhere, so a damaged file must not push them out of range.
template <auto Field, int32_t Low, int32_t High, int32_t Fallback>
struct Ranged : Number<Field> {
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    if (const auto n = first_number(value)) s.*Field = *n >= Low && *n <= High ? *n : Fallback;
  }
};

// `loop`: a negative pulse interval reads as 0.
template <auto Field>
struct NonNegative : Number<Field> {
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    if (const auto n = first_number(value)) s.*Field = std::max(*n, 0);
  }
};

// `beginner`: any non-zero value reads as 1.
template <auto Field>
struct OnOff : Number<Field> {
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    if (const auto n = first_number(value)) s.*Field = *n != 0 ? 1 : 0;
  }
};

// Several numbers separated by ","; a missing one keeps its default. `ByteMask` marks the
// positions that are byte-sized.
template <auto Field, uint32_t ByteMask = 0, int32_t Low = 0, int32_t High = -1>
struct NumberList {
  using Array = std::remove_reference_t<decltype(std::declval<Settings&>().*Field)>;
  using T = typename Array::value_type;
  static constexpr size_t kCount = std::tuple_size_v<Array>;

  static T keep(size_t i, int32_t v) {
    if (Low <= High) v = std::clamp(v, Low, High);
    if (ByteMask & (1u << i)) v = low_byte(v);
    return static_cast<T>(v);
  }
  static void set_default(Settings& s, const Row& r, const SettingsDefaults&) {
    for (size_t i = 0; i < kCount; ++i) (s.*Field)[i] = static_cast<T>(r.numbers[i]);
  }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    TokenReader tokens(value, kValueDelimiters);
    for (size_t i = 0; i < kCount; ++i) {
      const auto token = tokens.next();
      if (!token) return;
      (s.*Field)[i] = keep(i, parse_number(*token));
    }
  }
  static void write(const Settings& s, const Row&, std::u16string& out) {
    for (size_t i = 0; i < kCount; ++i) {
      if (i > 0) out += u',';
      append_number(out, (s.*Field)[i]);
    }
  }
};

// Red, green and blue into a COLORREF; a missing part keeps the default's.
template <auto Field>
struct Color {
  static void set_default(Settings& s, const Row& r, const SettingsDefaults&) {
    s.*Field = make_color(r.numbers[0], r.numbers[1], r.numbers[2]);
  }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    const uint32_t old = s.*Field;
    std::array<int32_t, 3> rgb = {color_red(old), color_green(old), color_blue(old)};
    TokenReader tokens(value, kValueDelimiters);
    for (auto& part : rgb) {
      const auto token = tokens.next();
      if (!token) break;
      part = parse_number(*token);
    }
    s.*Field = make_color(rgb[0], rgb[1], rgb[2]);
  }
  static void write(const Settings& s, const Row&, std::u16string& out) {
    const uint32_t c = s.*Field;
    append_number(out, color_red(c));
    out += u',';
    append_number(out, color_green(c));
    out += u',';
    append_number(out, color_blue(c));
  }
};

// A text value: the first token of the line, so it ends at its first ",".
template <auto Field, size_t MaxChars, size_t LegacyMaxChars, bool InDocuments = false>
struct Text {
  static void set_default(Settings& s, const Row& r, const SettingsDefaults& d) {
    s.*Field = InDocuments ? d.documents_folder + std::u16string(r.text) : std::u16string(r.text);
  }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext& ctx) {
    TokenReader tokens(value, kValueDelimiters);
    if (const auto token = tokens.next()) {
      s.*Field = cut_text(*token, ctx.legacy ? LegacyMaxChars : MaxChars);
    }
  }
  static void write(const Settings& s, const Row&, std::u16string& out) {
    append_text(out, s.*Field);
  }
};

// One of the eight search templates `URL`, `URL2` ... `URL8`.
template <size_t Slot>
struct UrlTemplate {
  static void set_default(Settings& s, const Row& r, const SettingsDefaults&) {
    s.URL[Slot] = std::u16string(r.text);
  }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext& ctx) {
    TokenReader tokens(value, kValueDelimiters);
    if (const auto token = tokens.next()) {
      s.URL[Slot] = cut_text(*token, ctx.legacy ? kMaxPathText : kLineLimit);
    }
  }
  static void write(const Settings& s, const Row&, std::u16string& out) {
    append_text(out, s.URL[Slot]);
  }
};

// `to_iPod_text_path`: the whole line, so the folder may hold ",". Written without the
// trailing "\".
struct WholeLinePath {
  static void set_default(Settings& s, const Row& r, const SettingsDefaults&) {
    s.to_iPod_text_path = std::u16string(r.text);
  }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    s.to_iPod_text_path = std::u16string(single_line(value));
  }
  static void write(const Settings& s, const Row&, std::u16string& out);
};

// Drops every trailing "\" so that a folder written once reads back unchanged.
std::u16string_view without_trailing_backslash(std::u16string_view folder) {
  while (!folder.empty() && folder.back() == u'\\') folder.remove_suffix(1);
  return folder;
}

void WholeLinePath::write(const Settings& s, const Row&, std::u16string& out) {
  out += without_trailing_backslash(single_line(s.to_iPod_text_path));
}

// `path`: up to eight lyric folders, each followed by ";".
struct FolderList {
  static constexpr size_t kSlotChars = 260;
  static constexpr size_t kCutChars = 228;

  static void set_default(Settings& s, const Row&, const SettingsDefaults& d) {
    for (auto& folder : s.path) folder.clear();
    s.path[0] = d.documents_folder;
    s.path_count = 0;
  }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext& ctx) {
    TokenReader tokens(value, u";\r\n");
    int32_t count = 0;
    while (count < kLyricFolderCount) {
      const auto token = tokens.next();
      if (!token) break;
      std::u16string_view folder = *token;
      if (ctx.legacy) {
        folder = folder.substr(0, kMaxPathText);
      } else if (folder.size() > kSlotChars) {
        folder = folder.substr(0, kCutChars);
      }
      s.path[static_cast<size_t>(count++)] = std::u16string(folder);
    }
    for (size_t i = static_cast<size_t>(count); i < s.path.size(); ++i) s.path[i].clear();
    s.path_count = count;
  }
  static void write(const Settings& s, const Row&, std::u16string& out) {
    for (const auto& folder : s.path) {
      if (folder.empty()) break;
      // A folder that is only "\" would vanish on reading and shift the others; leave it out.
      const auto text = without_trailing_backslash(single_line(folder));
      if (text.empty()) continue;
      out += text;
      out += u';';
    }
  }
};

// `URL_name`: eight slot names. A "," inside a name would split it, so it is written as "_";
// an empty name would vanish and shift the others, so it is written as " ".
struct SlotNames {
  static void set_default(Settings& s, const Row&, const SettingsDefaults&) {
    for (size_t i = 0; i < s.URL_name.size(); ++i) {
      s.URL_name[i] = u"name";
      s.URL_name[i] += static_cast<char16_t>(u'1' + i);
    }
  }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    TokenReader tokens(value, kValueDelimiters);
    for (auto& name : s.URL_name) {
      const auto token = tokens.next();
      if (!token) return;
      name = cut_text(*token, kMaxSlotName);
    }
  }
  static void write(const Settings& s, const Row&, std::u16string& out) {
    for (size_t i = 0; i < s.URL_name.size(); ++i) {
      if (i > 0) out += u',';
      std::u16string name(single_line(s.URL_name[i]));
      std::replace(name.begin(), name.end(), u',', u'_');
      out += name.empty() ? u" " : name;
    }
  }
};

struct Version {
  static void set_default(Settings& s, const Row&, const SettingsDefaults&) { s.version = 0; }
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext&) {
    if (const auto n = first_number(value)) s.version = *n;
  }
  static void write(const Settings&, const Row&, std::u16string& out) {
    append_number(out, kSettingsVersion);
  }
};

// The record of display item `Index`; its defaults come from the item table.
template <int Index>
struct ItemRecord {
  static constexpr size_t kSlot = static_cast<size_t>(Index);
  static void read(Settings& s, const Row&, std::u16string_view value, ReadContext& ctx) {
    DisplayItem* item = s.items[kSlot].get();
    if (!item) return;
    RecordForm form = record_form(Index);
    if (ctx.legacy && form == RecordForm::kText) form = RecordForm::kTextWithoutLabel;
    read_item_record(*item, form, value, ctx.records);
  }
  static void write(const Settings& s, const Row&, std::u16string& out) {
    append_item_record(*s.items[kSlot], record_form(Index), out);
  }
};

template <class Layout>
constexpr Row row(std::u16string_view key, std::array<int32_t, 8> numbers, uint8_t flags = 0,
                  std::u16string_view text = {}) {
  return Row{key, &Layout::set_default, &Layout::read, &Layout::write, numbers, text, -1, flags};
}

template <class Layout>
constexpr Row text_row(std::u16string_view key, std::u16string_view text, uint8_t flags = 0) {
  return row<Layout>(key, {}, flags, text);
}

template <int Index>
constexpr Row item_row(std::u16string_view key, uint8_t flags) {
  return Row{key,   nullptr, &ItemRecord<Index>::read, &ItemRecord<Index>::write, {}, {},
             Index, flags};
}

constexpr std::u16string_view kDefaultUrl = u"http://&a=[artist]&t=[title]";
constexpr uint8_t L = kLegacyKey;
using S = Settings;

constexpr Row kTable[] = {
    row<Version>(u"[version]", {}, L),
    item_row<0>(u"[title]", L),
    item_row<1>(u"[artist]", L),
    item_row<2>(u"[album]", L),
    item_row<3>(u"[counter]", L),
    item_row<4>(u"[song]", L),
    item_row<5>(u"[genre]", 0),
    item_row<6>(u"[kind]", 0),
    item_row<7>(u"[eqname]", 0),
    item_row<8>(u"[composer]", 0),
    item_row<9>(u"[comments]", 0),
    item_row<10>(u"[year]", 0),
    item_row<11>(u"[rate]", 0),
    item_row<12>(u"[trknum]", 0),
    item_row<13>(u"[discnum]", 0),
    item_row<14>(u"[volume_L]", L),
    item_row<15>(u"[volume_R]", L),
    item_row<16>(u"[cover_art]", L),
    row<FolderList>(u"[path]", {}, L | kLongLine),
    text_row<WholeLinePath>(u"[to_iPod_text_path]", u"I:\\Notes", L),
    row<Color<&S::bg_color>>(u"[bg_color]", {0, 0, 0}, L),
    row<Number<&S::song_return_size>>(u"[song_return_size]", {20}, L),
    text_row<UrlTemplate<0>>(u"[URL]", kDefaultUrl, L),
    text_row<UrlTemplate<1>>(u"[URL2]", kDefaultUrl, L),
    text_row<UrlTemplate<2>>(u"[URL3]", kDefaultUrl, L | kLastMatch),
    text_row<UrlTemplate<3>>(u"[URL4]", kDefaultUrl, L | kLastMatch),
    text_row<UrlTemplate<4>>(u"[URL5]", kDefaultUrl, L | kLastMatch),
    text_row<UrlTemplate<5>>(u"[URL6]", kDefaultUrl, L | kLastMatch),
    text_row<UrlTemplate<6>>(u"[URL7]", kDefaultUrl, L | kLastMatch),
    text_row<UrlTemplate<7>>(u"[URL8]", kDefaultUrl, L | kLastMatch),
    row<SlotNames>(u"[URL_name]", {}, L | kLongLine),
    row<NumberList<&S::URL_key, 0xFF>>(u"[URL_key]", {114, 0, 0, 0, 0, 0, 0, 0}),
    row<Ranged<&S::URL_set, 0, kSearchSlotCount - 1, 0>>(u"[URL_set]", {0}, L),
    row<NonNegative<&S::loop>>(u"[loop]", {10}, L),
    row<Number<&S::scroll_up>>(u"[scroll_up]", {33}, L),
    row<Number<&S::scroll_down>>(u"[scroll_down]", {34}, L),
    row<Number<&S::edit_mode>>(u"[edit_mode]", {69}, L),
    row<Number<&S::save_key>>(u"[save_key]", {83}, L),
    row<Number<&S::ins_tag>>(u"[ins_tag]", {13}, L),
    row<Number<&S::save_ipod>>(u"[save_ipod]", {73}, L),
    row<Number<&S::find_sdir>>(u"[find_sdir]", {0}, L),
    row<Number<&S::wheel_scroll>>(u"[wheel_scroll]", {2}, L),
    // The older name of `delay_pause`, read just before it so that `delay_pause` wins.
    Row{u"[delay]", nullptr, &Number<&S::delay_pause>::read, nullptr, {}, {}, -1, L},
    row<Number<&S::delay_pause>>(u"[delay_pause]", {0}),
    row<Number<&S::delay_playstart>>(u"[delay_playstart]", {0}),
    row<Number<&S::delay_nextstart>>(u"[delay_nextstart]", {0}),
    row<OnOff<&S::beginner>>(u"[beginner]", {1}, L),
    row<NumberList<&S::sjis_euc>>(u"[sjis_euc]", {0, 0, 0, 0, 0, 0, 0, 0}, L),
    row<Color<&S::current_line_color>>(u"[current_line_color]", {255, 128, 0}, L),
    row<Color<&S::current_font_color>>(u"[current_font_color]", {255, 128, 0}, L),
    row<Color<&S::info_font_color>>(u"[info_font_color]", {200, 200, 200}),
    row<Color<&S::message_font_color>>(u"[message_font_color]", {100, 100, 100}),
    row<Color<&S::mouse_on_font_color>>(u"[mouse_on_font_color]", {255, 0, 0}),
    row<NumberList<&S::visualizer, 0x01>>(u"[visualizer]", {1, 60, 2, 40, 6, 5}, L),
    row<Ranged<&S::current_tab, 0, 4, 0>>(u"[current_tab]", {0}, L),
    row<NumberList<&S::new_file>>(u"[new_file]", {0, 0}, L),
    row<NumberList<&S::auto_save, 0x03>>(u"[auto_save]", {0, 0}, L),
    row<Number<&S::make_ipod_subfolder>>(u"[make_ipod_subfolder]", {3}, L),
    text_row<Text<&S::default_artwork, kMaxPathText, kMaxPathText, true>>(u"[default_artwork]",
                                                                          u"\\default.jpg", L),
    row<NumberList<&S::dialog_ins_timetag, 0x02>>(u"[dialog_ins_timetag]", {0, 0}, L),
    row<NumberList<&S::song_bf_size, 0, 256, 1024>>(u"[song_bf_size]", {512, 256}, L),
    text_row<Text<&S::load_btn_path, kMaxPathText, kMaxPathText, true>>(u"[load_btn_path]", u"", L),
    row<NumberList<&S::show_status, 0x07>>(u"[show_status]", {1, 1, 1}, L),
    row<Number<&S::ver_check>>(u"[ver_check]", {1}),
    row<Number<&S::ver_check_beta>>(u"[ver_check_beta]", {0}),
    row<Number<&S::save_unicode>>(u"[save_unicode]", {0}),
    row<Number<&S::input_timetag_digit>>(u"[input_timetag_digit]", {0}),
    // Added after the native keys: an older file lacks it and gets the default.
    row<OnOff<&S::standard_lrc>>(u"[standard_lrc]", {1}),
};

}  // namespace

std::span<const KeyRow> key_table() { return kTable; }

const std::unordered_map<std::u16string_view, size_t>* bracketed_key_rows() {
  // Hashed: a lookup costs one hash and one comparison whatever the table's size. A key listed
  // twice keeps its first row, as a scan in table order would.
  static const std::optional<std::unordered_map<std::u16string_view, size_t>> rows =
      []() -> std::optional<std::unordered_map<std::u16string_view, size_t>> {
    std::unordered_map<std::u16string_view, size_t> by_key;
    for (size_t r = 0; r < std::size(kTable); ++r) {
      const std::u16string_view key = kTable[r].key;
      if (key.size() < 2 || key.size() > kMaxBracketedKey || key.front() != u'[' ||
          key.find(u']') != key.size() - 1) {
        return std::nullopt;
      }
      by_key.emplace(key, r);
    }
    return by_key;
  }();
  return rows ? &*rows : nullptr;
}

}  // namespace sabla
