#include <gtest/gtest.h>

#include "settings/atomic_file_win32.h"
#include "temp_folder.h"

namespace sabla {
namespace {

using test::TempFolder;

enum class Step { kNone, kCreate, kWrite, kFlush, kClose, kMove };

// The real file system, except that one chosen step fails.
class FailingFileLayer final : public FileLayer {
 public:
  explicit FailingFileLayer(Step failing) : failing_(failing) {}

  UniqueFile create(const std::wstring& path) override {
    if (failing_ == Step::kCreate) return UniqueFile();
    return real().create(path);
  }
  bool write(HANDLE file, const uint8_t* data, DWORD size) override {
    if (failing_ == Step::kWrite) {
      // Part of the data reaches the file before the failure, as with a full disk.
      real().write(file, data, size / 2);
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

const std::vector<uint8_t> kOld = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
const std::vector<uint8_t> kNew = {0xFF, 0xFE, 'n', 0, 'e', 0, 'w', 0};

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

TEST(AtomicFile, AnyFailedStepLeavesTheOldFileAndNoTemporaryFile) {
  for (Step step : {Step::kCreate, Step::kWrite, Step::kFlush, Step::kClose, Step::kMove}) {
    SCOPED_TRACE(static_cast<int>(step));
    TempFolder temp;
    const std::wstring path = temp / L"Sabla.ini";
    ASSERT_TRUE(test::write_bytes(path, kOld));
    FailingFileLayer files(step);
    EXPECT_FALSE(write_file_atomically(path, kNew, files));
    EXPECT_EQ(test::read_bytes(path), kOld);
    EXPECT_EQ(TempFolder::list(temp.path()), std::vector<std::wstring>{L"Sabla.ini"});

    // Without an old file nothing is left at all.
    TempFolder empty;
    FailingFileLayer again(step);
    EXPECT_FALSE(write_file_atomically(empty / L"new.ini", kNew, again));
    EXPECT_TRUE(TempFolder::list(empty.path()).empty());
  }
}

TEST(AtomicFile, ReadOnlyTargetIsNotReplaced) {
  TempFolder temp;
  const std::wstring path = temp / L"Sabla.ini";
  ASSERT_TRUE(test::write_bytes(path, kOld));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(write_file_atomically(path, kNew));
  EXPECT_EQ(test::read_bytes(path), kOld);
  EXPECT_EQ(TempFolder::list(temp.path()), std::vector<std::wstring>{L"Sabla.ini"});
}

TEST(AtomicFile, MissingFolderFails) {
  TempFolder temp;
  EXPECT_FALSE(write_file_atomically(temp / L"no such folder\\Sabla.ini", kNew));
  EXPECT_TRUE(TempFolder::list(temp.path()).empty());
}

}  // namespace
}  // namespace sabla
