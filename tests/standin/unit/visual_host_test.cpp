// The visual messages as a handler receives them, read at the byte offsets of the host's layout
// for this build's pointer width.
#include "visual_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace standin {
namespace {

constexpr size_t kPointer = sizeof(void*);

struct Received {
  uint32_t code;
  std::vector<uint8_t> record;  // the first 64 bytes of the message record
  void* instance;
};

struct Recorder {
  std::vector<Received> messages;
  int32_t status = 0;
  void* instance_to_give = nullptr;
  VisualHost* host = nullptr;  // for a handler that calls back in
  std::optional<int32_t> reentry_result;
};
Recorder recorder;

uint32_t code_of(const char (&text)[5]) {
  return static_cast<uint32_t>(text[0]) << 24 | static_cast<uint32_t>(text[1]) << 16 |
         static_cast<uint32_t>(text[2]) << 8 | static_cast<uint32_t>(text[3]);
}

int32_t recording_handler(uint32_t code, void* record, void* instance) {
  Received r{code, std::vector<uint8_t>(64), instance};
  std::memcpy(r.record.data(), record, std::min<size_t>(64, sizeof(sabla::VisualMessage)));
  recorder.messages.push_back(std::move(r));
  if (code == code_of("init")) {
    std::memcpy(static_cast<uint8_t*>(record) + 24 + (kPointer - 4) * 2, &recorder.instance_to_give,
                kPointer);
  }
  if (code == code_of("vpau") && recorder.host) recorder.reentry_result = recorder.host->idle();
  return recorder.status;
}

template <typename T>
T read_at(const Received& r, size_t offset) {
  T value;
  std::memcpy(&value, r.record.data() + offset, sizeof value);
  return value;
}

class VisualHostTest : public ::testing::Test {
 protected:
  void SetUp() override { recorder = Recorder{}; }
  VisualHost host{&recording_handler, [this](std::string_view t) { log += t; }};
  std::string log;
  int cookie = 0;
};

int32_t fake_callback(void*, uint32_t, sabla::HostMessage*) { return 0; }

TEST_F(VisualHostTest, InitCarriesVersionCookieAndCallbackAndKeepsTheInstance) {
  int instance_record = 0;
  recorder.instance_to_give = &instance_record;
  EXPECT_EQ(host.init(7, &cookie, &fake_callback), 0);
  ASSERT_EQ(recorder.messages.size(), 1u);
  const Received& init = recorder.messages[0];
  EXPECT_EQ(init.code, 0x696E6974u);
  EXPECT_EQ(init.instance, nullptr);
  EXPECT_EQ(init.record[11], 7);
  EXPECT_EQ(read_at<void*>(init, 12), &cookie);
  EXPECT_EQ(read_at<sabla::HostCallback>(init, 12 + kPointer), &fake_callback);
  EXPECT_EQ(host.instance(), &instance_record);
  EXPECT_TRUE(host.initialised());

  host.pause();
  EXPECT_EQ(recorder.messages.back().instance, &instance_record);
  EXPECT_FALSE(host.init(7, &cookie, &fake_callback).has_value());
}

TEST_F(VisualHostTest, AFailedInitLeavesThePlugInUninitialised) {
  recorder.status = -108;
  EXPECT_EQ(host.init(5, &cookie, &fake_callback), -108);
  EXPECT_FALSE(host.initialised());
  EXPECT_FALSE(host.pause().has_value());
  EXPECT_NE(log.find("visual 'vpau' not sent: no 'init' yet"), std::string::npos) << log;
}

TEST_F(VisualHostTest, RecordsAtTheHostsOffsets) {
  host.init(7, &cookie, &fake_callback);
  int window = 0;
  EXPECT_EQ(host.show(&window, {0, 0, 444, 640}), 0);
  const Received& show = recorder.messages.back();
  EXPECT_EQ(read_at<void*>(show, 0), &window);
  EXPECT_EQ(read_at<int16_t>(show, kPointer + 0), 0);
  EXPECT_EQ(read_at<int16_t>(show, kPointer + 4), 444);
  EXPECT_EQ(read_at<int16_t>(show, kPointer + 6), 640);
  EXPECT_EQ(read_at<uint32_t>(show, kPointer + 8), 0u);

  sabla::TrackRecord track{};
  sabla::StreamRecord stream{};
  host.play(&track, &stream);
  const Received& play = recorder.messages.back();
  EXPECT_EQ(read_at<uint32_t>(play, 0), 1u);
  EXPECT_EQ(read_at<uint32_t>(play, 4), 1u);
  EXPECT_EQ(read_at<const void*>(play, 44), &track);
  EXPECT_EQ(read_at<const void*>(play, 44 + kPointer), &stream);

  host.change_track(&track, nullptr);
  const Received& change = recorder.messages.back();
  EXPECT_EQ(read_at<uint32_t>(change, 0), 1u);
  EXPECT_EQ(read_at<uint32_t>(change, 4), 0u);
  EXPECT_EQ(read_at<const void*>(change, 8), &track);
  EXPECT_EQ(read_at<const void*>(change, 8 + kPointer), nullptr);

  host.set_position(83000);
  EXPECT_EQ(read_at<uint32_t>(recorder.messages.back(), 0), 83000u);

  sabla::RenderData data{};
  host.render(&data, 4242);
  EXPECT_EQ(read_at<const void*>(recorder.messages.back(), 0), &data);
  EXPECT_EQ(read_at<uint32_t>(recorder.messages.back(), kPointer), 4242u);

  host.set_window(&window, {0, 0, 300, 400});
  EXPECT_EQ(recorder.messages.back().code, 0x7377696Eu);  // "swin"
  EXPECT_EQ(read_at<int16_t>(recorder.messages.back(), kPointer + 6), 400);
}

TEST_F(VisualHostTest, MessagesKeepTheLifecycleOrder) {
  int window = 0;
  EXPECT_FALSE(host.show(&window, {}).has_value());  // before init
  host.init(7, &cookie, &fake_callback);
  EXPECT_FALSE(host.idle().has_value());  // not shown
  EXPECT_FALSE(host.hide().has_value());
  EXPECT_FALSE(host.update().has_value());
  EXPECT_TRUE(host.pause().has_value());  // playback messages need no window
  EXPECT_TRUE(host.configure().has_value());
  host.show(&window, {});
  EXPECT_FALSE(host.show(&window, {}).has_value());
  EXPECT_TRUE(host.idle().has_value());
  EXPECT_TRUE(host.hide().has_value());
  EXPECT_FALSE(host.shown());
  EXPECT_TRUE(host.clear().has_value());
  EXPECT_FALSE(host.clear().has_value());
  EXPECT_FALSE(host.initialised());
  std::vector<uint32_t> codes;
  for (const Received& r : recorder.messages) codes.push_back(r.code);
  EXPECT_EQ(codes, (std::vector<uint32_t>{code_of("init"), code_of("vpau"), code_of("cnfg"),
                                          code_of("show"), code_of("null"), code_of("hide"),
                                          code_of("clr ")}));
}

TEST_F(VisualHostTest, NoMessageWhileTheHandlerIsBusy) {
  recorder.host = &host;
  host.init(7, &cookie, &fake_callback);
  int window = 0;
  host.show(&window, {});
  host.pause();
  EXPECT_EQ(recorder.reentry_result, std::nullopt);
  EXPECT_EQ(recorder.messages.back().code, code_of("vpau"));
  EXPECT_FALSE(host.in_call());
  EXPECT_NE(log.find("'null' not sent: the handler is still busy"), std::string::npos) << log;
}

TEST_F(VisualHostTest, IdleMessagesAreCountedNotListed) {
  host.init(7, &cookie, &fake_callback);
  int window = 0;
  host.show(&window, {});
  sabla::RenderData data{};
  for (int i = 0; i < 5; ++i) {
    host.render(&data, 0);
    host.idle();
  }
  host.pause();
  EXPECT_EQ(host.idle_count(), 5u);
  EXPECT_EQ(host.render_count(), 5u);
  EXPECT_NE(log.find("visual 'null' x5, 'vrnd' x5\nvisual 'vpau' -> 0\n"), std::string::npos)
      << log;
  host.set_report_every_idle(true);
  host.idle();
  EXPECT_NE(log.find("visual 'null' -> 0\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace standin
