#include "render_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace standin {
namespace {

PlaylistTrack track_named(const std::string& title) {
  PlaylistTrack t;
  t.title = title;
  t.artist = "Tsukimi Lanterns";
  return t;
}

int peak_to_peak(const uint8_t* samples) {
  const auto [low, high] = std::minmax_element(samples, samples + sabla::kRenderSamples);
  return *high - *low;
}

TEST(RenderSynth, TheSameTrackAndPositionGiveTheSameData) {
  const RenderTones tones = tones_for(track_named("Paper Lantern Road"));
  sabla::RenderData a, b;
  synthesise_render_data(tones, 12345, 2, 2, a);
  synthesise_render_data(tones, 12345, 2, 2, b);
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
  synthesise_render_data(tones, 12346, 2, 2, b);
  EXPECT_NE(std::memcmp(&a, &b, sizeof a), 0);
  for (const double f : tones.frequency) {
    EXPECT_GE(f, 110.0);
    EXPECT_LE(f, 880.0);
  }
  const RenderTones other = tones_for(track_named("Tide Tables"));
  EXPECT_FALSE(std::equal(std::begin(tones.frequency), std::end(tones.frequency),
                          std::begin(other.frequency)));
}

TEST(RenderSynth, WaveformIsCentredBoundedAndLouderOnTheBeat) {
  const RenderTones tones = tones_for(track_named("Paper Lantern Road"));
  sabla::RenderData on_beat, late;
  synthesise_render_data(tones, 10 * kBeatMs, 2, 2, on_beat);
  synthesise_render_data(tones, 10 * kBeatMs + kBeatMs - 20, 2, 2, late);
  for (const auto* data : {&on_beat, &late}) {
    for (const auto& channel : data->waveform) {
      for (const uint8_t s : channel) ASSERT_GE(s, 1);  // never -128 once centred
    }
  }
  // One window is too short for the lowest tone to average out; many windows are not.
  double sum = 0;
  constexpr int kWindows = 200;
  for (int w = 0; w < kWindows; ++w) {
    sabla::RenderData data;
    synthesise_render_data(tones, 1000 + 37 * w, 2, 2, data);
    for (const uint8_t s : data.waveform[1]) sum += s;
  }
  EXPECT_NEAR(sum / (kWindows * sabla::kRenderSamples), 128.0, 2.0);
  EXPECT_GT(peak_to_peak(on_beat.waveform[0]), 2 * peak_to_peak(late.waveform[0]));
  EXPECT_GT(peak_to_peak(on_beat.waveform[0]), 100);
  // The right channel lags the left, so they differ.
  EXPECT_NE(std::memcmp(on_beat.waveform[0], on_beat.waveform[1], sabla::kRenderSamples), 0);
}

TEST(RenderSynth, SpectrumPeaksAtTheLoudestTone) {
  const RenderTones tones = tones_for(track_named("Paper Lantern Road"));
  sabla::RenderData data;
  synthesise_render_data(tones, 0, 2, 2, data);
  const uint8_t* left = data.spectrum[0];
  const auto loudest = std::max_element(left, left + sabla::kRenderSamples) - left;
  EXPECT_LE(
      std::abs(static_cast<long>(loudest) - static_cast<long>(spectrum_bin(tones.frequency[0]))), 1)
      << "tones at bins " << spectrum_bin(tones.frequency[0]) << ", "
      << spectrum_bin(tones.frequency[1]) << ", " << spectrum_bin(tones.frequency[2]);
  EXPECT_LT(left[sabla::kRenderSamples - 1], 10);
  EXPECT_EQ(spectrum_bin(0.0), 0u);
  EXPECT_EQ(spectrum_bin(1e9), sabla::kRenderSamples - 1);
}

TEST(RenderSynth, OnlyTheRequestedChannelsCarryData) {
  const RenderTones tones = tones_for(track_named("x"));
  sabla::RenderData data;
  std::memset(&data, 0xCC, sizeof data);
  synthesise_render_data(tones, 777, 1, 0, data);
  EXPECT_EQ(data.waveform_channels, 1);
  EXPECT_EQ(data.spectrum_channels, 0);
  EXPECT_GT(peak_to_peak(data.waveform[0]), 0);
  EXPECT_TRUE(std::all_of(data.waveform[1], data.waveform[1] + sabla::kRenderSamples,
                          [](uint8_t b) { return b == 0; }));
  EXPECT_TRUE(std::all_of(&data.spectrum[0][0], &data.spectrum[0][0] + 2 * sabla::kRenderSamples,
                          [](uint8_t b) { return b == 0; }));
  // More channels than the record holds are two.
  synthesise_render_data(tones, 777, 9, 7, data);
  EXPECT_EQ(data.waveform_channels, 2);
  EXPECT_EQ(data.spectrum_channels, 2);
}

}  // namespace
}  // namespace standin
