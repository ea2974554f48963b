// The options window driven through its control ids: opening, tabs, closing, apply, the editors
// working together, dropped files and popup help.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "ui/dialog_keys_hook_win32.h"
#include "win32/ui/options_test_support.h"

namespace sabla::test {
namespace {

class OptionsWindowTest : public OptionsWindowFixture {
 protected:
  std::wstring lyric_file() const { return folder / L"song.txt"; }
  void type(HWND edit, const std::wstring& text) {
    SetFocus(edit);
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
  }
  bool page_visible(int template_id) const { return IsWindowVisible(page(template_id)) != 0; }
  void select_tab(int index) {
    const HWND tabs = GetDlgItem(window(), IDC_OPTIONS_TABS);
    SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    NMHDR header{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(window(), WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
  }
  void drop(const std::vector<std::wstring>& files) {
    size_t units = 1;
    for (const auto& file : files) units += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& file : files) {
      wcscpy(names, file.c_str());
      names += file.size() + 1;
    }
    GlobalUnlock(memory);
    SendMessageW(window(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  }
};

TEST_F(OptionsWindowTest, OpensOnTheLastTabWithBothEditorsFilledAndClosesCleanly) {
  write_file(lyric_file(), "[00:01:00]one\r\ntwo");
  services.external_file = u16(lyric_file());
  state.sources.external_lyrics_found = true;
  state.song.has_song_lyrics = true;
  state.song.song_lyrics = u"kept\nin the song";
  state.settings.current_tab = 1;
  state.requests.delete_file_request = true;

  ASSERT_NE(open(), nullptr);
  EXPECT_TRUE(state.options.options_open);
  EXPECT_TRUE(state.options.initialised);
  EXPECT_FALSE(state.requests.delete_file_request);
  EXPECT_TRUE(dialog_keys_hook_installed());
  EXPECT_EQ(text_of(external_edit()), L"[00:01:00]one\r\ntwo");
  EXPECT_EQ(text_of(in_song_edit()), L"kept\r\nin the song");
  EXPECT_FALSE(modified(external_edit()));
  EXPECT_FALSE(modified(in_song_edit()));
  EXPECT_EQ(text_of(window()), L"Song - Sabla");
  EXPECT_EQ(text_of(control(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_PATH)), lyric_file());
  EXPECT_TRUE(page_visible(IDD_EXTERNAL_TEXT));
  EXPECT_FALSE(page_visible(IDD_IN_SONG_LYRICS));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window(), IDC_OLD_HOST_HINT)));
  EXPECT_EQ(SendMessageW(control(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_SLOTS), CB_GETCOUNT, 0, 0), 8);

  select_tab(0);
  EXPECT_EQ(state.settings.current_tab, 0);
  EXPECT_TRUE(page_visible(IDD_IN_SONG_LYRICS));
  EXPECT_FALSE(page_visible(IDD_EXTERNAL_TEXT));

  SendMessageW(window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window(), nullptr);
  EXPECT_FALSE(state.options.options_open);
  EXPECT_EQ(state.options.editors, nullptr);
  EXPECT_FALSE(dialog_keys_hook_installed());
  EXPECT_TRUE(state.requests.reload_settings_request);
  EXPECT_TRUE(state.sources.external_lyrics_found);
  // The tab survives the cancel for the next opening.
  ASSERT_NE(open(), nullptr);
  EXPECT_TRUE(page_visible(IDD_IN_SONG_LYRICS));
}

TEST_F(OptionsWindowTest, PlayersBeforeVersionFiveShowTheHintInsteadOfTheSongFilePage) {
  state.host.host_major_version = 4;
  state.settings.current_tab = 0;
  ASSERT_NE(open(), nullptr);
  EXPECT_FALSE(page_visible(IDD_IN_SONG_LYRICS));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window(), IDC_OLD_HOST_HINT)));
  type(external_edit(), L"abc");
  EXPECT_FALSE(IsWindowEnabled(control(IDD_EXTERNAL_TEXT, IDC_SEND_TO_IN_SONG)));
  // A file dropped on the hint goes nowhere.
  write_file(folder / L"drop.lrc", "dropped");
  drop({folder / L"drop.lrc"});
  EXPECT_EQ(text_of(in_song_edit()), L"");
  EXPECT_EQ(text_of(external_edit()), L"abc");
}

