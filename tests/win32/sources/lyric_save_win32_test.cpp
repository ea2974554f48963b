#include <gtest/gtest.h>
#include <windows.h>

#include "core/sources/lyric_search_test_song.h"
#include "lyric_files_win32_util.h"
#include "sources/lyric_save.h"
#include "sources/lyric_save_files_win32.h"

namespace sabla {
namespace {

using test::bytes_of;
using test::read_bytes;
using test::TempFolder;
using test::u16;
using test::utf16_file;

enum class Step { kNone, kCreate, kWrite, kFlush, kClose, kMove };

// The real file system, except that one chosen step of a save fails.
class FailingFileLayer final : public FileLayer {
 public:
  explicit FailingFileLayer(Step failing) : failing_(failing) {}

  UniqueFile create(const std::wstring& path) override {
    if (failing_ == Step::kCreate) return UniqueFile();
    return real().create(path);
  }
  bool write(HANDLE file, const uint8_t* data, DWORD size) override {
    if (failing_ == Step::kWrite) {
      real().write(file, data, size / 2);  // half the bytes land, as on a full disk
      return false;
    }
    return real().write(file, data, size);
  }
  bool flush(HANDLE file) override { return failing_ != Step::kFlush && real().flush(file); }
  bool close(UniqueFile& file) override {
    const bool closed = real().close(file);
    return failing_ != Step::kClose && closed;
  }
  bool move_replacing(const std::wstring& from, const std::wstring& to) override {
    return failing_ != Step::kMove && real().move_replacing(from, to);
  }
  bool remove(const std::wstring& path) override { return real().remove(path); }

 private:
  static FileLayer& real() { return system_file_layer(); }
  Step failing_;
};

class LyricSaveWin32 : public ::testing::Test {
 protected:
  LyricSaveWin32() {
    settings.song_bf_size = {512, 256};
    settings.path[0] = u16(temp.path());
  }
  LyricSaveContext context() { return LyricSaveContext{settings, *codec, files, {}}; }
  bool write(const std::wstring& path, std::u16string_view text) {
    return write_lyric_file(u16(path), text, context());
  }
  std::vector<std::wstring> names() const {
    auto list = TempFolder::list(temp.path());
    std::sort(list.begin(), list.end());
    return list;
  }

