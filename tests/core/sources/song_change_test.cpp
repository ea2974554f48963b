// The song-change pipeline's choices, with scripted files, player and options window.
#include "sources/song_change.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "core/lyrics/lyrics_test_util.h"
#include "host/handler_steps.h"
#include "state/plugin_state.h"
#include "lyrics/lyric_document.h"
#include "settings/display_items.h"

namespace sabla {
namespace {

class ScriptedSources : public SongChangeSources {
 public:
  std::optional<std::u16string> external_text;  // the lyric file found, when any
  std::u16string external_path = u"C:\\Lyrics\\song.lrc";
  SongLyrics song_file;
  bool has_track = true;
  std::optional<LoadedArtwork> artwork = LoadedArtwork{{600, 300}, {200, 100}};
  std::optional<uint64_t> write_time = 77;
  bool notes_succeed = true;
  std::u16string notes_lyrics;
  std::vector<std::string> calls;

  bool load_external_lyrics(const SongInfo& song, LyricDocument& document,
                            std::u16string& lyrics_path) override {
    calls.push_back("external");
    document.load_text(song.track_total_ms, external_text.value_or(u""));
    if (external_text) lyrics_path = external_path;
    return external_text.has_value();
  }
  bool read_song_file_lyrics(const SongInfo&, SongLyrics& lyrics) override {
    calls.push_back("song_file");
    lyrics = song_file;
    return song_file.has;
  }
  bool player_has_current_track() override {
    calls.push_back("has_track");
    return has_track;
  }
  bool read_text_file(std::u16string_view, std::u16string& text) override {
    text = external_text.value_or(u"");
    return external_text.has_value();
  }
  void release_artwork() override { calls.push_back("release_artwork"); }
  std::optional<LoadedArtwork> load_artwork(const DisplayItem&) override {
    calls.push_back("artwork");
    return artwork;
  }
  std::optional<uint64_t> last_write_time(std::u16string_view) override { return write_time; }
  bool export_ipod_notes(const SongInfo&, std::u16string_view lyrics) override {
    calls.push_back("notes");
    notes_lyrics = lyrics;
    return notes_succeed;
  }
};

class ScriptedEditors : public SongChangeEditors {
 public:
  bool unsaved = false;
  bool answer_yes = false;
  std::u16string question;
  std::optional<bool> insert_enabled;
  std::u16string external = u"edited text";
  std::u16string song_file;
  std::u16string caption;
  bool disabled = false;
  int refreshed = 0;

  void enable_for_song() override {}
  void disable_controls() override { disabled = true; }
  bool has_unsaved_changes() override { return unsaved; }
  bool ask_discard(std::u16string_view text) override {
    question = text;
    return answer_yes;
  }
  void set_insert_button_enabled(bool enabled) override { insert_enabled = enabled; }
  void set_external_text(std::u16string_view text) override { external = text; }
  void set_song_file_text(std::u16string_view text) override { song_file = text; }
  std::u16string external_text() override { return external; }
  std::u16string song_file_text() override { return song_file; }
  void show_paths(std::u16string_view, std::u16string_view) override {}
  void set_caption(std::u16string_view text) override { caption = text; }
  void clear_modified_and_refresh() override { ++refreshed; }
};

class SongChange : public ::testing::Test {
 protected:
  SongChange() {
    reset_display_items(state.settings.items, u"Face");
    state.settings.items[kLyricsItem] = test::make_document();
    state.settings.items[kCoverArtItem]->draw_order = 3;
    state.clock.track_info_valid = true;
    state.host.host_major_version = 7;
    state.song.title = u"Song";
    state.song.file_path = u"C:\\Music\\song.m4a";
    state.song.file_name = u"song.m4a";
    state.song.track_total_ms = 200000;
    state.strings.set(kDiscardOtherSongQuestion, u"other song?");
    state.strings.set(kDiscardSameSongQuestion, u"same song?");
    state.requests.probe_off = true;
  }
  LyricDocument& panel() { return *lyrics_panel(state); }

