#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "settings/display_items.h"

namespace sabla {

inline constexpr int32_t kSettingsVersion = 680;  // written to every file; older ones are rewritten
inline constexpr int kSearchSlotCount = 8;
inline constexpr int kLyricFolderCount = 8;

// Every setting of the plug-in, each field named by its settings-file key, plus the display items
// that the same file describes. Colours are COLORREFs (0x00BBGGRR); key codes are Windows
// virtual-key codes. The values here are only what a zeroed record holds: every load starts
// from the defaults of the key table.
struct Settings {
  int32_t version = 0;  // version of the file last read; 0 when none was read

  std::array<std::u16string, kLyricFolderCount> path;  // lyric folders, empty slots at the end
  int32_t path_count = 0;                              // folders read from the file
  std::u16string to_iPod_text_path;
  uint32_t bg_color = 0;
  int32_t song_return_size = 0;  // line pitch of the lyrics item

  std::array<std::u16string, kSearchSlotCount> URL;  // keys URL, URL2 ... URL8
  std::array<std::u16string, kSearchSlotCount> URL_name;
  std::array<uint8_t, kSearchSlotCount> URL_key{};
  int32_t URL_set = 0;

  int32_t loop = 0;
  uint8_t scroll_up = 0;
  uint8_t scroll_down = 0;
  uint8_t edit_mode = 0;
  uint8_t save_key = 0;
  uint8_t ins_tag = 0;
  uint8_t save_ipod = 0;
  uint8_t find_sdir = 0;
  int32_t wheel_scroll = 0;
  int32_t delay_pause = 0;
  int32_t delay_playstart = 0;
  int32_t delay_nextstart = 0;
  uint8_t beginner = 0;
  std::array<int32_t, kSearchSlotCount> sjis_euc{};

  uint32_t current_line_color = 0;
  uint32_t current_font_color = 0;
  uint32_t info_font_color = 0;
  uint32_t message_font_color = 0;
  uint32_t mouse_on_font_color = 0;

  // shown (byte), maximum radius, expansion speed, rotation speed, dot count, dot size
  std::array<int32_t, 6> visualizer{};
  int32_t current_tab = 0;
  std::array<int32_t, 2> new_file{};   // folder choice, name choice
  std::array<uint8_t, 2> auto_save{};  // lrc and txt together, iPod notes after saving
  int32_t make_ipod_subfolder = 0;
  std::u16string default_artwork;
  std::array<int32_t, 2> dialog_ins_timetag{};  // insert position, Enter without Shift (byte)
  std::array<int32_t, 2> song_bf_size{};        // longest line with terminator, line count
  std::u16string load_btn_path;
  std::array<uint8_t, 3> show_status{};  // mode name, key help line, status messages
  uint8_t ver_check = 0;
  uint8_t ver_check_beta = 0;
  uint8_t save_unicode = 0;
  uint8_t input_timetag_digit = 0;
  // 1: lyric texts in the standard lyric-file form are read and saved in it; 0: the native
  // form only, as before that form was known.
  uint8_t standard_lrc = 0;

  DisplayItems items;
  DrawingOrder drawing_order{};
  std::u16string file_path;  // where the next save goes (the application-data settings file)
};

}  // namespace sabla
