#include "sources/safe_name.h"

#include <gtest/gtest.h>

#include "lyric_search_test_song.h"

namespace sabla {
namespace {

std::u16string safe(std::u16string name, int32_t mode) {
  make_file_safe(name, mode);
  return name;
}

TEST(SafeName, TitlesReplaceReservedCharactersAndALeadingSpace) {
  EXPECT_EQ(safe(u"AC/DC: Live?", kSafeTitle), u"AC_DC_ Live_");
  EXPECT_EQ(safe(u"\\/:*?\"<>|", kSafeTitle), u"_________");
  EXPECT_EQ(safe(u" intro ", kSafeTitle), u"_intro ");  // trailing spaces stay in titles
  EXPECT_EQ(safe(u"  ", kSafeTitle), u"_ ");
  EXPECT_EQ(safe(u"", kSafeTitle), u"");
  EXPECT_EQ(safe(u"歌詞？", kSafeTitle), u"歌詞？");  // full-width characters are allowed
}

TEST(SafeName, FolderNamesLoseTrailingSpacesButNeverVanish) {
  for (const int32_t mode : {kSafeAlbum, kSafeArtist}) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(safe(u" a<b>  ", mode), u"_a_b_");
    EXPECT_EQ(safe(u" ", mode), u"_");
    EXPECT_EQ(safe(u"   ", mode), u"_ _");
    EXPECT_EQ(safe(u"a b", mode), u"a b");
    EXPECT_EQ(safe(u"", mode), u"");
  }
}

TEST(SafeName, PathsKeepSeparatorAndDriveColon) {
  EXPECT_EQ(safe(u"C:\\Music\\a/b*?\"<>|.mp3", kSafePath), u"C:\\Music\\a_b______.mp3");
  EXPECT_EQ(safe(u" C:\\x", kSafePath), u" C:\\x");
}

TEST(SafeName, OtherModesChangeNothing) {
  EXPECT_EQ(safe(u" a/b ", 4), u" a/b ");
  EXPECT_EQ(safe(u" a/b ", -1), u" a/b ");
}

TEST(SafeName, SongRecordsGetTheirNamesInSafeForms) {
  const test::TestSong song =
      test::make_song(u"C:\\M\\what?.mp3", u"AC/DC: Live?", u"  ", u"Best|Of ");
  EXPECT_EQ(song.title_safe, u"AC_DC_ Live_");
  EXPECT_EQ(song.artist_safe, u"__");
  EXPECT_EQ(song.album_safe, u"Best_Of");
  EXPECT_EQ(song.file_path, u"C:\\M\\what_.mp3");
  EXPECT_EQ(file_name_of(song.file_path), u"what_.mp3");
  EXPECT_EQ(file_name_of(u"a.mp3"), u"a.mp3");
  EXPECT_EQ(file_name_of(u"C:\\M\\"), u"");
}

}  // namespace
}  // namespace sabla
