// Render data: the peak level of each channel and silence at pause and stop.
#include "state/render_levels.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/host/fake_handler_services.h"

namespace sabla {
namespace {

void fill_channel(RenderData& data, size_t channel, uint8_t value) {
  std::memset(data.waveform[channel], value, kRenderSamples);
}

TEST(RenderLevels, PeakIsTheLargestDistanceFrom128AndZeroBytesNeverCount) {
  RenderData data{};
  fill_channel(data, 0, 128);
  fill_channel(data, 1, 128);
  EXPECT_EQ(channel_level(data.waveform[0]), 0);

  data.waveform[0][7] = 255;  // +127
  data.waveform[1][300] = 0;  // -128: no positive magnitude in a signed byte
  EXPECT_EQ(channel_level(data.waveform[0]), 127);
  EXPECT_EQ(channel_level(data.waveform[1]), 0);

  data.waveform[1][301] = 1;  // -127
  data.waveform[1][302] = 200;
  EXPECT_EQ(channel_level(data.waveform[1]), 127);
  data.waveform[1][301] = 100;  // -28
  EXPECT_EQ(channel_level(data.waveform[1]), 72);
}

TEST(RenderLevels, RenderDataIsCopiedCentredAndClearedWithoutData) {
  RenderData data{};
  data.waveform_channels = 2;
  fill_channel(data, 0, 128);
  fill_channel(data, 1, 128);
  data.waveform[0][0] = 138;
  data.waveform[1][511] = 28;
  data.spectrum[1][5] = 9;

  RenderState render;
  take_render_data(render, &data, 4242);
  EXPECT_EQ(render.time_stamp, 4242u);
  EXPECT_EQ(std::memcmp(&render.data, &data, sizeof data), 0);
  EXPECT_EQ(render.centred[0][0], 10);
  EXPECT_EQ(render.centred[1][511], -100);
  EXPECT_EQ(render.centred[1][0], 0);
  EXPECT_EQ(render.levels[0], 10);
  EXPECT_EQ(render.levels[1], 100);

  take_render_data(render, nullptr, 4300);
  EXPECT_EQ(render.time_stamp, 4300u);
  EXPECT_EQ(render.data.spectrum[1][5], 0);
  EXPECT_EQ(render.centred[1][511], 0);
  EXPECT_EQ(render.levels[1], 0);
}

TEST(RenderLevels, PauseAndStopSilenceTheHandlersCopy) {
  PluginState state;
  test::FakeHandlerServices services;
  VisualInitMessage init{};
  ASSERT_EQ(test::send(state, services, kMessageInit, &init), kStatusOk);

  RenderData data{};
  fill_channel(data, 0, 250);
  fill_channel(data, 1, 60);
  RenderMessage render{&data, 77};
  ASSERT_EQ(test::send(state, services, kMessageRenderData, &render), kStatusOk);
  EXPECT_EQ(state.instance->render.levels[0], 122);
  EXPECT_EQ(state.instance->render.levels[1], 68);

  state.instance->playing = true;
  ASSERT_EQ(test::send(state, services, kMessagePause), kStatusOk);
  EXPECT_FALSE(state.instance->playing);
  EXPECT_EQ(state.instance->render.levels[0], 0);
  EXPECT_EQ(state.instance->render.centred[1][3], 0);

  ASSERT_EQ(test::send(state, services, kMessageRenderData, &render), kStatusOk);
  state.clock.playing_started = true;
  ASSERT_EQ(test::send(state, services, kMessageStop), kStatusOk);
  EXPECT_FALSE(state.clock.playing_started);
  EXPECT_EQ(state.instance->render.levels[1], 0);
  EXPECT_EQ(state.instance->render.data.waveform[1][0], 0);
}

}  // namespace
}  // namespace sabla