  PluginState state;
  ScriptedSources sources;
  ScriptedEditors editors;
};

TEST_F(SongChange, ExternalFileWinsOverSongFileLyricsAndTheEndClearsTheFlags) {
  sources.external_text = u"[00:01:00]from the file";
  sources.song_file = SongLyrics{u"[00:01:00]from the song", true};
  state.requests.lyrics_modified = true;
  panel().load_text(1000, u"old\r\nlines");
  panel().toggle_edit_mode();

  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_TRUE(state.sources.external_lyrics_found);
  EXPECT_EQ(panel().join_display_texts(1000), u"from the file");
  EXPECT_FALSE(panel().edit_mode());
  EXPECT_TRUE(state.song.has_song_lyrics);
  EXPECT_EQ(state.song.lyrics_path, u"C:\\Lyrics\\song.lrc");  // a found file keeps its path
  EXPECT_FALSE(state.requests.lyrics_modified);
  EXPECT_FALSE(state.requests.probe_off);
  EXPECT_EQ(state.sources.song_file_write_time, 77u);
  EXPECT_EQ(state.frame.artwork_size, (Size{600, 300}));
  EXPECT_EQ(state.frame.artwork_cache_size, (Size{200, 100}));
  EXPECT_EQ(sources.calls,
            (std::vector<std::string>{"external", "song_file", "has_track", "release_artwork",
                                      "artwork"}));
}

TEST_F(SongChange, SongFileLyricsWhenNoFileAndANewPathIsChosen) {
  sources.song_file = SongLyrics{u"from the song", true};
  state.settings.new_file = {0, 0};
  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_FALSE(state.sources.external_lyrics_found);
  EXPECT_EQ(panel().join_display_texts(1000), u"from the song");
  EXPECT_EQ(state.song.lyrics_path, u"C:\\Music\\song.txt");

  // Neither source: an empty panel, and the re-check may look again.
  sources.song_file = SongLyrics{};
  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_EQ(panel().line_count(), 0);
  EXPECT_FALSE(state.requests.delete_file_request);
}

TEST_F(SongChange, PlayerWithoutTrackForgetsTheSong) {
  sources.has_track = false;
  state.options.edited_song.title = u"edited";
  EXPECT_FALSE(load_song_lyrics(state, sources, &editors));
  EXPECT_FALSE(state.clock.track_info_valid);
  EXPECT_TRUE(state.song.title.empty());
  EXPECT_TRUE(state.options.edited_song.title.empty());
  EXPECT_TRUE(editors.disabled);
  EXPECT_EQ(state.frame.artwork_size, Size{});
  EXPECT_TRUE(state.requests.probe_off);  // only a run that reaches its end clears it
}

TEST_F(SongChange, HiddenArtworkItemLoadsNoArtwork) {
  state.settings.items[kCoverArtItem]->draw_order = -1;
  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_EQ(std::count(sources.calls.begin(), sources.calls.end(), "artwork"), 0);
  EXPECT_EQ(state.frame.artwork_size, Size{});

  state.settings.items[kCoverArtItem]->draw_order = 0;
  sources.artwork.reset();  // unreadable or empty image
  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_EQ(state.frame.artwork_size, Size{});
}

TEST_F(SongChange, UnsavedEditsOfAnotherSongAreKeptOnNo) {
  editors.unsaved = true;
  state.options.edited_song.file_path = u"C:\\Music\\previous.m4a";
  panel().load_text(1000, u"shown");
  EXPECT_FALSE(load_song_lyrics(state, sources, &editors));
  EXPECT_EQ(editors.question, u"other song?");
  EXPECT_EQ(editors.insert_enabled, false);
  EXPECT_EQ(editors.external, u"edited text");
  EXPECT_EQ(panel().join_display_texts(1000), u"shown");
  EXPECT_EQ(state.options.edited_song.file_path, u"C:\\Music\\previous.m4a");
  EXPECT_TRUE(sources.calls.empty());
  EXPECT_FALSE(state.sources.pipeline_busy);

  // Same song: the question differs, the insert button stays usable, Yes reloads.
  state.options.edited_song.file_path = state.song.file_path;
  editors.answer_yes = true;
  sources.external_text = u"reloaded";
  sources.song_file = SongLyrics{u"in the song", true};
  ASSERT_TRUE(load_song_lyrics(state, sources, &editors));
  EXPECT_EQ(editors.question, u"same song?");
  EXPECT_EQ(editors.insert_enabled, true);
  EXPECT_EQ(editors.external, u"reloaded");
  EXPECT_EQ(editors.song_file, u"in the song");  // shown beside the external file
  EXPECT_EQ(editors.caption, u"Song - Sabla");
  EXPECT_TRUE(state.options.edited_external_file);
  EXPECT_EQ(editors.refreshed, 1);
}

TEST_F(SongChange, BusyPipelineDoesNotRunInsideItself) {
  state.sources.pipeline_busy = true;
  EXPECT_FALSE(load_song_lyrics(state, sources, nullptr));
  EXPECT_TRUE(sources.calls.empty());
}

TEST_F(SongChange, AutomaticNotesExportReportsInTheStatusLine) {
  state.settings.auto_save = {0, 1};
  sources.external_text = u"[00:12:00]hello\r\n@title=x";
  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_EQ(sources.notes_lyrics, u"hello\r\n");
  EXPECT_EQ(state.status.text, kSavedNotesStatus);
  EXPECT_EQ(state.status.frames, kNotesStatusFrames);

  sources.notes_succeed = false;
  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_EQ(state.status.text, kNotesFailedStatus);

  // Nothing to export: no attempt, no status.
  sources.external_text.reset();
  state.status = StatusMessage{};
  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_EQ(std::count(sources.calls.begin(), sources.calls.end(), "notes"), 2);
  EXPECT_TRUE(state.status.text.empty());
}

TEST_F(SongChange, EmptyLyricFileIsOfferedForDeletion) {
  sources.external_text = u"";
  ASSERT_TRUE(load_song_lyrics(state, sources, nullptr));
  EXPECT_TRUE(state.requests.delete_file_request);
  EXPECT_EQ(state.requests.delete_file_path, u"C:\\Lyrics\\song.lrc");
}

}  // namespace
}  // namespace sabla
