#include "ui/lyric_editor_page_win32.h"

#include <windows.h>
// Keep after windows.h, which it builds on.
#include <commctrl.h>

#include <string>

#include "lyrics/batch_timetags.h"
#include "sources/lyric_folder_paths.h"
#include "sources/song_change.h"
#include "sources/text_buffer.h"
#include "sources/text_file_win32.h"
#include "ui/editor_actions_win32.h"
#include "ui/options_window_win32.h"
#include "ui/resources/resource.h"
#include "ui/themed_pages_win32.h"
#include "ui/tool_dialogs_win32.h"

namespace sabla {
namespace {

constexpr int32_t kInsertWithShift = 40062;
constexpr int32_t kInsertWithoutShift = 40063;
constexpr size_t kEditorUnits = 32767;

constexpr EditorPageIds kInSongIds{IDD_IN_SONG_LYRICS,   IDC_IN_SONG_EDIT,     IDC_IN_SONG_SEARCH,
                                   IDC_IN_SONG_SLOTS,    IDC_IN_SONG_APPLY_PREVIOUS,
                                   IDC_IN_SONG_REWIND,   IDC_IN_SONG_FORWARD,  IDC_IN_SONG_APPLY_NEXT,
                                   IDC_IN_SONG_TOOLS,    IDC_IN_SONG_PATH,     IDC_IN_SONG_RELOAD,
                                   IDC_IN_SONG_OPEN_FILE, IDC_IN_SONG_DELETE,  IDC_IN_SONG_IPOD_NOTES,
                                   IDC_SEND_TO_EXTERNAL, 1};
constexpr EditorPageIds kExternalIds{
    IDD_EXTERNAL_TEXT,       IDC_EXTERNAL_EDIT,    IDC_EXTERNAL_SEARCH,  IDC_EXTERNAL_SLOTS,
    IDC_EXTERNAL_APPLY_PREVIOUS, IDC_EXTERNAL_REWIND, IDC_EXTERNAL_FORWARD, IDC_EXTERNAL_APPLY_NEXT,
    IDC_EXTERNAL_TOOLS,      IDC_EXTERNAL_PATH,    IDC_EXTERNAL_RELOAD,  IDC_EXTERNAL_OPEN_FILE,
    IDC_EXTERNAL_DELETE,     IDC_EXTERNAL_IPOD_NOTES, IDC_SEND_TO_IN_SONG, 0};

// A text cut for the editor never ends in half a surrogate pair.
std::u16string_view editor_sized(std::u16string_view text) {
  if (text.size() <= kEditorUnits) return text;
  size_t size = kEditorUnits;
  if (text[size - 1] >= 0xD800 && text[size - 1] <= 0xDBFF) --size;
  return text.substr(0, size);
}

}  // namespace

LyricEditorPage::LyricEditorPage(OptionsWindow& owner, EditorKind kind)
    : owner_(owner), kind_(kind), ids_(kind == EditorKind::kInSong ? kInSongIds : kExternalIds) {}

std::u16string LyricEditorPage::text() const {
  std::u16string text = window_text(edit());
  if (text.size() > kEditorUnits) text.resize(kEditorUnits);
  return text;
}

void LyricEditorPage::set_text(std::u16string_view text) { set_window_text(edit(), editor_sized(text)); }

bool LyricEditorPage::modified() const { return SendMessageW(edit(), EM_GETMODIFY, 0, 0) != 0; }

void LyricEditorPage::set_modified(bool modified) {
  SendMessageW(edit(), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

void LyricEditorPage::enable_song_controls(bool enabled) {
  const bool new_host = owner_.new_host();
  if (kind_ == EditorKind::kInSong) {
    for (int id : {ids_.edit, ids_.slots, ids_.search, ids_.send, ids_.open_file, ids_.rewind,
                   ids_.forward, ids_.apply_next, ids_.apply_previous, ids_.tools}) {
      EnableWindow(item(id), enabled);
    }
    return;
  }
  EnableWindow(item(IDC_SEND_TO_IN_SONG), enabled && new_host);
  for (int id : {ids_.apply_next, ids_.apply_previous, ids_.edit, ids_.search, ids_.slots,
                 IDC_INSERT_TIMETAG, ids_.open_file, ids_.rewind, ids_.forward, ids_.tools}) {
    EnableWindow(item(id), enabled);
  }
}

void LyricEditorPage::fill_search_slots() {
  const HWND list = item(ids_.slots);
  const Settings& settings = owner_.state().settings;
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& name : settings.URL_name) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(name)));
  }
  SendMessageW(list, CB_SETCURSEL, settings.URL_set, 0);
}

