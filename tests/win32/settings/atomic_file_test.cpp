#include "settings/atomic_file_win32.h"

#include <gtest/gtest.h>

#include "faulty_file_layer.h"
#include "settings/settings.h"
#include "settings/settings_format.h"
#include "temp_folder.h"

namespace sabla {
namespace {

using test::Fault;
using test::FaultyFileLayer;
using test::TempFolder;

const std::vector<uint8_t> kOld = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
const std::vector<uint8_t> kNew = {0xFF, 0xFE, 'n', 0, 'e', 0, 'w', 0};

constexpr DWORD kKeptBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
DWORD kept_attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()) & kKeptBits; }

std::wstring name_of(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

TEST(AtomicFile, WritesNewAndReplacesExistingFiles) {
  TempFolder temp;
  const std::wstring path = temp / L"Sabla.ini";
  ASSERT_TRUE(write_file_atomically(path, kNew));
  EXPECT_EQ(test::read_bytes(path), kNew);

  ASSERT_TRUE(test::write_bytes(path, kOld));
  ASSERT_TRUE(write_file_atomically(path, kNew));
  EXPECT_EQ(test::read_bytes(path), kNew);
  EXPECT_EQ(TempFolder::list(temp.path()), std::vector<std::wstring>{L"Sabla.ini"});

  const std::vector<uint8_t> empty;
  ASSERT_TRUE(write_file_atomically(path, empty));
  EXPECT_TRUE(test::read_bytes(path).empty());
}

TEST(AtomicFile, TemporaryNameIsShortFixedPerFileAndBesideIt) {
  const std::wstring a = temporary_path_for(L"C:\\Lyrics\\a rather long song title.lrc");
  EXPECT_EQ(a, temporary_path_for(L"C:\\Lyrics\\A RATHER long song title.LRC"));
  EXPECT_NE(a, temporary_path_for(L"C:\\Lyrics\\a rather long song title.txt"));
  EXPECT_TRUE(a.starts_with(L"C:\\Lyrics\\~sabla"));
  EXPECT_TRUE(a.ends_with(L".tmp"));
  EXPECT_EQ(name_of(a).size(), 18u);
  EXPECT_EQ(long_path_form(L"\\\\server\\share\\" + std::wstring(300, L'x')),
            L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'x'));
  EXPECT_EQ(long_path_form(L"C:\\a/b\\..\\" + std::wstring(300, L'x')),
            L"\\\\?\\C:\\a\\" + std::wstring(300, L'x'));
}

// Every path a save hands to the file system fits the plain form or is in the long form, for
// targets up to the longest path a lyric buffer holds, however short their name.
TEST(AtomicFile, PathsNearTheLimitStayWithinIt) {
  TempFolder temp;
  std::wstring deep = temp.path();
  while (deep.size() < 190) {
    deep += L"\\dddddddddd";
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
  }
  for (size_t length = 253; length <= MAX_PATH - 1; ++length) {
    for (const size_t name_length : {5u, 12u, 30u}) {
      const size_t folder_length = length - name_length - 1;
      SCOPED_TRACE(testing::Message() << length << " units, name of " << name_length);
      std::wstring folder = deep + L"\\" + std::wstring(folder_length - deep.size() - 1, L'f');
      const std::wstring long_folder = L"\\\\?\\" + folder;
      ASSERT_TRUE(CreateDirectoryW(long_folder.c_str(), nullptr));
      const std::wstring path = folder + L"\\" + std::wstring(name_length - 4, L'n') + L".lrc";
      ASSERT_EQ(path.size(), length);

      FaultyFileLayer files;
      ASSERT_TRUE(write_file_atomically(path, kNew, files));
      ASSERT_TRUE(write_file_atomically(path, kOld, files));
      EXPECT_EQ(test::read_bytes(path), kOld);
      for (const std::wstring& used : files.paths) {
        EXPECT_TRUE(used.size() < MAX_PATH || used.starts_with(L"\\\\?\\")) << used.size();
      }
      EXPECT_EQ(TempFolder::list(long_folder), std::vector<std::wstring>{name_of(path)});
      DeleteFileW((L"\\\\?\\" + path).c_str());
      RemoveDirectoryW(long_folder.c_str());
    }
  }
}

