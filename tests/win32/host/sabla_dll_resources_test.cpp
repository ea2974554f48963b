// The resources compiled into the built library: the interface texts and the version.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "state/version.h"
#include "sabla_dll.h"
#include "ui/resources/resource.h"

namespace sabla {
namespace {

// Every text the interface defines, typed from the interface's own wording.
const std::map<int, std::u16string>& expected_texts() {
  static const std::map<int, std::u16string> texts = {
      {40000, u"歌詞：曲ファイル内"},
      {40001, u"歌詞：外部テキスト"},
      {40002, u"基本設定"},
      {40003, u"デザイン"},
      {40004, u"Sablaについて"},
      {40005, u"曲ファイルフォルダ"},
      {40006, u"外部テキストフォルダ"},
      {40007, u"外部テキストフォルダ\\アーティスト名"},
      {40008, u"曲ファイル名"},
      {40009, u"曲名"},
      {40010, u"アーティスト名 - 曲名"},
      {40011, u"直下に保存"},
      {40012, u"\\アーティスト名"},
      {40013, u"\\アルバム名"},
      {40014, u"\\アーティスト名\\アルバム名"},
      {40015, u"曲名"},
      {40016, u"アーティスト名"},
      {40017, u"アルバム名"},
      {40018, u"カウンター"},
      {40019, u"歌詞"},
      {40020, u"インジケータL"},
      {40021, u"インジケータR"},
      {40022, u"アートワーク"},
      {40028, u"不明なアルバム"},
      {40029, u"不明なアーティスト"},
      {40031, u"現在表示されている歌詞を破棄しますか？"},
      {40032,
       u"外部テキスト歌詞が空ではないようです。\r\n外部テキスト歌詞を曲ファイル内歌詞で上書きします"
       u"か？"},
      {40033,
       u"曲ファイル内歌詞も外部テキスト歌詞も空欄ですが、iPod用notesがあるようです。\r\nこの曲のiPo"
       u"d用notesを削除しますか？"},
      {40034,
       u"編集中の歌詞を破棄してリロードしますか？\r\n\r\n「いいえ」を選ぶと編集を継続出来ます。"},
      {40035,
       u"編集中の歌詞を破棄してリロードしますか？\r\n\r\n「いいえ」を選ぶと編集を継続出来ます。"},
      {40036, u"読み込みに失敗しました。"},
      {40038,
       u"iPod用 notes "
       u"保存に失敗しました。指定されたパスが見つかりません。\nオプションダイアログの基本設定タブに"
       u"ある「iPod用notes保存フォルダ」欄の設定を確認してください。"},
      {40039, u"lrc 保存に失敗しました。"},
      {40040, u"保存に失敗しました。\r\n%s\r\n\r\nパスが見つかりません。"},
      {40041, u"%sファイルには対応していません。"},
      {40042, u"曲ファイル%sの内部から歌詞が見つかりませんでした。"},
      {40043, u"検索URL（または外部プログラムパス）が不正です。設定を確認してください。"},
      {40045,
       u"外部テキスト歌詞ファイルが見つかりましたが中身が空か、読み取れないファイルです。\r\n\r\n%"
       u"s\r\n\r\nこのファイルを削除しますか？"},
      {40046, u"Sablaの新しいバージョンが公開されているようです。公開サイトを開きますか？"},
      {40048,
       u"歌詞を埋め込む事が出来ませんでした。\r\nこの曲は歌詞の埋め込みに対応していない様です。"},
      {40050, u"お使いのSablaは最新版です。\r\nもし不具合を発見した場合はお知らせください。"},
      {40051,
       u"ネット上から情報を正しく取得できませんでした。\r\nネットに接続されていないか、サーバーの不"
       u"調、もしくはURLが変更されました。"},
      {40052,
       u"内部テキスト歌詞が空ではないようです。\r\n内部テキスト歌詞を曲ファイル歌詞で上書きしますか"
       u"？"},
      {40053, u"外部テキストフォルダ\\アーティスト名\\アルバム名"},
      {40054, u"外部歌詞ファイル\n%s\nを削除しますか？"},
      {40055, u"削除に失敗しました。"},
      {40056, u"使用可能なファイル(*.txt *.lrc *.kra)"},
      {40057, u"テキストファイル(*.txt)"},
      {40058, u"Lyricsファイル(*.lrc)"},
      {40059, u"Karaokeファイル(*.kra)"},
      {40060, u"全てのファイル(*.*)"},
      {40061, u"行数大杉もうだめぽ"},
      {40062, u"タイムタグ挿入\r\n（Shift+Enter）"},
      {40063, u"タイムタグ挿入\r\n（Enter）"},
      {40066, u"[mm:ss:ms]"},
      {40067, u"[mm:ss]"},
      {40068,
       u"ベータ版・テスト版の更新、またはマイナーアップデートが行なわれたようです。公開サイトを開き"
       u"ますか？"},
  };
  return texts;
}

// The no-lyrics hint, assembled from its pieces around the maker's address.
std::u16string expected_hint() {
  const std::u16string site(kSiteUrl.begin(), kSiteUrl.end());
  const std::u16string indent = u"\u3000\u3000\u3000";
  return u"歌詞が見つかりません。\r\n\r\n右下の「OPTION」をクリックして歌詞を入力してください。\r\n"
         u"（フルスクリーン時はOPTIONが表示されません）\r\n\r\nまたは、歌詞テキストを [ %s.txt ] "
         u"として\r\n" +
         indent + u"%s\r\n" + indent +
         u"%s （外部テキストフォルダ）\r\nのいずれかのフォルダに置いてください。\r\n\r\n"
         u"設定が完了していれば、下のリンクボタンから検索を行う事が出来ます。\r\n\r\n"
         u"詳しくは ヘルプ または、Mivo blog ( " +
         site +
         u" ) をご覧ください。\r\n「 "
         u"歌詞が見つからない時などに注釈を表示 」のチェックをはずすとこの表示を隠す事が出来ます。";
}

// The text of `id` as stored, or nothing when the table has no entry.
std::u16string load_text(HMODULE module, int id, int* length_out = nullptr) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length_out) *length_out = length;
  if (length <= 0 || !text) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

class SablaDllResources : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dll.get()) << "cannot load the built Sabla.dll"; }
  test::SablaDll dll;
};

