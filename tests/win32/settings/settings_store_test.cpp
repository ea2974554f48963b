#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "settings/settings_format.h"
#include "temp_folder.h"

namespace sabla {
namespace {

using test::TempFolder;

SettingsLocation location_in(const TempFolder& temp) {
  return {temp / L"AppData\\Sabla\\Sabla.ini", temp / L"module\\Sabla.ini", temp / L"Documents"};
}

TEST(SettingsStore, FirstRunWritesCompleteDefaults) {
  TempFolder temp;
  CreateDirectoryW((temp / L"AppData").c_str(), nullptr);
  const SettingsLocation where = location_in(temp);
  PluginState state;
  load_settings(state, where);

  const std::vector<uint8_t> bytes = test::read_bytes(where.file);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  EXPECT_EQ(bytes, format_settings_file(state.settings));
  EXPECT_EQ(state.settings.loop, 10);
  EXPECT_EQ(state.settings.path[0],
            u"" + std::u16string(where.documents_folder.begin(), where.documents_folder.end()));
}

}  // namespace
}  // namespace sabla
