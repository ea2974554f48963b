#include "state/host_messages.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "host/plugin_entry.h"

namespace sabla {
namespace {

using Bytes = std::array<uint8_t, kHostMessageSize>;

// What the host's callback saw, byte for byte.
struct Capture {
  int calls = 0;
  void* cookie = nullptr;
  uint32_t message = 0;
  Bytes bytes{};
  int32_t status = kStatusOk;
};

Capture* g_capture = nullptr;

int32_t capturing_callback(void* cookie, uint32_t message, HostMessage* record) {
  ++g_capture->calls;
  g_capture->cookie = cookie;
  g_capture->message = message;
  std::memcpy(g_capture->bytes.data(), record, kHostMessageSize);
  return g_capture->status;
}

class HostCallTest : public ::testing::Test {
 protected:
  void SetUp() override { g_capture = &capture; }
  void TearDown() override { g_capture = nullptr; }
  Capture capture;
  int cookie_target = 0;
  void* cookie = &cookie_target;
};

// An expected record image, written at explicit offsets rather than through the structs.
class Image {
 public:
  Image() { bytes_.fill(0); }
  void u8(size_t at, uint8_t v) { bytes_.at(at) = v; }
  void u16(size_t at, uint16_t v) { put(at, v, 2); }
  void u32(size_t at, uint32_t v) { put(at, v, 4); }
  void address(size_t at, const void* p) { put(at, reinterpret_cast<uintptr_t>(p), sizeof(void*)); }
  const Bytes& bytes() const { return bytes_; }

