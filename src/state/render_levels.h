#pragma once
#include <array>
#include <cstdint>

#include "state/host_records.h"

namespace sabla {

// The sound as the visualizer last heard it: the host's render data, its waveform centred on
// zero, and the peak level of each channel (0 to 127) that the level indicators show.
struct RenderState {
  RenderData data{};
  uint32_t time_stamp = 0;
  std::array<std::array<int8_t, kRenderSamples>, kRenderChannels> centred{};
  std::array<uint8_t, kRenderChannels> levels{};
};

// Takes the render data of a "vrnd" message; without data ("vrnd" with an empty pointer) the
// stored data, centred samples and levels are cleared.
void take_render_data(RenderState& render, const RenderData* data, uint32_t time_stamp);

// Silence: the data, centred samples and levels cleared (pause and stop).
void clear_render_data(RenderState& render);

// The peak of one channel: the largest |b - 128| over its waveform bytes. A byte of 0 (-128
// when centred) has no positive magnitude in a signed byte and never raises the level.
uint8_t channel_level(const uint8_t (&waveform)[kRenderSamples]);

}  // namespace sabla
