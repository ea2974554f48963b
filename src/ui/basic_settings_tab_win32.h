#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "ui/dialog_win32.h"

namespace sabla {

class OptionsWindow;

// The basic settings page: search slots, folders, keys, encodings, saving, the wheel, the
// version check and the iPod folder. Every control writes its setting into the plug-in's state
// as it changes; the frame's OK / 適用 save the file and ｷｬﾝｾﾙ reloads it.
class BasicSettingsTab final : public Dialog {
 public:
  explicit BasicSettingsTab(OptionsWindow& frame) : frame_(frame) {}

  // The search slot shown on the page, 0 when it is made; not saved.
  int url_slot_in_tab() const { return url_slot_in_tab_; }

 private:
  bool on_init() override;
  bool on_command(int id, int code, HWND control) override;

  void fill_list(int id, std::initializer_list<int32_t> string_ids, int32_t selected);
  void fill_keys();
  void select_key(uint8_t code);
  void show_slot(int slot);
  int checked_encoding() const;
  void check_encoding(int32_t sjis_euc);

  void slot_chosen();
  void commit_slot_name();
  void replace_slot_item(int slot);
  void sync_editor_slot_lists();
  void key_chosen();
  void new_file_chosen();
  void apply_folder_choice(int32_t choice);
  void store_folders(bool show_stored);
  void store_template(bool show_stored);
  void store_ipod_folder(bool show_stored);
  void browse_ipod_folder();
  bool check_box(int id) const;
  int selection(int id) const;
  bool user_edit() const;

  OptionsWindow& frame_;
  int url_slot_in_tab_ = 0;
};

}  // namespace sabla