 private:
  void put(size_t at, uint64_t v, size_t width) {
    for (size_t i = 0; i < width; ++i) bytes_.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
  }
  Bytes bytes_;
};

// The address fields are one word on the 32-bit host; a 64-bit build widens them in place and
// everything behind moves along.
constexpr size_t kWiden = sizeof(void*) - 4;

int32_t some_handler(uint32_t, void*, void*) { return kStatusOk; }

TEST(FourCharCode, FirstCharacterIsMostSignificant) {
  EXPECT_EQ(kMessageInit, 0x696E6974u);
  EXPECT_EQ(kMessageClear, 0x636C7220u);
  EXPECT_EQ(kMessageRegisterVisual, 0x72766973u);
  EXPECT_EQ(kMessageOpenUrl, 0x75726C20u);
}

TEST_F(HostCallTest, RegistrationRecordMatchesTheHostLayoutByteForByte) {
  HostMessage record;
  std::memset(&record, 0xCD, sizeof record);  // nothing may survive from before
  fill_registration(record, &some_handler, 10);
  capture.status = 1234;
  EXPECT_EQ(send_to_host(cookie, &capturing_callback, kMessageRegisterVisual, kHostMessageMajor,
                         kRegisterVisualMinor, &record),
            1234);

  Image expected;
  expected.u32(0, 10);
  expected.u32(4, 7);
  expected.u32(8, 636);
  const size_t body = 12;
  expected.u8(body + 0, 5);
  for (size_t i = 0; i < 5; ++i) expected.u8(body + 1 + i, static_cast<uint8_t>("Sabla"[i]));
  expected.u32(body + 64, 0x28);
  expected.u32(body + 68, 0x3F3F3F3F);
  expected.u8(body + 72, 1);
  expected.u8(body + 73, 0);
  expected.u8(body + 74, 0x80);
  expected.u8(body + 75, 0);
  expected.address(body + 76, reinterpret_cast<const void*>(&some_handler));
  const size_t after = body + 84 + 2 * kWiden;  // behind the handler and the reference value
  expected.u32(after + 0, 10);
  expected.u32(after + 4, 2);
  expected.u32(after + 8, 2);
  expected.u16(after + 12, 64);
  expected.u16(after + 14, 64);
  expected.u16(after + 16, 0x7FFF);
  expected.u16(after + 18, 0x7FFF);

  ASSERT_EQ(capture.calls, 1);
  EXPECT_EQ(capture.cookie, cookie);
  EXPECT_EQ(capture.message, kMessageRegisterVisual);
  for (size_t i = 0; i < kHostMessageSize; ++i) {
    EXPECT_EQ(capture.bytes[i], expected.bytes()[i]) << "byte " << i;
  }
}

TEST_F(HostCallTest, SendWithoutRecordUsesZeroFilledRecordAndPassesStatusThrough) {
  capture.status = -31;
  EXPECT_EQ(send_to_host(cookie, &capturing_callback, 0x61626364u, 3, 4, nullptr), -31);
  Image expected;
  expected.u32(0, 3);
  expected.u32(4, 4);
  expected.u32(8, 636);
  EXPECT_EQ(capture.message, 0x61626364u);
  EXPECT_EQ(capture.bytes, expected.bytes());
}

TEST_F(HostCallTest, NoCallbackIsBadParameterNotACrash) {
  EXPECT_EQ(send_to_host(cookie, nullptr, kMessageRegisterVisual, 10, 7, nullptr),
            kStatusBadParameter);
  EXPECT_EQ(open_url_in_host(cookie, nullptr, "x", 1), kStatusBadParameter);
  EXPECT_EQ(capture.calls, 0);
}

TEST_F(HostCallTest, OpenUrlCarriesPointerAndByteLengthWithMinorNine) {
  static const char address[] = "http://example.org/\x83\x54";  // 8-bit text, not terminated
  capture.status = 7;
  EXPECT_EQ(open_url_in_host(cookie, &capturing_callback, address, 21), 7);

  Image expected;
  expected.u32(0, 10);
  expected.u32(4, 9);
  expected.u32(8, 636);
  expected.address(12, address);
  expected.u32(12 + sizeof(void*), 21);
  EXPECT_EQ(capture.cookie, cookie);
  EXPECT_EQ(capture.message, kMessageOpenUrl);
  EXPECT_EQ(capture.bytes, expected.bytes());
}

// The exported entry's dispatch, with the settings load faked.
class EntryTest : public HostCallTest {
 protected:
  EntryInitMessage init_for(HostCallback callback) {
    EntryInitMessage init;
    std::memset(&init, 0xEE, sizeof init);  // the header words are not read
    init.host_cookie = cookie;
    init.host_callback = callback;
    return init;
  }
  EntryHooks hooks_with_loop(int32_t loop) {
    return {[this, loop](PluginState& s) {
              ++loads;
              s.settings.loop = loop;
            },
            &some_handler};
  }
  PluginState state;
  int loads = 0;
};

TEST_F(EntryTest, InitLoadsSettingsFirstAndRegistersWithTheirLoop) {
  EntryInitMessage init = init_for(&capturing_callback);
  capture.status = -9;
  EXPECT_EQ(handle_entry_message(state, kMessageInit, &init, hooks_with_loop(33)), -9);
  EXPECT_EQ(loads, 1);
  ASSERT_EQ(capture.calls, 1);
  EXPECT_EQ(capture.message, kMessageRegisterVisual);
  uint32_t loop = 0;
  std::memcpy(&loop, &capture.bytes[12 + 84 + 2 * kWiden], 4);
  EXPECT_EQ(loop, 33u);
  void* handler = nullptr;
  std::memcpy(&handler, &capture.bytes[12 + 76], sizeof handler);
  EXPECT_EQ(handler, reinterpret_cast<void*>(&some_handler));
}

TEST_F(EntryTest, ClearAndUnknownMessagesTouchNothing) {
  state.settings.loop = 77;
  EntryInitMessage init = init_for(&capturing_callback);
  EXPECT_EQ(handle_entry_message(state, kMessageClear, &init, hooks_with_loop(5)), kStatusOk);
  EXPECT_EQ(handle_entry_message(state, kMessageClear, nullptr, hooks_with_loop(5)), kStatusOk);
  for (uint32_t code : {four_char_code("show"), four_char_code("null"), kMessageRegisterVisual, 0u,
                        0xFFFFFFFFu, kMessageInit + 1}) {
    EXPECT_EQ(handle_entry_message(state, code, &init, hooks_with_loop(5)), kStatusUnimplemented)
        << std::hex << code;
  }
  EXPECT_EQ(loads, 0);
  EXPECT_EQ(capture.calls, 0);
  EXPECT_EQ(state.settings.loop, 77);
}

TEST_F(EntryTest, InitWithoutRecordOrCallbackIsBadParameter) {
  EXPECT_EQ(handle_entry_message(state, kMessageInit, nullptr, hooks_with_loop(5)),
            kStatusBadParameter);
  EntryInitMessage init = init_for(nullptr);
  EXPECT_EQ(handle_entry_message(state, kMessageInit, &init, hooks_with_loop(5)),
            kStatusBadParameter);
  EXPECT_EQ(loads, 0);
}

TEST_F(EntryTest, InitRecordNeedNotBeAligned) {
  EntryInitMessage init = init_for(&capturing_callback);
  std::vector<uint8_t> storage(sizeof init + 1);
  std::memcpy(storage.data() + 1, &init, sizeof init);
  EXPECT_EQ(handle_entry_message(state, kMessageInit, storage.data() + 1, hooks_with_loop(12)),
            kStatusOk);
  EXPECT_EQ(capture.cookie, cookie);
}

TEST(GuardHostCall, ExceptionsBecomeStatuses) {
  EXPECT_EQ(guard_host_call([]() -> int32_t { throw std::bad_alloc(); }), kStatusOutOfMemory);
  EXPECT_EQ(guard_host_call([]() -> int32_t { throw 42; }), kStatusInternalError);
  EXPECT_EQ(guard_host_call([] { return int32_t{5}; }), 5);
}

TEST_F(EntryTest, FailingSettingsLoadNeverReachesTheHost) {
  EntryInitMessage init = init_for(&capturing_callback);
  EntryHooks hooks{[](PluginState&) { throw std::bad_alloc(); }, &some_handler};
  EXPECT_EQ(
      guard_host_call([&] { return handle_entry_message(state, kMessageInit, &init, hooks); }),
      kStatusOutOfMemory);
  EXPECT_EQ(capture.calls, 0);
}

}  // namespace
}  // namespace sabla