  TempFolder temp;
  Settings settings;
  std::unique_ptr<AnsiCodec> codec = make_ansi_codec();
  SystemLyricSaveFiles files;
};

TEST_F(LyricSaveWin32, ShiftJisWhenTheTextRoundTripsElseUtf16) {
  ASSERT_EQ(GetACP(), 932u);
  const std::wstring path = temp / L"song.lrc";
  ASSERT_TRUE(write(path, u"[00:01:00]歌詞\r\nｶﾅ"));
  EXPECT_EQ(read_bytes(path), bytes_of("[00:01:00]\x89\xCC\x8E\x8C\r\n\xB6\xC5"));

  ASSERT_TRUE(write(path, u"사랑"));
  EXPECT_EQ(read_bytes(path), utf16_file(u"사랑"));
  // Windows maps 'é' to a look-alike in code page 932; it would not come back as itself.
  ASSERT_TRUE(write(path, u"café"));
  EXPECT_EQ(read_bytes(path), utf16_file(u"café"));

  settings.save_unicode = 1;
  ASSERT_TRUE(write(path, u"abc"));
  EXPECT_EQ(read_bytes(path), utf16_file(u"abc"));
  EXPECT_EQ(names(), std::vector<std::wstring>{L"song.lrc"});
}

TEST_F(LyricSaveWin32, TheCodecKnowsTheLeadBytesOfTheCodePage) {
  ASSERT_EQ(GetACP(), 932u);
  EXPECT_EQ(codec->lead_bytes().lead, shift_jis_lead_bytes().lead);
  EXPECT_EQ(codec->encode(std::u16string(kMaxAnsiLyricBytes, u'a'))->size(), kMaxAnsiLyricBytes);
  EXPECT_FALSE(codec->encode(std::u16string(kMaxAnsiLyricBytes / 2 + 1, u'歌')));
}

TEST_F(LyricSaveWin32, EmptyTextDeletesTheFile) {
  const std::wstring path = temp / L"a.lrc";
  ASSERT_TRUE(test::make_file(path, "old"));
  ASSERT_TRUE(write(path, u""));
  EXPECT_TRUE(names().empty());
  EXPECT_FALSE(write(temp / L"missing\\a.lrc", u""));
}

TEST_F(LyricSaveWin32, AFailedSaveLeavesThePreviousFileWhole) {
  const std::wstring path = temp / L"lyrics.lrc";
  const std::vector<uint8_t> old = utf16_file(u"[00:01:00]old lyrics\r\nline two");
  for (const Step step : {Step::kCreate, Step::kWrite, Step::kFlush, Step::kClose, Step::kMove}) {
    SCOPED_TRACE(static_cast<int>(step));
    ASSERT_TRUE(test::write_bytes(path, old));
    FailingFileLayer failing(step);
    SystemLyricSaveFiles failing_files(failing);
    EXPECT_FALSE(write_lyric_file(u16(path), std::u16string(5000, u'新'),
                                  LyricSaveContext{settings, *codec, failing_files, {}}));
    EXPECT_EQ(read_bytes(path), old);
    EXPECT_EQ(names(), std::vector<std::wstring>{L"lyrics.lrc"});
  }
  // With every step working, the bytes are exactly the new text's.
  FailingFileLayer working(Step::kNone);
  SystemLyricSaveFiles working_files(working);
  ASSERT_TRUE(write_lyric_file(u16(path), std::u16string(5000, u'新'),
                               LyricSaveContext{settings, *codec, working_files, {}}));
  std::string expected;
  for (int i = 0; i < 5000; ++i) expected += "\x90\x56";  // "新" in Shift_JIS
  EXPECT_EQ(read_bytes(path), bytes_of(expected));
  EXPECT_EQ(names(), std::vector<std::wstring>{L"lyrics.lrc"});
}

TEST_F(LyricSaveWin32, AutoSavePairOnDisk) {
  settings.auto_save[0] = 1;
  ASSERT_TRUE(write(temp / L"song.txt", u"[00:01:00]a\r\n@by x\r\n"));
  EXPECT_EQ(read_bytes(temp / L"song.lrc"), bytes_of("[00:01:00]a\r\n@by x\r\n"));
  EXPECT_EQ(read_bytes(temp / L"song.txt"), bytes_of("a\r\n\r\n"));

  // An upper-case ".TXT" is the same file as the pair's ".txt": the timed text survives in the
  // ".lrc" and the plain text stays under the file's own name.
  ASSERT_TRUE(write(temp / L"other.TXT", u"[00:02]b"));
  EXPECT_EQ(read_bytes(temp / L"other.lrc"), bytes_of("[00:02]b"));
  EXPECT_EQ(read_bytes(temp / L"other.txt"), bytes_of("b"));
  EXPECT_EQ(names(),
            (std::vector<std::wstring>{L"other.TXT", L"other.lrc", L"song.lrc", L"song.txt"}));
}

TEST_F(LyricSaveWin32, EditorSaveCreatesTheArtistAndAlbumFolders) {
  settings.new_file = {3, 1};
  test::TestSong song = test::make_song(u"C:\\M\\a.mp3", u"Sakura", u"Moriyama", u"Shiki");
  song.lyrics_path = settings.path[0] + u"\\Moriyama\\Shiki\\Sakura.txt";
  ASSERT_TRUE(save_editor_lyrics(song.names(), u"桜\r\n", context()));
  EXPECT_EQ(read_bytes(test::wide(song.lyrics_path)), bytes_of("\x8D\xF7\r\n"));

  // Folder choice 1 creates nothing, so a missing folder makes the save fail.
  settings.new_file = {1, 1};
  song.lyrics_path = settings.path[0] + u"\\none\\Sakura.txt";
  EXPECT_FALSE(save_editor_lyrics(song.names(), u"桜", context()));
  EXPECT_EQ(names(), std::vector<std::wstring>{L"Moriyama"});
}

TEST_F(LyricSaveWin32, JapaneseFolderAndFileNames) {
  if (!test::non_ascii_names_work(temp)) GTEST_SKIP() << test::kNoNonAsciiNames;
  settings.new_file = {3, 1};
  test::TestSong song = test::make_song(u"C:\\M\\a.mp3", u"さくら", u"森山", u"");
  song.lyrics_path = settings.path[0] + u"\\森山\\不明なアルバム\\さくら.txt";
  settings.auto_save[0] = 1;
  ASSERT_TRUE(save_editor_lyrics(song.names(), u"[00:01]桜\r\n", context()));
  const std::wstring folder = temp / L"森山\\不明なアルバム";
  EXPECT_EQ(read_bytes(folder + L"\\さくら.lrc"), bytes_of("[00:01]\x8D\xF7\r\n"));
  EXPECT_EQ(read_bytes(folder + L"\\さくら.txt"), bytes_of("\x8D\xF7\r\n"));
}

}  // namespace
}  // namespace sabla
