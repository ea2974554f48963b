#include "sources/lyric_save_document.h"

#include <gtest/gtest.h>

#include "core/lyrics/lyrics_test_util.h"
#include "lyric_save_fakes.h"
#include "lyric_search_fakes.h"
#include "lyric_search_test_song.h"
#include "sources/ipod_notes_document.h"
#include "sources/lyric_search_load.h"
#include "sources/text_file.h"

namespace sabla {
namespace {

using test::bytes_of;
using test::FakeSaveFiles;

// The lyric search over the files a save wrote, read back as the text reader decodes them.
class SavedLyricFiles final : public LyricSearchFiles {
 public:
  SavedLyricFiles(const FakeSaveFiles& saved, const CodePage& ansi) : saved_(saved), ansi_(ansi) {}
  bool can_open(std::u16string_view path) const override {
    return saved_.files.count(std::u16string(path)) > 0;
  }
  void for_each_subfolder(std::u16string_view,
                          const std::function<bool(std::u16string_view)>&) const override {}
  std::optional<uint64_t> last_write_time(std::u16string_view) const override { return 0; }
  bool read_text(std::u16string_view path, std::u16string& text) const override {
    const auto it = saved_.files.find(std::u16string(path));
    if (it == saved_.files.end()) return false;
    text = decode_text_file(it->second, ansi_);
    return true;
  }

 private:
  const FakeSaveFiles& saved_;
  const CodePage& ansi_;
};

class DocumentSave : public ::testing::Test {
 protected:
  DocumentSave() {
    settings.song_bf_size = {512, 256};
    settings.path[0] = u"D:\\L";
    settings.new_file = {1, 1};
    files.folders = {u"D:\\L"};
    song = test::make_song(u"C:\\M\\a.mp3", u"Title", u"X", u"");
  }
  bool save() {
    const DocumentSong target{song.names(), song.lyrics_path, {false, true, false}, 180000};
    return save_document_lyrics(*document, target, LyricSaveContext{settings, *codec, files, {}},
                                search, found);
  }

  Settings settings;
  std::unique_ptr<AnsiCodec> codec = make_ansi_codec();
  std::unique_ptr<CodePage> ansi = make_ansi_code_page();
  FakeSaveFiles files;
  SavedLyricFiles search{files, *ansi};
  test::TestSong song;
  std::unique_ptr<LyricDocument> document = test::make_document();
  bool found = false;
};

TEST_F(DocumentSave, ChoosesAPathWritesTheTagFormAndReloads) {
  document->load_text(0, u"[00:01:50]歌\r\nb");
  document->set_cursor_line_time(2000);  // edit mode stamps the cursor line (line 0)
  settings.input_timetag_digit = 1;
  ASSERT_TRUE(save());
  EXPECT_EQ(song.lyrics_path, u"D:\\L\\Title.txt");
  EXPECT_EQ(files.files.at(u"D:\\L\\Title.txt"), bytes_of("[00:02]\x89\xCC\r\nb"));
  EXPECT_TRUE(found);
  // The document now holds what the file holds.
  EXPECT_EQ(document->join_lines(TagForm::kLong, 1000), u"[00:02:00]歌\r\nb");
}

TEST_F(DocumentSave, ArtistAlbumFoldersAreMadeForANewFile) {
  settings.new_file = {3, 2};
  files.log.clear();
  document->load_text(0, u"a");
  ASSERT_TRUE(save());
  EXPECT_EQ(song.lyrics_path, u"D:\\L\\X\\不明なアルバム\\X - Title.txt");
  EXPECT_EQ(files.log,
            (std::vector<std::u16string>{u"mkdir D:\\L\\X", u"mkdir D:\\L\\X\\不明なアルバム",
                                         u"write " + song.lyrics_path}));
}

TEST_F(DocumentSave, FailureLeavesDocumentAndFlagAlone) {
  song.lyrics_path = u"C:\\missing\\a.lrc";
  document->load_text(0, u"[00:01:00]a");
  found = true;
  EXPECT_FALSE(save());
  EXPECT_TRUE(found);
  EXPECT_EQ(document->line_count(), 1);

  // Without a lyric folder no path can be chosen, and nothing is written.
  song.lyrics_path.clear();
  settings.path[0].clear();
  EXPECT_FALSE(save());
  EXPECT_TRUE(files.files.empty());
}

TEST_F(DocumentSave, AnEmptyDocumentNeverTouchesTheFile) {
  // An unreadable file the user chose not to delete leaves the display without lines.
  song.lyrics_path = u"D:\\L\\Title.lrc";
  files.files[song.lyrics_path] = bytes_of("\x1A[00:01:00]old");
  found = true;
  document->load_text(0, u"");
  files.log.clear();
  EXPECT_FALSE(save());
  EXPECT_EQ(files.files.at(song.lyrics_path), bytes_of("\x1A[00:01:00]old"));
  EXPECT_TRUE(files.log.empty());
  EXPECT_TRUE(found);
}

TEST(LoadExternalLyrics, LoadsTheFoundFileOrEmptiesTheDocument) {
  test::FakeLyricFiles files;
  files.files = {u"R\\T.lrc", u"R\\T.kra"};
  files.texts[u"R\\T.lrc"] = u"[00:01:00]one\r\ntwo";
  Settings settings;
  settings.path[0] = u"R";
  test::TestSong song = test::make_song(u"", u"T", u"", u"");
  auto document = test::make_document();

  // "T.kra" comes first but cannot be read: no lyrics, an empty document.
  document->load_text(0, u"stale");
  EXPECT_FALSE(
      load_external_lyrics(song.names(), settings, files, *document, 1000, song.lyrics_path));
  EXPECT_EQ(document->line_count(), 0);

  files.files.erase(u"R\\T.kra");
  EXPECT_TRUE(
      load_external_lyrics(song.names(), settings, files, *document, 1000, song.lyrics_path));
  EXPECT_EQ(song.lyrics_path, u"R\\T.lrc");
  EXPECT_EQ(document->line_count(), 2);

  files.files.clear();
  EXPECT_FALSE(
      load_external_lyrics(song.names(), settings, files, *document, 1000, song.lyrics_path));
  EXPECT_EQ(document->line_count(), 0);
}

TEST(IpodNotesDocument, ExportsTheDisplayTexts) {
  auto document = test::make_document();
  document->load_text(0, u"[00:12:00]hello\r\n@title=x\r\nend");
  Settings settings;
  settings.to_iPod_text_path = u"N";
  FakeSaveFiles files;
  files.folders = {u"N"};
  const test::TestSong song = test::make_song(u"C:\\a.mp3", u"T", u"A", u"");
  ASSERT_TRUE(export_ipod_notes_from_document(song.names(), *document, settings, files));
  EXPECT_EQ(files.files.at(u"N\\a.txt"),
            test::utf16_file(ipod_notes_header(song.names()) + u"hello\r\n\r\nend"));
}

}  // namespace
}  // namespace sabla
