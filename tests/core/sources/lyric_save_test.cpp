#include "sources/lyric_save.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "lyric_save_fakes.h"
#include "lyric_search_test_song.h"
#include "player/player_types.h"

namespace sabla {
namespace {

using test::bytes_of;
using test::FakeSaveFiles;
using test::utf16_file;

class LyricSave : public ::testing::Test {
 protected:
  LyricSave() {
    settings.song_bf_size = {512, 256};
    settings.path[0] = u"D:\\L";
    files.folders = {u"D:\\L", u"C:\\M"};
  }
  LyricSaveContext context() { return LyricSaveContext{settings, *codec, files, {}}; }
  bool write(std::u16string_view path, std::u16string_view text) {
    return write_lyric_file(path, text, context());
  }
  const std::vector<uint8_t>& file(const std::u16string& path) { return files.files.at(path); }

  Settings settings;
  std::unique_ptr<AnsiCodec> codec = make_ansi_codec();
  FakeSaveFiles files;
};

TEST_F(LyricSave, CodePageTextIsWrittenAsAnsiUnlessUnicodeIsAsked) {
  // "歌詞" in Shift_JIS.
  ASSERT_TRUE(write(u"C:\\M\\a.lrc", u"[00:01:00]歌詞\r\nb"));
  EXPECT_EQ(file(u"C:\\M\\a.lrc"), bytes_of("[00:01:00]\x89\xCC\x8E\x8C\r\nb"));

  settings.save_unicode = 1;
  ASSERT_TRUE(write(u"C:\\M\\a.lrc", u"[00:01:00]歌詞\r\nb"));
  EXPECT_EQ(file(u"C:\\M\\a.lrc"), utf16_file(u"[00:01:00]歌詞\r\nb"));
}

TEST_F(LyricSave, TextTheCodePageCannotHoldIsWrittenAsUtf16) {
  ASSERT_TRUE(write(u"C:\\M\\a.lrc", u"사랑 and 愛"));
  EXPECT_EQ(file(u"C:\\M\\a.lrc"), utf16_file(u"사랑 and 愛"));
  // A character Windows would map to a look-alike does not come back as itself either.
  EXPECT_TRUE(encode_lyric_text(u"x\u00E9", false, *codec).unicode);

  // Text needing more than the 8-bit buffer holds goes out as UTF-16 too.
  const std::u16string long_text(kMaxAnsiLyricBytes / 2 + 1, u'あ');
  const EncodedLyrics encoded = encode_lyric_text(long_text, false, *codec);
  EXPECT_TRUE(encoded.unicode);
  EXPECT_FALSE(encoded.ansi_fits);
  EXPECT_EQ(encoded.bytes.size(), 2 + long_text.size() * 2);
  EXPECT_FALSE(encode_lyric_text(std::u16string(kMaxAnsiLyricBytes, u'a'), false, *codec).unicode);
}

TEST_F(LyricSave, EmptyTextDeletesTheFile) {
  files.files[u"C:\\M\\a.lrc"] = bytes_of("old");
  ASSERT_TRUE(write(u"C:\\M\\a.lrc", u""));
  EXPECT_FALSE(files.files.count(u"C:\\M\\a.lrc"));
  // Text behind a NUL does not count, as in a text buffer.
  files.files[u"C:\\M\\a.lrc"] = bytes_of("old");
  ASSERT_TRUE(write(u"C:\\M\\a.lrc", std::u16string(u"\0abc", 4)));
  EXPECT_FALSE(files.files.count(u"C:\\M\\a.lrc"));
}

TEST_F(LyricSave, AFileThatCannotBeWrittenFails) {
  EXPECT_FALSE(write(u"C:\\missing\\a.lrc", u"x"));
  EXPECT_FALSE(write(u"", u"x"));
  settings.auto_save[0] = 1;
  EXPECT_FALSE(write(u"C:\\missing\\a.lrc", u"[00:01]x"));
  EXPECT_EQ(files.log, (std::vector<std::u16string>{u"write C:\\missing\\a.lrc",
                                                    u"write C:\\missing\\a.lrc"}));
}

TEST_F(LyricSave, AutoSavePairFromATxt) {
  settings.auto_save[0] = 1;
  const std::u16string text = u"[00:01:00]a\r\n@by x\r\n";
  ASSERT_TRUE(write(u"C:\\M\\song.txt", text));
  EXPECT_EQ(file(u"C:\\M\\song.lrc"), bytes_of("[00:01:00]a\r\n@by x\r\n"));
  EXPECT_EQ(file(u"C:\\M\\song.txt"), bytes_of("a\r\n\r\n"));
}

TEST_F(LyricSave, AutoSavePairFromAnLrcOrKra) {
  settings.auto_save[0] = 1;
  settings.save_unicode = 1;
  ASSERT_TRUE(write(u"C:\\M\\song.kra", u"[00:01]歌\r\n[00:02]b"));
  EXPECT_EQ(file(u"C:\\M\\song.kra"), utf16_file(u"[00:01]歌\r\n[00:02]b"));
  EXPECT_EQ(file(u"C:\\M\\song.txt"), utf16_file(u"歌\r\nb"));
  EXPECT_FALSE(files.files.count(u"C:\\M\\song.lrc"));
}

TEST_F(LyricSave, AutoSaveWithNothingToCleanWritesOneFile) {
  settings.auto_save[0] = 1;
  ASSERT_TRUE(write(u"C:\\M\\song.lrc", u"a\r\n[note]b"));
  EXPECT_EQ(files.log, std::vector<std::u16string>{u"write C:\\M\\song.lrc"});
}

TEST_F(LyricSave, AutoSaveRemovesAnEmptyPlainText) {
  settings.auto_save[0] = 1;
  files.files[u"C:\\M\\song.txt"] = bytes_of("stale");
  ASSERT_TRUE(write(u"C:\\M\\song.lrc", u"[00:01]\r\n@x"));
  EXPECT_EQ(file(u"C:\\M\\song.txt"), bytes_of("\r\n"));

  ASSERT_TRUE(write(u"C:\\M\\song.lrc", u"[00:01]@x"));  // the tag goes, then the '@' line
  EXPECT_FALSE(files.files.count(u"C:\\M\\song.txt"));
  EXPECT_EQ(file(u"C:\\M\\song.lrc"), bytes_of("[00:01]@x"));
}

TEST_F(LyricSave, AutoSaveKeepsTheTimedTextOfAnUpperCaseTxt) {
  // "song.TXT" and "song.txt" are one file on Windows: the timed copy must reach the ".lrc".
  settings.auto_save[0] = 1;
  ASSERT_TRUE(write(u"C:\\M\\song.TXT", u"[00:01]a"));
  EXPECT_EQ(file(u"C:\\M\\song.lrc"), bytes_of("[00:01]a"));
  EXPECT_EQ(file(u"C:\\M\\song.TXT"), bytes_of("a"));
  EXPECT_FALSE(files.files.count(u"C:\\M\\song.txt"));
}

TEST_F(LyricSave, AutoSaveNeedsAnExtensionOfTheFileName) {
  settings.auto_save[0] = 1;
  files.folders.insert(u"C:\\a.b");
  EXPECT_FALSE(write(u"C:\\a.b\\song", u"[00:01]a"));
  // The lyrics themselves were saved; nothing was written beside the folder.
  EXPECT_EQ(files.log, std::vector<std::u16string>{u"write C:\\a.b\\song"});
}

// Each file of the pair goes from its old bytes straight to its new ones, so a failed write
// leaves the old file, never an in-between copy; the timed text is never written nowhere.
TEST_F(LyricSave, AFailedWriteInThePairLeavesOldOrNewBytes) {
  settings.auto_save[0] = 1;
  struct Case {
    const char16_t* saved;
    const char16_t* failing;
    bool result;
    const char* lrc;  // afterwards
    const char* txt;
  };
  const Case cases[] = {
      {u"C:\\M\\s.lrc", u"", true, "[00:01]a", "a"},
      {u"C:\\M\\s.lrc", u"C:\\M\\s.txt", true, "[00:01]a", "old txt"},
      {u"C:\\M\\s.lrc", u"C:\\M\\s.lrc", false, "old lrc", "old txt"},
      {u"C:\\M\\s.txt", u"", true, "[00:01]a", "a"},
      {u"C:\\M\\s.txt", u"C:\\M\\s.txt", false, "[00:01]a", "old txt"},
      // No ".lrc" to hold the timetags: the ".txt" keeps them.
      {u"C:\\M\\s.txt", u"C:\\M\\s.lrc", true, "old lrc", "[00:01]a"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const Case& c = cases[i];
    files.files = {{u"C:\\M\\s.lrc", bytes_of("old lrc")}, {u"C:\\M\\s.txt", bytes_of("old txt")}};
    files.failing = {c.failing};
    files.log.clear();
    EXPECT_EQ(write(c.saved, u"[00:01]a"), c.result);
    EXPECT_EQ(file(u"C:\\M\\s.lrc"), bytes_of(c.lrc));
    EXPECT_EQ(file(u"C:\\M\\s.txt"), bytes_of(c.txt));
    EXPECT_LE(std::count(files.log.begin(), files.log.end(), u"write C:\\M\\s.txt"), 1);
  }
}

TEST_F(LyricSave, AutoSaveCleansTheAnsiFormCharacterByCharacter) {
  settings.auto_save[0] = 1;
  ASSERT_TRUE(write(u"C:\\M\\s.lrc", u"[00:01:00]ゼ\r\n[00:02:00]b"));
  EXPECT_EQ(file(u"C:\\M\\s.lrc"), bytes_of("[00:01:00]\x83\x5B\r\n[00:02:00]b"));
  EXPECT_EQ(file(u"C:\\M\\s.txt"), bytes_of("\x83\x5B\r\nb"));
}

TEST_F(LyricSave, MetaLinesAreScannedAsFarAsTheLineStoreReaches) {
  settings.auto_save[0] = 1;
  settings.song_bf_size = {2, 2};
  ASSERT_TRUE(write(u"C:\\M\\s.lrc", u"@abcdef\r\nx"));
  EXPECT_EQ(file(u"C:\\M\\s.txt"), bytes_of("def\r\nx"));
  settings.song_bf_size = {-1, 5};
  EXPECT_EQ(meta_line_scan_limit(settings), 0u);
}

TEST_F(LyricSave, NewFileFoldersAreCreatedOneLevelAtATime) {
  test::TestSong song;
  song.artist_safe = u"X";
  song.album_safe = u"";
  settings.new_file = {3, 2};
  create_new_file_folders(song.names(), context());
  EXPECT_EQ(files.log,
            (std::vector<std::u16string>{u"mkdir D:\\L\\X", u"mkdir D:\\L\\X\\不明なアルバム"}));
  files.log.clear();
  settings.new_file = {2, 0};
  song.artist_safe.clear();
  create_new_file_folders(song.names(), context());
  EXPECT_EQ(files.log, std::vector<std::u16string>{u"mkdir D:\\L\\不明なアーティスト"});
  files.log.clear();
  for (const int32_t choice : {0, 1, 4}) {
    settings.new_file = {choice, 0};
    create_new_file_folders(song.names(), context());
  }
  EXPECT_TRUE(files.log.empty());
}

TEST_F(LyricSave, EditorTextGoesToTheEditedSongsPath) {
  test::TestSong song;
  song.artist_safe = u"X";
  song.album_safe = u"Y";
  settings.new_file = {3, 1};
  EXPECT_FALSE(save_editor_lyrics(song.names(), u"text", context()));  // no path chosen

  song.lyrics_path = u"D:\\L\\X\\Y\\t.txt";
  ASSERT_TRUE(save_editor_lyrics(song.names(), u"line 1\r\nline 2\r\n", context()));
  EXPECT_EQ(file(u"D:\\L\\X\\Y\\t.txt"), bytes_of("line 1\r\nline 2\r\n"));

  // A text longer than the buffer is cut at its size.
  ASSERT_TRUE(
      save_editor_lyrics(song.names(), std::u16string(kLyricsBufferUnits + 10, u'a'), context()));
  EXPECT_EQ(file(u"D:\\L\\X\\Y\\t.txt").size(), kLyricsBufferUnits - 1);
}

}  // namespace
}  // namespace sabla
