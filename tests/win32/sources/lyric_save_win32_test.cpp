#include <gtest/gtest.h>
#include <windows.h>

#include "core/sources/lyric_search_test_song.h"
#include "lyric_files_win32_util.h"
#include "sources/lyric_save.h"
#include "sources/lyric_save_files_win32.h"
#include "win32/settings/faulty_file_layer.h"

namespace sabla {
namespace {

using test::bytes_of;
using test::read_bytes;
using test::TempFolder;
using test::u16;
using test::utf16_file;

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

// Both files of a pair, saved from a ".lrc" and from a ".txt", under every fault: each file
// holds its old or its new bytes, and no temporary is left. The save fails exactly when the file
// it was asked for kept its old bytes.
TEST_F(LyricSaveWin32, AnyFailureLeavesEachFileOldOrNewAndNoTemporary) {
  settings.auto_save[0] = 1;
  const std::u16string text = u"[00:01:00]新しい\r\n[00:02:00]歌詞";
  const std::vector<uint8_t> timed = bytes_of("[00:01:00]\x90\x56\x82\xb5\x82\xa2\r\n[00:02:00]\x89\xcc\x8e\x8c");
  const std::vector<uint8_t> plain = bytes_of("\x90\x56\x82\xb5\x82\xa2\r\n\x89\xcc\x8e\x8c");
  const std::vector<uint8_t> old_lrc = bytes_of("[00:09]old timed");
  const std::vector<uint8_t> old_txt = utf16_file(u"old plain");
  const std::wstring lrc = temp / L"song.lrc";
  const std::wstring txt = temp / L"song.txt";
  size_t checked = 0;
  for (const std::wstring& saved_path : {lrc, txt}) {
    auto prepare = [&] {
      ASSERT_TRUE(test::write_bytes(lrc, old_lrc));
      ASSERT_TRUE(test::write_bytes(txt, old_txt));
    };
    auto save = [&](FileLayer& layer) {
      SystemLyricSaveFiles files(layer);
      return write_lyric_file(u16(saved_path), text, LyricSaveContext{settings, *codec, files, {}});
    };
    prepare();
    const auto faults = test::fault_matrix([&](FileLayer& layer) { save(layer); });
    for (const test::Fault& fault : faults) {
      SCOPED_TRACE(testing::Message() << (saved_path == lrc ? "lrc" : "txt") << ", " << fault.name);
      prepare();
      test::FaultyFileLayer layer = test::layer_for(fault);
      const bool saved = save(layer);
      const std::vector<uint8_t> lrc_now = read_bytes(lrc);
      const std::vector<uint8_t> txt_now = read_bytes(txt);
      EXPECT_TRUE(lrc_now == old_lrc || lrc_now == timed);
      // A ".txt" whose ".lrc" could not be written keeps the timetags itself.
      const bool txt_keeps_tags = saved_path == txt && lrc_now == old_lrc;
      EXPECT_TRUE(txt_now == old_txt || txt_now == (txt_keeps_tags ? timed : plain));
      EXPECT_EQ(saved, (saved_path == lrc ? lrc_now : txt_now) != (saved_path == lrc ? old_lrc : old_txt));
      if (layer.failures == 0) {
        EXPECT_EQ(lrc_now, timed);
        EXPECT_EQ(txt_now, plain);
      }
      EXPECT_EQ(names(), (std::vector<std::wstring>{L"song.lrc", L"song.txt"}));
      ++checked;
    }
  }
  EXPECT_GT(checked, 40u);
}

// Real conditions a lyric file meets: kept, untouched and reported when it cannot be replaced.
TEST_F(LyricSaveWin32, AProtectedOrBusyLyricFileIsLeftAsItWas) {
  const std::vector<uint8_t> old = utf16_file(u"[00:01:00]old lyrics");
  const std::wstring path = temp / L"lyrics.lrc";
  for (const bool read_only : {true, false}) {
    SCOPED_TRACE(read_only ? "read-only" : "held open without delete sharing");
    ASSERT_TRUE(test::write_bytes(path, old));
    UniqueFile holder;
    if (read_only) {
      ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    } else {
      holder = UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(holder);
    }
    EXPECT_FALSE(write(path, u"[00:01:00]new"));
    EXPECT_FALSE(write(path, u""));  // nor is it deleted
    holder.reset();
    EXPECT_EQ(read_bytes(path), old);
    EXPECT_EQ(names(), std::vector<std::wstring>{L"lyrics.lrc"});
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  // Once free again, a hidden lyric file is replaced and stays hidden.
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(write(path, u"[00:01:00]new"));
  EXPECT_EQ(read_bytes(path), bytes_of("[00:01:00]new"));
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// A lyric path of the longest length a path buffer holds, with a short name.
TEST_F(LyricSaveWin32, ALyricPathAtTheLimitIsSaved) {
  std::wstring folder = temp.path();
  folder += L"\\" + std::wstring(259 - folder.size() - 1 - 6, L'f');
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
  const std::wstring path = folder + L"\\a.lrc";
  ASSERT_EQ(path.size(), 259u);
  ASSERT_TRUE(write(path, u"[00:01:00]abc"));
  ASSERT_TRUE(write(path, u"[00:01:00]abcd"));
  EXPECT_EQ(read_bytes(L"\\\\?\\" + path), bytes_of("[00:01:00]abcd"));
  EXPECT_EQ(TempFolder::list(L"\\\\?\\" + folder), std::vector<std::wstring>{L"a.lrc"});
  DeleteFileW((L"\\\\?\\" + path).c_str());
  RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
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
