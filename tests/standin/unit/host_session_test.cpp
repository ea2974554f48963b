#include "host_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "registration_records.h"

namespace standin {
namespace {

constexpr uint32_t kInit = 0x696E6974;      // "init"
constexpr uint32_t kClear = 0x636C7220;     // "clr "
constexpr uint32_t kRegister = 0x72766973;  // "rvis"
constexpr uint32_t kUrl = 0x75726C20;       // "url "

// What a fake plug-in saw and does; the entries below are plain functions, as real ones are.
struct FakePlugin {
  uint32_t last_message = 0;
  void* cookie = nullptr;
  HostCallback callback = nullptr;
  std::vector<uint8_t> registration;
  std::vector<std::vector<uint8_t>> url_records;
  int32_t callback_status = 12345;
};
FakePlugin fake;

// Reads the cookie and callback where the host's "init" message keeps them: words 2 and 3, each
// pointer-wide.
void read_init_message(void* record) {
  std::memcpy(&fake.cookie, static_cast<uint8_t*>(record) + 8, sizeof(void*));
  std::memcpy(&fake.callback, static_cast<uint8_t*>(record) + 8 + sizeof(void*), sizeof(void*));
}

int32_t registering_entry(uint32_t message, void* record) {
  fake.last_message = message;
  if (message != kInit) return message == kClear ? 0 : -4;
  read_init_message(record);
  fake.callback_status = fake.callback(fake.cookie, kRegister, fake.registration.data());
  for (auto& url : fake.url_records) fake.callback(fake.cookie, kUrl, url.data());
  return fake.callback_status;
}

std::vector<uint8_t> url_record(const char* address, uint32_t length) {
  std::vector<uint8_t> r(636, 0);
  test::put32(r, 0, 10);
  test::put32(r, 4, 9);
  test::put32(r, 8, 636);
  const uint64_t pointer = reinterpret_cast<uintptr_t>(address);
  test::put_word(r, 12, pointer, sizeof(void*));
  test::put32(r, 12 + sizeof(void*), length);
  return r;
}

class HostSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakePlugin{};
    fake.registration = test::sabla_registration(kNativePointerWidth);
  }

  HostSession session{[this](std::string_view text) { printed += text; }};
  std::string printed;
};

TEST_F(HostSessionTest, InitHandsOverCookieAndCallbackAndTakesTheRegistration) {
  const int32_t status = session.send_init(&registering_entry);

  EXPECT_EQ(fake.last_message, kInit);
  EXPECT_EQ(fake.cookie, &session);
  EXPECT_EQ(fake.callback, &HostSession::host_callback);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(session.registrations().size(), 1u);
  EXPECT_TRUE(session.registrations()[0].valid());
  EXPECT_EQ(session.registrations()[0].fields.name, "Sabla");
  EXPECT_NE(printed.find("Registration is valid."), std::string::npos) << printed;
  EXPECT_NE(printed.find("plug-in 'init' returned 0"), std::string::npos) << printed;
}

TEST_F(HostSessionTest, FaultyRegistrationIsAnsweredWithParameterError) {
  test::put32(fake.registration, 4, 8);
  EXPECT_EQ(session.send_init(&registering_entry), -50);
  ASSERT_EQ(session.registrations().size(), 1u);
  EXPECT_FALSE(session.registrations()[0].valid());
  EXPECT_NE(printed.find("problem: the minor version is 8, expected 7"), std::string::npos)
      << printed;
}

TEST_F(HostSessionTest, OnlyTheDeclaredSizeOfARecordIsRead) {
  // The plug-in says it wrote 100 bytes and hands over exactly 100: nothing past them is read.
  auto block = std::make_unique<uint8_t[]>(100);
  std::memcpy(block.get(), fake.registration.data(), 100);
  std::memcpy(block.get() + 8, "\x64\0\0\0", 4);
  EXPECT_EQ(HostSession::host_callback(&session, kRegister, block.get()), -50);
  ASSERT_EQ(session.registrations().size(), 1u);
  EXPECT_EQ(session.registrations()[0].bytes_seen, 100u);
  EXPECT_EQ(readable_record_size(0), 12u);
  EXPECT_EQ(readable_record_size(5000), 636u);
}

TEST_F(HostSessionTest, UrlRequestsAreRecorded) {
  static const char kAddress[] = "https://example.invalid/search?q=Sabla&x=1";
  fake.url_records.push_back(url_record(kAddress, sizeof kAddress - 1));
  fake.url_records.push_back(url_record(nullptr, 0));
  session.send_init(&registering_entry);

  ASSERT_EQ(session.opened_urls().size(), 2u);
  EXPECT_EQ(session.opened_urls()[0], kAddress);
  EXPECT_EQ(session.opened_urls()[1], "");
  EXPECT_NE(printed.find("url request: \"https://example.invalid/search?q=Sabla&x=1\" (42 bytes"),
            std::string::npos)
      << printed;
}

TEST_F(HostSessionTest, BadUrlRequestsAreRefusedWithoutReading) {
  static const char kAddress[] = "https://example.invalid/";
  auto null_with_length = url_record(nullptr, 10);
  auto too_long = url_record(kAddress, kMaxUrlLength + 1);
  auto wrong_minor = url_record(kAddress, 5);
  test::put32(wrong_minor, 4, 7);

  EXPECT_EQ(HostSession::host_callback(&session, kUrl, null_with_length.data()), -50);
  EXPECT_EQ(HostSession::host_callback(&session, kUrl, too_long.data()), -50);
  EXPECT_EQ(HostSession::host_callback(&session, kUrl, wrong_minor.data()), -50);
  EXPECT_TRUE(session.opened_urls().empty());
  EXPECT_NE(printed.find("url request refused: the address pointer is null"), std::string::npos)
      << printed;
  EXPECT_NE(printed.find("url request refused: the length 8193 is over 8192"), std::string::npos)
      << printed;
  EXPECT_NE(printed.find("url request refused: header is version 10.7"), std::string::npos)
      << printed;
}

TEST_F(HostSessionTest, OtherCallsAndMissingRecordsAreRefused) {
  auto record = test::sabla_registration(kNativePointerWidth);
  EXPECT_EQ(HostSession::host_callback(&session, 0x646F6974, record.data()), -4);
  EXPECT_EQ(HostSession::host_callback(&session, kRegister, nullptr), -50);
  EXPECT_EQ(HostSession::host_callback(nullptr, kRegister, record.data()), -50);
  EXPECT_TRUE(session.registrations().empty());
  EXPECT_NE(printed.find("host call 'doit' is not handled"), std::string::npos) << printed;
}

TEST_F(HostSessionTest, ClearSendsTheCleanupCode) {
  EXPECT_EQ(session.send_clear(&registering_entry), 0);
  EXPECT_EQ(fake.last_message, kClear);
  EXPECT_NE(printed.find("plug-in 'clr ' returned 0"), std::string::npos) << printed;
}

TEST(FourCharCode, FirstCharacterIsTheMostSignificantByte) {
  EXPECT_EQ(four_char_code("init"), 0x696E6974u);
  EXPECT_EQ(four_char_text(0x72766973), "'rvis'");
  EXPECT_EQ(four_char_text(0x00000001), "0x00000001");
  EXPECT_EQ(four_char_text(0x27414243), "0x27414243");
}

}  // namespace
}  // namespace standin
