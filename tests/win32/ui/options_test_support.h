#pragma once
// What the options window's tests share: the window over a state of their own, a player and
// services that record what they are asked, and message boxes answered by a CBT hook.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "host/host_resources_win32.h"
#include "lyrics/fixed_width_measurer.h"
#include "lyrics/lyric_document.h"
#include "settings/display_items.h"
#include "state/plugin_state.h"
#include "ui/options_services.h"
#include "ui/options_window_win32.h"
#include "ui/resources/resource.h"
#include "win32/host/sabla_dll.h"
#include "win32/settings/temp_folder.h"

namespace sabla::test {

inline std::u16string u16(const std::wstring& text) {
  return std::u16string(text.begin(), text.end());
}

// A player that writes down every operation and answers as told.
class RecordingPlayer final : public PlayerBridge {
 public:
  std::vector<std::string> log;
  bool write_lyrics_result = true;
  bool track_change_result = true;
  std::u16string written_lyrics;

  bool seek(int32_t, StatusMessage&) override { return note("seek"); }
  int32_t player_position(StatusMessage&) override { return 0; }
  bool has_current_track(StatusMessage&) override { return true; }
  bool play_current(StatusMessage&) override { return note("play"); }
  bool pause(StatusMessage&) override { return note("pause"); }
  bool fast_forward(StatusMessage&) override { return note("forward"); }
  bool rewind(StatusMessage&) override { return note("rewind"); }
  bool previous_track(StatusMessage&) override {
    note("previous");
    return track_change_result;
  }
  bool next_track(StatusMessage&) override {
    note("next");
    return track_change_result;
  }
  bool current_track_ids(PlayerTrackIds&, StatusMessage&) override { return false; }
  bool current_track_location(std::u16string&, StatusMessage&) override { return false; }
  bool save_artwork(std::u16string_view, std::u16string_view, StatusMessage&) override {
    return false;
  }
  bool write_lyrics(const PlayerTrackIds&, std::u16string_view lyrics, int32_t,
                    StatusMessage&) override {
    note("write_lyrics");
    written_lyrics = lyrics;
    return write_lyrics_result;
  }
  bool has_lyrics(int32_t, StatusMessage&) override { return false; }
  bool read_lyrics(SongLyrics&, int32_t, StatusMessage&) override { return false; }

 private:
  bool note(const char* what) {
    log.emplace_back(what);
    return true;
  }
};

// Services that record the window's calls. The external lyric file is whatever the test names.
class RecordingServices final : public OptionsServices {
 public:
  explicit RecordingServices(RecordingPlayer& player) : player_(player) {}

  std::u16string external_file;  // "found" by the search when it exists on disk
  std::vector<std::pair<std::u16string, std::optional<HelpPopup>>> help_calls;
  std::optional<std::u16string> chosen_file;
  int pipeline_runs = 0;
  int saved_settings = 0;
  int saved_documents = 0;
  bool save_document_result = true;
  std::vector<int> searches;

  PlayerBridge& player() override { return player_; }
  bool load_song_lyrics(PluginState&) override {
    ++pipeline_runs;
    return true;
  }
  bool save_document_lyrics(PluginState&) override {
    ++saved_documents;
    return save_document_result;
  }
  void find_lyric_file(PluginState& state) override {
    if (exists()) state.song.lyrics_path = external_file;
  }
  bool load_external_lyrics(PluginState& state) override {
    find_lyric_file(state);
    return exists();
  }
  bool launch_search(PluginState&, std::u16string_view, std::u16string_view, std::u16string_view,
                     int slot) override {
    searches.push_back(slot);
    return true;
  }
  bool save_settings(PluginState&) override {
    ++saved_settings;
    return true;
  }
  void show_help(void*, std::u16string_view file, std::optional<HelpPopup> popup) override {
    help_calls.emplace_back(std::u16string(file), popup);
  }
  std::optional<std::u16string> choose_lyric_file(PluginState&, void*) override {
    return chosen_file;
  }
  void open_file(std::u16string_view path) override { opened_files.emplace_back(path); }
  std::vector<std::u16string> opened_files;