void LyricEditorPage::update_insert_button_caption() {
  const bool without_shift = owner_.state().settings.dialog_ins_timetag[1] == 1;
  set_window_text(item(IDC_INSERT_TIMETAG),
                  owner_.text(without_shift ? kInsertWithoutShift : kInsertWithShift));
}

bool LyricEditorPage::on_init() {
  PluginState& state = owner_.state();
  SongInfo& edited = state.options.edited_song;
  enable_themed_page(window());
  SendMessageW(edit(), EM_SETLIMITTEXT, kEditorUnits, 0);
  if (kind_ == EditorKind::kInSong) {
    set_window_text(item(ids_.path), edited.file_path);
    enable_song_controls(owner_.song_loaded());
    std::u16string lyrics = edited.has_song_lyrics ? edited.song_lyrics : u"";
    normalize_line_ends(lyrics);
    set_text(lyrics);
  } else {
    if (!owner_.new_host()) EnableWindow(item(IDC_SEND_TO_IN_SONG), FALSE);
    update_insert_button_caption();
    enable_song_controls(owner_.song_loaded());
    if (owner_.song_loaded()) {
      owner_.set_caption(options_caption(edited, true));
      if (state.sources.external_lyrics_found) {
        state.options.edited_external_file = true;
        std::u16string lyrics;
        if (!read_text_file(edited.lyrics_path, lyrics)) lyrics.clear();
        set_text(lyrics);
      } else {
        state.options.edited_external_file = false;
        set_text(u"");
        new_lyrics_path(song_names(edited),
                        NewLyricsFacts{false, true, edited.has_song_lyrics}, state.settings,
                        edited.lyrics_path, unknown_names(state.strings));
      }
      set_window_text(item(ids_.path), edited.lyrics_path);
    } else {
      owner_.set_caption(options_caption(edited, false));
    }
    const auto& insert = state.settings.dialog_ins_timetag;
    CheckRadioButton(window(), IDC_INSERT_AT_LINE_START, IDC_INSERT_AT_CARET,
                     insert[0] == 1 ? IDC_INSERT_AT_CARET : IDC_INSERT_AT_LINE_START);
    CheckDlgButton(window(), IDC_SHIFT_NOT_NEEDED, insert[1] == 1 ? BST_CHECKED : BST_UNCHECKED);
  }
  set_modified(false);
  fill_search_slots();
  subclass_lyric_edit(edit(), *this);
  subclass_seek_button(item(ids_.rewind), *this);
  subclass_seek_button(item(ids_.forward), *this);
  return false;
}

