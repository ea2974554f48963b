// The handler the built library registers, driven as the host drives it, with no player
// automation server in reach: every question to the player fails and nothing breaks.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "core/host/host_test_records.h"
#include "state/host_records.h"
#include "sabla_dll.h"
#include "test_window.h"

namespace sabla {
namespace {

using EntryFunction = int32_t(__cdecl*)(uint32_t message, void* record);

VisualHandler g_handler = nullptr;

int32_t keep_handler(void*, uint32_t message, HostMessage* record) {
  if (message == kMessageRegisterVisual) g_handler = record->body.registration.handler;
  return kStatusOk;
}

class SablaDllHandler : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll.get()) << "cannot load the built Sabla.dll";
    const auto entry = reinterpret_cast<EntryFunction>(
        reinterpret_cast<void*>(GetProcAddress(dll.get(), "iTunesPluginMain")));
    ASSERT_TRUE(entry);
    EntryInitMessage init{};
    init.host_callback = &keep_handler;
    g_handler = nullptr;
    ASSERT_EQ(entry(kMessageInit, &init), kStatusOk);
    ASSERT_TRUE(g_handler);
    handler = g_handler;
  }

  int32_t send(uint32_t message, void* record = nullptr) {
    return handler(message, record, instance);
  }

  test::SablaDll dll;
  VisualHandler handler = nullptr;
  void* instance = nullptr;
  test::TestWindow window;
};

TEST_F(SablaDllHandler, AWholeSessionWithoutAPlayer) {
  EXPECT_EQ(send(kMessageIdle), kStatusBadParameter);  // nothing before "init"

  VisualInitMessage init{};
  init.host_major_version = 7;
  ASSERT_EQ(send(kMessageInit, &init), kStatusOk);
  instance = init.instance;
  ASSERT_TRUE(instance);

  ShowMessage show{};
  show.window = window.visualizer();
  show.rect = {0, 0, 300, 400};
  ASSERT_EQ(send(kMessageShow, &show), kStatusOk);

  const TrackRecord track = test::make_track(u"Song", u"Artist", u"Album");
  PlayMessage play = test::play_message(&track);
  EXPECT_EQ(send(kMessagePlay, &play), kStatusOk);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(send(kMessageIdle), kStatusOk);
  RenderMessage render{nullptr, 9};
  EXPECT_EQ(send(kMessageRenderData, &render), kStatusOk);
  SetPositionMessage position{83000};
  EXPECT_EQ(send(kMessageSetPosition, &position), kStatusOk);
  EXPECT_EQ(send(kMessagePause), kStatusOk);
  EXPECT_EQ(send(kMessageUnpause), kStatusOk);
  ChangeTrackMessage change = test::change_track_message(&track);
  EXPECT_EQ(send(kMessageChangeTrack, &change), kStatusOk);
  EXPECT_EQ(send(kMessageStop), kStatusOk);
  EXPECT_EQ(send(kMessageVisualOff), kStatusOk);
  EXPECT_EQ(send(four_char_code("what")), kStatusUnimplemented);
  for (const uint32_t message : {kMessageInit, kMessageShow, kMessageSetWindow, kMessageRenderData,
                                 kMessagePlay, kMessageChangeTrack, kMessageSetPosition}) {
    EXPECT_EQ(send(message, nullptr), kStatusBadParameter) << std::hex << message;
  }
  EXPECT_EQ(send(kMessageSetWindow, &show), kStatusOk);
  EXPECT_EQ(send(kMessageHide), kStatusOk);
  EXPECT_EQ(send(kMessageIdle), kStatusOk);
  EXPECT_EQ(send(kMessageClear), kStatusOk);
  EXPECT_EQ(send(kMessageIdle), kStatusBadParameter);
}

}  // namespace
}  // namespace sabla