 private:
  bool exists() const {
    return !external_file.empty() &&
           GetFileAttributesW(reinterpret_cast<const wchar_t*>(external_file.c_str())) !=
               INVALID_FILE_ATTRIBUTES;
  }
  RecordingPlayer& player_;
};

// Answers the message boxes of the thread in turn (IDYES, IDNO, IDOK ...) and records their
// texts; a box without a queued answer gets IDNO / IDOK.
class MessageBoxAnswers {
 public:
  MessageBoxAnswers() {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, &hook, nullptr, GetCurrentThreadId());
  }
  ~MessageBoxAnswers() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  MessageBoxAnswers(const MessageBoxAnswers&) = delete;
  MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

  std::deque<int> answers;
  std::vector<std::wstring> texts;
  std::vector<std::wstring> captions;

 private:
  static LRESULT CALLBACK hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && current_) {
      const auto box = reinterpret_cast<HWND>(wparam);
      wchar_t class_name[16] = {};
      GetClassNameW(box, class_name, 16);
      // The static with id 0xFFFF holds the message of a message box.
      if (std::wstring(class_name) == L"#32770" && GetDlgItem(box, 0xFFFF)) {
        wchar_t text[2048] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 2048);
        current_->texts.emplace_back(text);
        wchar_t caption[256] = {};
        GetWindowTextW(box, caption, 256);
        current_->captions.emplace_back(caption);
        int answer = GetDlgItem(box, IDNO) ? IDNO : IDOK;
        if (!current_->answers.empty()) {
          answer = current_->answers.front();
          current_->answers.pop_front();
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static inline MessageBoxAnswers* current_ = nullptr;
  HHOOK hook_ = nullptr;
};

// An options window over a state of its own: a song loaded, the lyric folder a fresh temporary
// folder, the interface texts from the built library.
class OptionsWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(dll.get(), nullptr);
    state.host.module_handle = dll.get();
    state.host.host_major_version = 7;
    load_string_table(state.strings, dll.get());
    reset_display_items(state.settings.items, u"MS UI Gothic");
    panel().init(64, 256, std::make_unique<FixedWidthMeasurer>());
    state.settings.song_bf_size = {512, 256};
    state.settings.path[0] = u16(folder.path());
    for (int slot = 0; slot < 8; ++slot) state.settings.URL_name[slot] = u"site " + std::u16string(1, u'0' + slot);
    state.clock.track_info_valid = true;
    SongInfo& song = state.song;
    song.title = song.title_safe = u"Song";
    song.artist = song.artist_safe = u"Artist";
    song.album = song.album_safe = u"Album";
    song.file_name = u"song.mp3";
    song.file_path = u16(folder / L"song.mp3");
    song.track_total_ms = 200000;
    owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr);
  }
  void TearDown() override {
    if (window()) SendMessageW(window(), WM_COMMAND, IDCANCEL, 0);
    DestroyWindow(owner);
  }

  HWND open() { return OptionsWindow::open(state, services, owner); }
  HWND window() const { return static_cast<HWND>(state.options.options_window); }
  HWND page(int template_id) const {
    // The pages are the frame's child dialogs, found by a control only they have.
    const int marker = template_id == IDD_EXTERNAL_TEXT ? IDC_EXTERNAL_EDIT : IDC_IN_SONG_EDIT;
    for (HWND child = GetWindow(window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetDlgItem(child, marker)) return child;
    }
    return nullptr;
  }
  HWND control(int template_id, int id) const { return GetDlgItem(page(template_id), id); }
  HWND external_edit() const { return control(IDD_EXTERNAL_TEXT, IDC_EXTERNAL_EDIT); }
  HWND in_song_edit() const { return control(IDD_IN_SONG_LYRICS, IDC_IN_SONG_EDIT); }
  void command(int template_id, int id) {
    SendMessageW(page(template_id), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(template_id, id)));
  }
  static std::wstring text_of(HWND control) {
    wchar_t text[40000] = {};
    GetWindowTextW(control, text, 40000);
    return text;
  }
  static bool modified(HWND edit) { return SendMessageW(edit, EM_GETMODIFY, 0, 0) != 0; }
  LyricDocument& panel() { return *lyrics_panel(state); }
  // The display's lines as they would be saved.
  std::u16string panel_text() { return panel().join_lines(TagForm::kLong, 32768); }
  static void write_file(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  SablaDll dll;
  TempFolder folder;
  PluginState state;
  RecordingPlayer player;
  RecordingServices services{player};
  HWND owner = nullptr;
};

}  // namespace sabla::test
