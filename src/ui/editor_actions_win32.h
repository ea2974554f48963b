#pragma once
// What the two lyric editor pages do together: apply, keep the display and the buttons in step
// with the editors, copy between them, open a file, delete the external file and the notes.
#include <string>

namespace sabla {

class OptionsWindow;
class LyricEditorPage;

// Writes the edits back: the song file's lyrics through the player, the external file, the
// settings file. False when the external file could not be saved; the window then stays open.
bool apply_edits(OptionsWindow& window);
// The display follows the editors while the edited song plays; the buttons follow the texts.
void refresh_editor_state(OptionsWindow& window);
void copy_external_to_in_song(OptionsWindow& window);
void copy_in_song_to_external(OptionsWindow& window);
// Offers to delete the external file (and any other the search then finds).
void delete_external_file(OptionsWindow& window);
// With both editors empty, offers to delete the song's iPod notes.
void offer_ipod_notes_delete(OptionsWindow& window);
// The open-file dialog into `page`'s editor, asking first when the editor is not empty.
void open_file_into(OptionsWindow& window, LyricEditorPage& page);
// Writes the editors' lyrics as the edited song's iPod notes; warns on failure.
void export_editor_ipod_notes(OptionsWindow& window);
// Starts the selected search slot for the edited song; warns when the slot is unusable.
void search_edited_song(OptionsWindow& window);

}  // namespace sabla