TEST_F(OptionsWindowTest, SavesPendingTimetagsBeforeOpeningAndWarnsWhenThatFails) {
  state.sources.external_lyrics_found = true;
  state.requests.lyrics_modified = true;
  ASSERT_NE(open(), nullptr);
  EXPECT_EQ(services.saved_documents, 1);
  EXPECT_FALSE(state.requests.lyrics_modified);
  EXPECT_EQ(state.status.text, u"Saved lrc");
  SendMessageW(window(), WM_COMMAND, IDCANCEL, 0);

  MessageBoxAnswers boxes;
  services.save_document_result = false;
  state.sources.external_lyrics_found = true;  // Cancel looked for the file again
  state.requests.lyrics_modified = true;
  ASSERT_NE(open(), nullptr);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], L"lrc 保存に失敗しました。");
  EXPECT_TRUE(state.requests.lyrics_modified);
}

TEST_F(OptionsWindowTest, TheDisplayFollowsTheEditorOnlyWhileTheEditedSongPlays) {
  ASSERT_NE(open(), nullptr);
  type(external_edit(), L"[00:02:00]live");
  EXPECT_TRUE(modified(external_edit()));
  EXPECT_EQ(panel_text(), u"[00:02:00]live");
  EXPECT_TRUE(IsWindowEnabled(control(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_IPOD_NOTES)));

  state.song.file_name = u"another.mp3";
  type(external_edit(), L"!");
  EXPECT_EQ(panel_text(), u"[00:02:00]live");
}