bool LyricEditorPage::on_command(int id, int code, HWND) {
  PluginState& state = owner_.state();
  if (id == ids_.edit) {
    // The pages fill their editors while the window is being built; the frame refreshes once
    // they all exist.
    if (code == EN_UPDATE && state.options.initialised) refresh_editor_state(owner_);
    return true;
  }
  if (id == ids_.slots) {
    if (code == CBN_SELCHANGE) {
      const LRESULT selected = SendMessageW(item(ids_.slots), CB_GETCURSEL, 0, 0);
      if (selected >= 0) state.settings.URL_set = static_cast<int32_t>(selected);
    }
    return true;
  }
  if (id == ids_.search) {
    search_edited_song(owner_);
  } else if (id == ids_.apply_previous || id == ids_.apply_next) {
    if (!apply_edits(owner_)) return true;
    PlayerBridge& player = owner_.services().player();
    const bool moved = id == ids_.apply_next ? player.next_track(state.status)
                                             : player.previous_track(state.status);
    if (moved) {
      player.play_current(state.status);
    } else {
      owner_.services().load_song_lyrics(state);
    }
  } else if (id == ids_.reload || id == IDM_RELOAD) {
    owner_.services().load_song_lyrics(state);
  } else if (id == ids_.open_file || id == IDM_OPEN_FILE) {
    open_file_into(owner_, *this);
  } else if (id == ids_.remove || id == IDM_DELETE) {
    if (kind_ == EditorKind::kExternal) {
      delete_external_file(owner_);
    } else {
      set_text(u"");
      set_modified(true);
      refresh_editor_state(owner_);
      if (owner_.external().text().empty()) offer_ipod_notes_delete(owner_);
    }
  } else if (id == ids_.ipod_notes || id == IDC_IN_SONG_IPOD_NOTES ||
             id == IDC_EXTERNAL_IPOD_NOTES || id == IDM_IPOD_NOTES) {
    export_editor_ipod_notes(owner_);
  } else if (id == IDC_SEND_TO_EXTERNAL || id == IDM_COPY_TO_EXTERNAL) {
    copy_in_song_to_external(owner_);
  } else if (id == IDC_SEND_TO_IN_SONG || id == IDM_COPY_TO_IN_SONG) {
    copy_external_to_in_song(owner_);
  } else if (id == ids_.tools) {
    show_tools_menu();
  } else if (id == IDM_INSERT_LINE_BREAKS || (kind_ == EditorKind::kExternal &&
                                              (id == IDM_SHIFT_TIMETAGS || id == IDM_SCALE_TIMETAGS ||
                                               id == IDM_TAGS_TO_LONG || id == IDM_TAGS_TO_SHORT))) {
    run_tool(id);
  } else if (kind_ == EditorKind::kExternal) {
    return external_command(id);
  } else {
    return false;
  }
  return true;
}

bool LyricEditorPage::external_command(int id) {
  Settings& settings = owner_.state().settings;
  switch (id) {
    case IDC_INSERT_TIMETAG:
      insert_timetag();
      refresh_editor_state(owner_);
      return true;
    case IDM_INPUT_LONG_TAGS:
    case IDM_INPUT_SHORT_TAGS:
      settings.input_timetag_digit = id == IDM_INPUT_SHORT_TAGS ? 1 : 0;
      return true;
    case IDM_INSERT_AT_LINE_START:
    case IDM_INSERT_AT_CARET:
      set_insert_position(id == IDM_INSERT_AT_CARET ? 1 : 0);
      return true;
    case IDC_INSERT_AT_LINE_START:
    case IDC_INSERT_AT_CARET:
      settings.dialog_ins_timetag[0] =
          IsDlgButtonChecked(window(), IDC_INSERT_AT_LINE_START) == BST_CHECKED ? 0 : 1;
      SetFocus(edit());
      return true;
    case IDC_SHIFT_NOT_NEEDED:
      settings.dialog_ins_timetag[1] =
          IsDlgButtonChecked(window(), IDC_SHIFT_NOT_NEEDED) == BST_CHECKED ? 1 : 0;
      update_insert_button_caption();
      SetFocus(edit());
      return true;
    case IDM_SHIFT_NOT_NEEDED:
      settings.dialog_ins_timetag[1] = settings.dialog_ins_timetag[1] == 1 ? 0 : 1;
      CheckDlgButton(window(), IDC_SHIFT_NOT_NEEDED,
                     settings.dialog_ins_timetag[1] == 1 ? BST_CHECKED : BST_UNCHECKED);
      update_insert_button_caption();
      return true;
    default:
      return false;
  }
}

// The menu and the hidden radio buttons say the same thing.
void LyricEditorPage::set_insert_position(int position) {
  owner_.state().settings.dialog_ins_timetag[0] = position;
  CheckRadioButton(window(), IDC_INSERT_AT_LINE_START, IDC_INSERT_AT_CARET,
                   position == 1 ? IDC_INSERT_AT_CARET : IDC_INSERT_AT_LINE_START);
}