// The whole matrix on a hidden target (the temporary left by a crashed save beside it, or no
// old file at all): whatever fails, the file holds the old or the new bytes, keeps its
// attributes, and no temporary file is left. The settings file and a lyric file alike.
TEST(AtomicFile, AnyFailureLeavesTheOldOrTheNewFileAndNoTemporary) {
  Settings settings;
  const std::vector<uint8_t> settings_new = format_settings_file(settings);
  settings.loop = 55;
  const std::vector<uint8_t> settings_old = format_settings_file(settings);
  struct Target {
    const wchar_t* name;
    std::vector<uint8_t> old_bytes, new_bytes;
  };
  const Target targets[] = {{L"Sabla.ini", settings_old, settings_new},
                            {L"song.lrc", kOld, kNew}};
  enum class Start { kHiddenOldFile, kStrayTemporary, kNoFile };
  size_t checked = 0;
  for (const Target& target : targets) {
    for (const Start start : {Start::kHiddenOldFile, Start::kStrayTemporary, Start::kNoFile}) {
      TempFolder temp;
      const std::wstring path = temp / target.name;
      auto prepare = [&] {
        DeleteFileW(path.c_str());
        if (start == Start::kNoFile) return;
        ASSERT_TRUE(test::write_bytes(path, target.old_bytes));
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
        if (start == Start::kStrayTemporary) {
          ASSERT_TRUE(test::write_bytes(temporary_path_for(path), {'h', 'a', 'l', 'f'}));
        }
      };
      prepare();
      const auto faults = test::fault_matrix(
          [&](FileLayer& files) { write_file_atomically(path, target.new_bytes, files); });
      for (const Fault& fault : faults) {
        SCOPED_TRACE(testing::Message() << name_of(path) << ", start " << static_cast<int>(start)
                                        << ", " << fault.name);
        prepare();
        FaultyFileLayer files = test::layer_for(fault);
        const bool saved = write_file_atomically(path, target.new_bytes, files);
        if (saved) {
          EXPECT_EQ(test::read_bytes(path), target.new_bytes);
        } else if (start == Start::kNoFile) {
          EXPECT_FALSE(test::exists(path));
        } else {
          EXPECT_EQ(test::read_bytes(path), target.old_bytes);
        }
        if (test::exists(path) && start != Start::kNoFile) {
          EXPECT_EQ(kept_attributes(path), FILE_ATTRIBUTE_HIDDEN);
        }
        // A failure of the clean-up of a stray temporary is the only one a save may survive.
        const bool harmless = fault.at && files.ops[*fault.at] == test::Op::kRemove;
        EXPECT_EQ(saved, files.failures == 0 || harmless);
        const auto names = TempFolder::list(temp.path());
        EXPECT_LE(names.size(), 1u);
        for (const auto& name : names) EXPECT_EQ(name, target.name);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 60u);
}

// When even the clean-up fails the temporary stays behind, and the next save of the same file
// removes it.
TEST(AtomicFile, TemporaryLeftByAFailedCleanUpGoesAtTheNextSave) {
  TempFolder temp;
  const std::wstring path = temp / L"song.lrc";
  ASSERT_TRUE(test::write_bytes(path, kOld));
  FaultyFileLayer files;
  files.fail_at = 5;  // remove, attributes, create, write, flush, close, copy attributes, rename
  files.fail_kind = test::Op::kRemove;
  EXPECT_FALSE(write_file_atomically(path, kNew, files));
  ASSERT_EQ(files.ops[5], test::Op::kClose);
  EXPECT_TRUE(test::exists(temporary_path_for(path)));
  EXPECT_EQ(test::read_bytes(path), kOld);

  ASSERT_TRUE(write_file_atomically(path, kNew));
  EXPECT_EQ(test::read_bytes(path), kNew);
  EXPECT_EQ(TempFolder::list(temp.path()), std::vector<std::wstring>{L"song.lrc"});
}

// The same conditions for real, as far as Wine can make them.
TEST(AtomicFile, RealConditions) {
  struct Case {
    const char* name;
    DWORD target_attributes;  // 0: no old file
    DWORD folder_attributes;
    bool missing_folder;
    bool held_open;  // by another program, without delete sharing
    bool saved;
  };
  const Case cases[] = {
      {"plain file", FILE_ATTRIBUTE_NORMAL, 0, false, false, true},
      {"hidden system file", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 0, false, false, true},
      // A read-only file is the user's word that it must not change.
      {"read-only file", FILE_ATTRIBUTE_READONLY, 0, false, false, false},
      {"hidden read-only file", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, 0, false, false,
       false},
      // On a folder the read-only attribute only marks a customised folder; files in it change.
      {"read-only folder", FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY, false, false, true},
      {"missing folder", 0, 0, true, false, false},
      {"held open", FILE_ATTRIBUTE_NORMAL, 0, false, true, false},
      {"hidden and held open", FILE_ATTRIBUTE_HIDDEN, 0, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const std::wstring folder = temp / L"f";
    if (!c.missing_folder) {
      ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    const std::wstring path = folder + L"\\Sabla.ini";
    if (c.target_attributes) {
      ASSERT_TRUE(test::write_bytes(path, kOld));
      ASSERT_TRUE(SetFileAttributesW(path.c_str(), c.target_attributes));
    }
    if (c.folder_attributes) {
      ASSERT_TRUE(SetFileAttributesW(folder.c_str(), c.folder_attributes));
    }
    UniqueFile holder;
    if (c.held_open) {
      holder = UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(holder);
    }
    EXPECT_EQ(write_file_atomically(path, kNew), c.saved);
    holder.reset();
    if (c.missing_folder) {
      EXPECT_TRUE(TempFolder::list(temp.path()).empty());
      continue;
    }
    EXPECT_EQ(test::read_bytes(path), c.saved ? kNew : kOld);
    EXPECT_EQ(kept_attributes(path), c.target_attributes & kKeptBits);
    EXPECT_EQ(TempFolder::list(folder), std::vector<std::wstring>{L"Sabla.ini"});
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
}  // namespace sabla
