// Registration reads `loop` from the settings file as it is when "init" arrives.
#include <gtest/gtest.h>

#include <cstring>

#include "host/plugin_entry.h"
#include "settings/settings_store.h"
#include "win32/settings/temp_folder.h"

namespace sabla {
namespace {

uint32_t g_registered_loop = 0;
int g_registrations = 0;

// Registration only hands the handler's address over; it is never called here.
int32_t unused_handler(uint32_t, void*, void*) { return kStatusUnimplemented; }

int32_t loop_recorder(void*, uint32_t message, HostMessage* record) {
  if (message == kMessageRegisterVisual) {
    ++g_registrations;
    g_registered_loop = record->body.registration.time_between_data_ms;
  }
  return kStatusOk;
}

class RegistrationLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    g_registrations = 0;
    CreateDirectoryW((temp / L"AppData").c_str(), nullptr);
  }

  // Sends "init" as the host would, with the settings kept in the temporary folder.
  uint32_t registered_loop(PluginState& state) {
    const EntryHooks hooks{[this](PluginState& s) { load_settings(s, where); }, &unused_handler};
    EntryInitMessage init{};
    init.host_callback = &loop_recorder;
    EXPECT_EQ(handle_entry_message(state, kMessageInit, &init, hooks), kStatusOk);
    return g_registered_loop;
  }

  void write_loop(int32_t loop) {
    PluginState writer;
    load_settings(writer, where);
    writer.settings.loop = loop;
    ASSERT_TRUE(save_settings(writer));
  }

  test::TempFolder temp;
  SettingsLocation where{temp / L"AppData\\Sabla\\Sabla.ini", temp / L"module\\Sabla.ini",
                         temp / L"Documents"};
};

TEST_F(RegistrationLoop, TenWithoutASettingsFile) {
  PluginState state;
  state.settings.loop = 99;  // whatever was loaded before does not count
  EXPECT_EQ(registered_loop(state), 10u);
  EXPECT_EQ(g_registrations, 1);
}

TEST_F(RegistrationLoop, TakenFromTheFileAsItIsAtEachInit) {
  write_loop(25);
  PluginState state;
  EXPECT_EQ(registered_loop(state), 25u);
  write_loop(40);
  EXPECT_EQ(registered_loop(state), 40u);
  EXPECT_EQ(state.settings.loop, 40);
}

}  // namespace
}  // namespace sabla
