#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "ui/dialog_win32.h"

namespace sabla {

class OptionsWindow;

enum class EditorKind { kInSong, kExternal };

// The control ids of one editor page; the two pages carry the same tools under other ids.
struct EditorPageIds {
  int template_id;
  int edit;
  int search;
  int slots;
  int apply_previous;
  int rewind;
  int forward;
  int apply_next;
  int tools;
  int path;
  int reload;
  int open_file;
  int remove;
  int ipod_notes;
  int send;  // to the other editor
  int tools_popup;
};

// One of the two lyric editor pages: the lyrics stored in the song file, or the external lyric
// text with its timetag tools.
class LyricEditorPage final : public Dialog {
 public:
  LyricEditorPage(OptionsWindow& owner, EditorKind kind);

  EditorKind kind() const { return kind_; }
  const EditorPageIds& ids() const { return ids_; }
  HWND edit() const { return item(ids_.edit); }

  // The editor's text, at most what fits the 32,768-unit buffer.
  std::u16string text() const;
  void set_text(std::u16string_view text);
  bool modified() const;
  void set_modified(bool modified);
  // Enables or disables the controls that need a song.
  void enable_song_controls(bool enabled);
  void fill_search_slots();
  // The key handling of the edit box and of the << and >> buttons.
  LRESULT edit_message(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  LRESULT seek_button_message(HWND button, UINT message, WPARAM wparam, LPARAM lparam);
  // Writes the playing time as a timetag into the external editor.
  void insert_timetag();
  void update_insert_button_caption();

 private:
  bool on_init() override;
  bool on_command(int id, int code, HWND control) override;
  bool on_message(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

  bool external_command(int id);
  void show_tools_menu();
  void run_tool(int command);
  void set_insert_position(int position);
  bool timetag_key_gate() const;
  bool edited_song_is_playing() const;
  void focus_current_editor();

  OptionsWindow& owner_;
  EditorKind kind_;
  EditorPageIds ids_;
};

// The subclassed window procedures; `reference` is the page.
void subclass_lyric_edit(HWND edit, LyricEditorPage& page);
void subclass_seek_button(HWND button, LyricEditorPage& page);

}  // namespace sabla
