// The built library driven through its export, as the host drives it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "state/host_messages.h"
#include "sabla_dll.h"
#include "settings/settings_store.h"

namespace sabla {
namespace {

using EntryFunction = int32_t(__cdecl*)(uint32_t message, void* record);

struct Registration {
  int calls = 0;
  void* cookie = nullptr;
  uint32_t message = 0;
  HostMessage record{};
};

Registration* g_registration = nullptr;

int32_t recording_callback(void* cookie, uint32_t message, HostMessage* record) {
  ++g_registration->calls;
  g_registration->cookie = cookie;
  g_registration->message = message;
  std::memcpy(&g_registration->record, record, sizeof *record);
  return 321;
}

class SablaDllEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll.get()) << "cannot load the built Sabla.dll";
    entry = reinterpret_cast<EntryFunction>(
        reinterpret_cast<void*>(GetProcAddress(dll.get(), "iTunesPluginMain")));
    ASSERT_TRUE(entry);
    g_registration = &registration;
  }
  void TearDown() override { g_registration = nullptr; }

  EntryInitMessage init_message() {
    EntryInitMessage init{};
    init.host_cookie = &cookie_target;
    init.host_callback = &recording_callback;
    return init;
  }

  test::SablaDll dll;
  EntryFunction entry = nullptr;
  Registration registration;
  int cookie_target = 0;
};

TEST_F(SablaDllEntry, ClearSucceedsAndOtherMessagesAreUnimplemented) {
  EXPECT_EQ(entry(kMessageClear, nullptr), kStatusOk);
  EXPECT_EQ(entry(four_char_code("show"), nullptr), kStatusUnimplemented);
  EXPECT_EQ(entry(kMessageRegisterVisual, nullptr), kStatusUnimplemented);
  EXPECT_EQ(registration.calls, 0);
}

TEST_F(SablaDllEntry, InitWithoutRecordOrCallbackIsRefused) {
  EXPECT_EQ(entry(kMessageInit, nullptr), kStatusBadParameter);
  EntryInitMessage init = init_message();
  init.host_callback = nullptr;
  EXPECT_EQ(entry(kMessageInit, &init), kStatusBadParameter);
  EXPECT_EQ(registration.calls, 0);
}

// A host that hands over a record only as long as the words it names must not make the entry
// read past them: the record sits flush against an inaccessible page.
TEST_F(SablaDllEntry, InitReadsNothingBeyondTheCallbackWord) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const size_t page = system.dwPageSize;
  struct Release {
    void operator()(void* p) const { VirtualFree(p, 0, MEM_RELEASE); }
  };
  std::unique_ptr<void, Release> reserved(
      VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_TRUE(reserved);
  auto* pages = static_cast<uint8_t*>(reserved.get());
  DWORD old_protection = 0;
  ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old_protection));
  const EntryInitMessage init = init_message();
  uint8_t* record = pages + page - sizeof init;
  std::memcpy(record, &init, sizeof init);

  EXPECT_EQ(entry(kMessageInit, record), 321);
  EXPECT_EQ(registration.calls, 1);
}

TEST_F(SablaDllEntry, InitRegistersTheLibrarysOwnHandler) {
  EntryInitMessage init = init_message();
  EXPECT_EQ(entry(kMessageInit, &init), 321);  // the host's status, unchanged

  ASSERT_EQ(registration.calls, 1);
  EXPECT_EQ(registration.cookie, &cookie_target);
  EXPECT_EQ(registration.message, kMessageRegisterVisual);
  const HostMessage& record = registration.record;
  EXPECT_EQ(record.major_version, 10u);
  EXPECT_EQ(record.minor_version, 7u);
  EXPECT_EQ(record.size, 636u);
  EXPECT_EQ(std::memcmp(record.body.registration.name, "\x05Sabla", 6), 0);

  // The settings file the library read is the one this process reads at the same place.
  PluginState expected;
  load_settings(expected);
  EXPECT_EQ(record.body.registration.time_between_data_ms,
            static_cast<uint32_t>(expected.settings.loop));

  const auto base = reinterpret_cast<uintptr_t>(dll.get());
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto handler = reinterpret_cast<uintptr_t>(record.body.registration.handler);
  EXPECT_GE(handler, base);
  EXPECT_LT(handler, base + nt->OptionalHeader.SizeOfImage);

  // The registered handler is the library's own: it answers before it has an instance.
  VisualHandler visual = record.body.registration.handler;
  EXPECT_EQ(visual(kMessageInit, nullptr, nullptr), kStatusBadParameter);
  EXPECT_EQ(visual(four_char_code("null"), nullptr, nullptr), kStatusBadParameter);
  EXPECT_EQ(visual(four_char_code("what"), nullptr, nullptr), kStatusUnimplemented);
  EXPECT_EQ(visual(kMessageClear, nullptr, nullptr), kStatusOk);
}

}  // namespace
}  // namespace sabla