void LyricEditorPage::run_tool(int command) {
  std::u16string text = this->text();
  const HINSTANCE module = owner_.module();
  switch (command) {
    case IDM_SHIFT_TIMETAGS: {
      int32_t units = 0;
      if (!ask_shift_units(window(), module, units)) return;
      shift_timetags(text, units);
      break;
    }
    case IDM_SCALE_TIMETAGS: {
      float factor = 0;
      if (!ask_scale_factor(window(), module, factor)) return;
      scale_timetags(text, factor);
      break;
    }
    case IDM_TAGS_TO_LONG:
      tags_to_long(text);
      break;
    case IDM_TAGS_TO_SHORT:
      tags_to_short(text);
      break;
    case IDM_INSERT_LINE_BREAKS: {
      int32_t width = 0;
      if (!ask_line_break_width(window(), module, width)) return;
      if (width < kMinLineBreakWidth || width > kMaxLineBreakWidth) return;
      normalize_line_ends(text);
      insert_line_breaks(text, width, kind_ == EditorKind::kExternal);
      break;
    }
    default:
      return;
  }
  set_text(text);
  refresh_editor_state(owner_);
  set_modified(true);
}

void LyricEditorPage::show_tools_menu() {
  const HMENU menu = LoadMenuW(owner_.module(), MAKEINTRESOURCEW(IDM_TOOLS));
  const HWND button = item(ids_.tools);
  if (menu) {
    const HMENU popup = GetSubMenu(menu, ids_.tools_popup);
    if (kind_ == EditorKind::kExternal && popup) {
      const Settings& settings = owner_.state().settings;
      auto check = [popup](UINT id, bool on) {
        CheckMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
      };
      check(IDM_SHIFT_NOT_NEEDED, settings.dialog_ins_timetag[1] == 1);
      check(IDM_INSERT_AT_LINE_START, settings.dialog_ins_timetag[0] != 1);
      check(IDM_INSERT_AT_CARET, settings.dialog_ins_timetag[0] == 1);
      check(IDM_INPUT_LONG_TAGS, settings.input_timetag_digit == 0);
      check(IDM_INPUT_SHORT_TAGS, settings.input_timetag_digit != 0);
    }
    if (popup) {
      // The commands whose buttons are disabled are greyed here too.
      const std::pair<UINT, int> mirrored[] = {
          {IDM_DELETE, ids_.remove},
          {IDM_IPOD_NOTES, ids_.ipod_notes},
          {IDM_COPY_TO_EXTERNAL, IDC_SEND_TO_EXTERNAL},
          {IDM_COPY_TO_IN_SONG, IDC_SEND_TO_IN_SONG},
      };
      for (const auto& [command, control] : mirrored) {
        const HWND source = kind_ == EditorKind::kInSong && control == IDC_SEND_TO_IN_SONG
                                ? owner_.external().item(control)
                            : kind_ == EditorKind::kExternal && control == IDC_SEND_TO_EXTERNAL
                                ? owner_.in_song().item(control)
                                : item(control);
        if (source && !IsWindowEnabled(source)) {
          EnableMenuItem(popup, command, MF_BYCOMMAND | MF_GRAYED);
        }
      }
      RECT rect{};
      GetWindowRect(button, &rect);
      TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, rect.left, rect.bottom,
                     0, window(), nullptr);
    }
    DestroyMenu(menu);
  }
  SendMessageW(button, BM_SETCHECK, BST_UNCHECKED, 0);
}

bool LyricEditorPage::on_message(UINT message, WPARAM, LPARAM, INT_PTR& result) {
  if (message == WM_PAINT) {
    // The slot list is drawn with the page.
    InvalidateRect(item(ids_.slots), nullptr, FALSE);
    return false;
  }
  (void)result;
  return false;
}

}  // namespace sabla
