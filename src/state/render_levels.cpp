#include "state/render_levels.h"

namespace sabla {

uint8_t channel_level(const uint8_t (&waveform)[kRenderSamples]) {
  int level = 0;
  for (const uint8_t byte : waveform) {
    const int centred = static_cast<int>(byte) - 128;
    const int magnitude = centred >= 0 ? centred : -centred;
    if (magnitude <= 127 && magnitude > level) level = magnitude;
  }
  return static_cast<uint8_t>(level);
}

void clear_render_data(RenderState& render) {
  render.data = RenderData{};
  for (auto& channel : render.centred) channel.fill(0);
  render.levels.fill(0);
}

void take_render_data(RenderState& render, const RenderData* data, uint32_t time_stamp) {
  render.time_stamp = time_stamp;
  if (!data) {
    clear_render_data(render);
    return;
  }
  render.data = *data;
  for (size_t channel = 0; channel < kRenderChannels; ++channel) {
    const uint8_t(&waveform)[kRenderSamples] = render.data.waveform[channel];
    for (size_t i = 0; i < kRenderSamples; ++i) {
      render.centred[channel][i] = static_cast<int8_t>(static_cast<int>(waveform[i]) - 128);
    }
    render.levels[channel] = channel_level(waveform);
  }
}

}  // namespace sabla
