// The keys of the two lyric edit boxes: seeking in the song while typing, reloading, and in the
// external editor writing and deleting whole timetags; and the << and >> buttons that wind the
// song while they are held.
#include <windows.h>
// Keep after windows.h, which it builds on.
#include <commctrl.h>

#include "lyrics/editor_timetags.h"
#include "ui/lyric_editor_page_win32.h"
#include "ui/options_window_win32.h"
#include "ui/resources/resource.h"

namespace sabla {
namespace {

constexpr UINT_PTR kEditSubclass = 1;
constexpr UINT_PTR kSeekButtonSubclass = 2;
constexpr WPARAM kSelectAllScroll = 65535;

bool key_down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

LRESULT CALLBACK lyric_edit_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR, DWORD_PTR reference) {
  auto* page = reinterpret_cast<LyricEditorPage*>(reference);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, lyric_edit_procedure, kEditSubclass);
  bool handled = false;
  LRESULT result = 0;
  try {
    if (page) result = page->edit_message(edit, message, wparam, lparam, handled);
  } catch (...) {
    handled = false;
  }
  return handled ? result : DefSubclassProc(edit, message, wparam, lparam);
}

LRESULT CALLBACK seek_button_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR, DWORD_PTR reference) {
  auto* page = reinterpret_cast<LyricEditorPage*>(reference);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(button, seek_button_procedure, kSeekButtonSubclass);
  }
  try {
    if (page) page->seek_button_message(button, message, wparam, lparam);
  } catch (...) {
  }
  return DefSubclassProc(button, message, wparam, lparam);
}

// Caret and selection of an edit box.
struct Selection {
  DWORD start = 0;
  DWORD end = 0;
};

Selection selection_of(HWND edit) {
  Selection selection;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start),
               reinterpret_cast<LPARAM>(&selection.end));
  return selection;
}

void select(HWND edit, size_t start, size_t end) {
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

// An undoable replacement of the selection.
void replace_selection(HWND edit, const std::u16string& text) {
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide(text)));
}

}  // namespace

void subclass_lyric_edit(HWND edit, LyricEditorPage& page) {
  if (edit) {
    SetWindowSubclass(edit, lyric_edit_procedure, kEditSubclass,
                      reinterpret_cast<DWORD_PTR>(&page));
  }
}

void subclass_seek_button(HWND button, LyricEditorPage& page) {
  if (button) {
    SetWindowSubclass(button, seek_button_procedure, kSeekButtonSubclass,
                      reinterpret_cast<DWORD_PTR>(&page));
  }
}

bool LyricEditorPage::edited_song_is_playing() const {
  const PluginState& state = owner_.state();
  return state.options.edited_song.file_name == state.song.file_name;
}

// The timetag keys act only with Shift down, or only with Shift up when it is not needed.
bool LyricEditorPage::timetag_key_gate() const {
  const bool shift_not_needed = owner_.state().settings.dialog_ins_timetag[1] == 1;
  return key_down(VK_SHIFT) != shift_not_needed;
}

void LyricEditorPage::focus_current_editor() {
  LyricEditorPage& page =
      owner_.state().settings.current_tab == 0 ? owner_.in_song() : owner_.external();
  SetFocus(page.edit());
}

LRESULT LyricEditorPage::edit_message(HWND edit, UINT message, WPARAM wparam, LPARAM lparam,
                                      bool& handled) {
  PluginState& state = owner_.state();
  PlayerBridge& player = owner_.services().player();
  handled = false;
  switch (message) {
    case WM_KEYDOWN:
      if (wparam == VK_PRIOR || wparam == VK_NEXT) {
        player.play_current(state.status);
        if (wparam == VK_PRIOR) player.rewind(state.status);
        else player.fast_forward(state.status);
        handled = true;
        return 0;
      }
      if (wparam == VK_F5) {
        owner_.services().load_song_lyrics(state);
        handled = true;
        return 0;
      }
      if (wparam == 'A' && key_down(VK_CONTROL)) {
        SendMessageW(edit, EM_LINESCROLL, 0, kSelectAllScroll);
        select(edit, 0, kSelectAllScroll);
        handled = true;
        return 0;
      }
      if (kind_ == EditorKind::kExternal && timetag_key_gate() &&
          (wparam == VK_DELETE || wparam == VK_BACK)) {
        const Selection selection = selection_of(edit);
        if (selection.start == selection.end) {
          const std::u16string text = window_text(edit);
          if (wparam == VK_DELETE) {
            if (auto tag = tag_after_caret(text, selection.start)) select(edit, tag->start, tag->end);
          } else if (auto tag = tag_before_caret(text, selection.start)) {
            // Selecting the "[" as well lets the passed-on Backspace take the whole tag in one
            // step, which one Ctrl+Z brings back.
            select(edit, tag->start > 0 ? tag->start - 1 : 0, tag->end);
          }
        }
      }
      return 0;
    case WM_KEYUP:
      if (wparam == VK_PRIOR || wparam == VK_NEXT) {
        player.pause(state.status);
        player.play_current(state.status);
        handled = true;
      }
      return 0;
    case WM_CHAR:
      if (kind_ == EditorKind::kExternal && edited_song_is_playing() && timetag_key_gate() &&
          state.settings.ins_tag != 0 && key_down(state.settings.ins_tag)) {
        SendMessageW(window(), WM_COMMAND, MAKEWPARAM(IDC_INSERT_TIMETAG, BN_CLICKED), 0);
        handled = true;
      }
      return 0;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      RedrawWindow(owner_.window(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      return 0;
    case WM_CTLCOLORSTATIC:
      handled = true;
      return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    default:
      return 0;
  }
}

LRESULT LyricEditorPage::seek_button_message(HWND button, UINT message, WPARAM, LPARAM) {
  PluginState& state = owner_.state();
  PlayerBridge& player = owner_.services().player();
  const bool rewind = button == item(ids_.rewind);
  if (message == WM_LBUTTONDOWN) {
    player.play_current(state.status);
    if (rewind) player.rewind(state.status);
    else player.fast_forward(state.status);
  } else if (message == WM_LBUTTONUP) {
    player.pause(state.status);
    player.play_current(state.status);
    focus_current_editor();
  }
  return 0;
}

void LyricEditorPage::insert_timetag() {
  PluginState& state = owner_.state();
  const HWND editor = owner_.external().edit();
  SetFocus(editor);
  const uint32_t play_ms = state.clock.play_time > 0 ? static_cast<uint32_t>(state.clock.play_time) : 0;
  const std::u16string tag = editor_timetag_text(play_ms, state.settings.input_timetag_digit == 1);
  const Selection selection = selection_of(editor);
  const std::u16string text = window_text(editor);
  const TimetagInsertion plan = plan_timetag_insertion(
      text, selection.start, state.settings.dialog_ins_timetag[0] != 1, tag.size());
  select(editor, plan.replace.start, plan.replace.end);
  replace_selection(editor, tag);
  if (plan.append_line_break) {
    const LRESULT length = GetWindowTextLengthW(editor);
    select(editor, static_cast<size_t>(length), static_cast<size_t>(length));
    replace_selection(editor, u"\r\n");
  }
  select(editor, plan.caret_after, plan.caret_after);
  SendMessageW(editor, EM_SCROLLCARET, 0, 0);
}

}  // namespace sabla