TEST_F(OptionsWindowTest, OkSavesTheExternalTextWritesTheSongFileAndCloses) {
  state.settings.new_file = {1, 1};  // the lyric folder, named after the title
  ASSERT_NE(open(), nullptr);
  type(external_edit(), L"[00:01:00]new");
  type(in_song_edit(), L"plain");
  SendMessageW(window(), WM_COMMAND, IDOK, 0);

  EXPECT_EQ(window(), nullptr);
  std::string saved(64, '\0');
  HANDLE file = CreateFileW((folder / L"Song.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD read = 0;
  ReadFile(file, saved.data(), 64, &read, nullptr);
  CloseHandle(file);
  EXPECT_EQ(saved.substr(0, read), "[00:01:00]new");
  EXPECT_EQ(player.written_lyrics, u"plain");
  EXPECT_EQ(services.saved_settings, 1);
  EXPECT_EQ(services.pipeline_runs, 1);
  EXPECT_TRUE(state.requests.reload_settings_request);
  EXPECT_TRUE(state.requests.probe_off);
}

TEST_F(OptionsWindowTest, FailedSavesKeepTheWindowOpenAndFailedEmbeddingGoesOn) {
  MessageBoxAnswers boxes;
  state.song.file_path = u16(folder / L"missing\\song.mp3");  // the song's folder is gone
  player.write_lyrics_result = false;
  ASSERT_NE(open(), nullptr);
  type(external_edit(), L"text");
  type(in_song_edit(), L"embedded");
  SendMessageW(window(), WM_COMMAND, IDOK, 0);

  ASSERT_NE(window(), nullptr);
  ASSERT_EQ(boxes.texts.size(), 2u);
  EXPECT_EQ(boxes.texts[0].rfind(L"歌詞を埋め込む事が出来ませんでした。", 0), 0u);
  EXPECT_EQ(boxes.texts[1].rfind(L"保存に失敗しました。\r\n" + folder.path() + L"\\missing\\song.txt",
                                 0),
            0u);
  EXPECT_EQ(text_of(external_edit()), L"text");
  EXPECT_TRUE(modified(external_edit()));
  EXPECT_EQ(services.saved_settings, 0);
}

TEST_F(OptionsWindowTest, NewFilesOfSongsWithoutAlbumGoToTheUnknownAlbumFolder) {
  state.settings.new_file = {3, 0};
  state.song.album = state.song.album_safe = u"";
  ASSERT_NE(open(), nullptr);
  type(external_edit(), L"words");
  SendMessageW(window(), WM_COMMAND, IDC_APPLY, 0);
  ASSERT_NE(window(), nullptr);
  EXPECT_NE(GetFileAttributesW((folder / L"Artist\\不明なアルバム\\song.txt").c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(modified(external_edit()));
  EXPECT_EQ(services.pipeline_runs, 1);
}

TEST_F(OptionsWindowTest, CopiesBetweenTheEditorsCleanTagsAndAskBeforeOverwriting) {
  MessageBoxAnswers boxes;
  ASSERT_NE(open(), nullptr);
  type(external_edit(), L"[00:01]");
  command(IDD_EXTERNAL_TEXT, IDC_SEND_TO_IN_SONG);
  EXPECT_EQ(text_of(in_song_edit()), L"");  // nothing is left after the clean-up

  SetWindowTextW(external_edit(), L"[00:01:00]abc\r\n@by me\r\nxyz");
  command(IDD_EXTERNAL_TEXT, IDM_COPY_TO_IN_SONG);
  EXPECT_EQ(text_of(in_song_edit()), L"abc\r\n\r\nxyz");
  EXPECT_TRUE(modified(in_song_edit()));
  EXPECT_TRUE(boxes.texts.empty());

  boxes.answers = {IDNO};
  SetWindowTextW(external_edit(), L"[00:01:00]changed");
  command(IDD_EXTERNAL_TEXT, IDM_COPY_TO_IN_SONG);
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(text_of(in_song_edit()), L"abc\r\n\r\nxyz");

  boxes.answers = {IDYES};
  command(IDD_IN_SONG_LYRICS, IDC_SEND_TO_EXTERNAL);
  EXPECT_EQ(text_of(external_edit()), L"abc\r\n\r\nxyz");
  EXPECT_TRUE(modified(external_edit()));
}

TEST_F(OptionsWindowTest, DeletingTheExternalFileAsksAndOffersTheNotesWhenNothingIsLeft) {
  MessageBoxAnswers boxes;
  write_file(lyric_file(), "lyrics");
  services.external_file = u16(lyric_file());
  state.sources.external_lyrics_found = true;
  const std::wstring notes_folder = folder / L"notes";
  CreateDirectoryW(notes_folder.c_str(), nullptr);
  write_file(notes_folder + L"\\song.txt", "notes");
  state.settings.to_iPod_text_path = u16(notes_folder);
  ASSERT_NE(open(), nullptr);

  boxes.answers = {IDNO};
  SetWindowTextW(external_edit(), L"edited");
  command(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_DELETE);
  EXPECT_EQ(text_of(external_edit()), L"lyrics");  // reloaded from the file, which stays
  EXPECT_NE(GetFileAttributesW(lyric_file().c_str()), INVALID_FILE_ATTRIBUTES);

  boxes.answers = {IDYES, IDYES};
  command(IDD_EXTERNAL_TEXT, IDM_DELETE);
  EXPECT_EQ(GetFileAttributesW(lyric_file().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(text_of(external_edit()), L"");
  EXPECT_FALSE(state.options.edited_external_file);
  ASSERT_EQ(boxes.texts.size(), 3u);
  EXPECT_EQ(boxes.texts[1], L"外部歌詞ファイル\n" + lyric_file() + L"\nを削除しますか？");
  EXPECT_EQ(boxes.texts[2].rfind(L"曲ファイル内歌詞も外部テキスト歌詞も空欄ですが", 0), 0u);
  EXPECT_EQ(GetFileAttributesW((notes_folder + L"\\song.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(OptionsWindowTest, OpeningAFileReplacesTheTextOrKeepsItWhenCancelledOrUnreadable) {
  MessageBoxAnswers boxes;
  ASSERT_NE(open(), nullptr);
  SetWindowTextW(external_edit(), L"mine");
  boxes.answers = {IDYES};
  command(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_OPEN_FILE);  // cancelled
  EXPECT_EQ(text_of(external_edit()), L"mine");
  EXPECT_TRUE(modified(external_edit()));

  SendMessageW(external_edit(), EM_SETMODIFY, FALSE, 0);
  services.chosen_file = u16(folder / L"nowhere.lrc");
  boxes.answers = {IDYES};
  command(IDD_EXTERNAL_TEXT, IDM_OPEN_FILE);
  EXPECT_EQ(boxes.texts.back(), L"読み込みに失敗しました。");
  EXPECT_EQ(text_of(external_edit()), L"mine");
  EXPECT_FALSE(modified(external_edit()));

  write_file(folder / L"other\\x.lrc", "");
  CreateDirectoryW((folder / L"other").c_str(), nullptr);
  write_file(folder / L"other\\x.lrc", "a\rb\nc");
  services.chosen_file = u16(folder / L"other\\x.lrc");
  boxes.answers = {IDYES};
  command(IDD_IN_SONG_LYRICS, IDC_IN_SONG_OPEN_FILE);
  EXPECT_EQ(text_of(in_song_edit()), L"a\r\nb\r\nc");
  EXPECT_EQ(state.settings.load_btn_path, u16(folder / L"other"));
}

TEST_F(OptionsWindowTest, TakesOneDroppedLyricFileAndIgnoresTheRest) {
  MessageBoxAnswers boxes;
  state.settings.current_tab = 1;
  ASSERT_NE(open(), nullptr);
  write_file(folder / L"a.LRC", "[00:01:00]dropped");
  write_file(folder / L"b.mp3", "no");
  drop({folder / L"b.mp3"});
  drop({folder / L"a.LRC", folder / L"a.LRC"});
  EXPECT_EQ(text_of(external_edit()), L"");

  drop({folder / L"a.LRC"});
  EXPECT_EQ(text_of(external_edit()), L"[00:01:00]dropped");
  EXPECT_TRUE(modified(external_edit()));

  SendMessageW(external_edit(), EM_SETMODIFY, FALSE, 0);
  boxes.answers = {IDNO};
  drop({folder / L"a.LRC"});
  EXPECT_EQ(boxes.texts.back(), L"現在表示されている歌詞を破棄しますか？");
  EXPECT_FALSE(modified(external_edit()));
}

TEST_F(OptionsWindowTest, HelpOpensTheFileBesideTheLibraryAndPopupsByControl) {
  ASSERT_NE(open(), nullptr);
  SendMessageW(window(), WM_COMMAND, IDC_HELP_BUTTON, 0);
  ASSERT_EQ(services.help_calls.size(), 1u);
  wchar_t library[MAX_PATH] = {};
  GetModuleFileNameW(dll.get(), library, MAX_PATH);
  const std::wstring path(library);
  const std::u16string help = u16(path.substr(0, path.size() - 9)) + u"Sabla.chm";
  EXPECT_EQ(services.help_calls[0].first, help);
  EXPECT_FALSE(services.help_calls[0].second);

  RECT edit{};
  GetWindowRect(external_edit(), &edit);
  for (int id : {IDC_EXTERNAL_EDIT, 4242}) {
    HELPINFO info{sizeof info, HELPINFO_WINDOW, id, nullptr, 0, {}};
    SendMessageW(window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  }
  ASSERT_EQ(services.help_calls.size(), 2u);
  EXPECT_EQ(services.help_calls[1].first, help + u"::/popup.txt");
  ASSERT_TRUE(services.help_calls[1].second);
  EXPECT_EQ(services.help_calls[1].second->topic, 1001);
  EXPECT_EQ(services.help_calls[1].second->x, edit.left);
  EXPECT_EQ(services.help_calls[1].second->y, edit.top + 20);
}

TEST_F(OptionsWindowTest, TabMovesTheFocusThroughTheHookAlthoughTheHostOwnsTheLoop) {
  ASSERT_NE(open(), nullptr);
  ShowWindow(window(), SW_SHOW);
  SetForegroundWindow(window());
  const HWND tabs = GetDlgItem(window(), IDC_OPTIONS_TABS);
  SetFocus(tabs);
  PostMessageW(tabs, WM_KEYDOWN, VK_TAB, 0);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // The host's loop: whatever the hook handled arrives here neutralised.
    if (message.message == WM_KEYDOWN) ADD_FAILURE() << "the key reached the host's loop";
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  EXPECT_NE(GetFocus(), tabs);
}

}  // namespace
}  // namespace sabla::test