TEST_F(SablaDllResources, EveryInterfaceTextIsStoredExactly) {
  for (const auto& [id, text] : expected_texts()) {
    EXPECT_TRUE(load_text(dll.get(), id) == text) << "string " << id;
  }
  EXPECT_TRUE(load_text(dll.get(), 40044) == expected_hint()) << "string 40044";
}

TEST_F(SablaDllResources, IdsWithoutTextStayAbsent) {
  for (int id = SABLA_FIRST_STRING_ID - 1; id <= SABLA_LAST_STRING_ID + 1; ++id) {
    if (id == 40044 || expected_texts().count(id)) continue;
    int length = -1;
    load_text(dll.get(), id, &length);
    EXPECT_EQ(length, 0) << "string " << id << " should have no text";
  }
}

// The handler keeps each text in a 512-unit buffer, so a longer one would be cut on screen.
TEST_F(SablaDllResources, EveryTextFitsTheHandlersBuffer) {
  for (int id = SABLA_FIRST_STRING_ID; id <= SABLA_LAST_STRING_ID; ++id) {
    int length = 0;
    load_text(dll.get(), id, &length);
    EXPECT_LE(length, 511) << "string " << id;
  }
}

TEST_F(SablaDllResources, VersionResourceCarriesTheRegisteredVersion) {
  HRSRC found = FindResourceW(dll.get(), MAKEINTRESOURCEW(SABLA_VERSION_RESOURCE), RT_VERSION);
  ASSERT_TRUE(found);
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(dll.get(), found)));
  const DWORD size = SizeofResource(dll.get(), found);
  ASSERT_TRUE(data);

  // The fixed part follows the "VS_VERSION_INFO" key on a 4-byte boundary; find its signature.
  const VS_FIXEDFILEINFO* fixed = nullptr;
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    uint32_t word = 0;
    std::memcpy(&word, data + at, 4);
    if (word == 0xFEEF04BDu) {
      fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + at);
      break;
    }
  }
  ASSERT_TRUE(fixed);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), kVersionMajor);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), kVersionMinor);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), kVersionPatch);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), kVersionBuild);
  EXPECT_EQ(kRegistrationVersion[0], HIWORD(fixed->dwFileVersionMS));
  EXPECT_EQ(kRegistrationVersion[1], LOWORD(fixed->dwFileVersionMS));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

}  // namespace
}  // namespace sabla
