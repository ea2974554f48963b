#pragma once
// Render data for the visualizer, made up from the track instead of decoded from sound: three
// tones chosen by the track, louder on each beat, the right channel a quarter cycle behind the
// left, and the spectrum that belongs to them.
#include <cstdint>

#include "state/host_records.h"
#include "playlist.h"

namespace standin {

inline constexpr uint32_t kRenderSampleRate = 44100;
inline constexpr uint32_t kBeatMs = 500;

// The tones of a track: the same track always sounds the same.
struct RenderTones {
  double frequency[3];  // Hz, from 110 to 880
};

RenderTones tones_for(const PlaylistTrack& track);

// The 512 samples from `position_ms` on, and their spectrum. Only the requested channels (at
// most two each) carry data; the counts say how many do and every other byte is zero. Waveform
// samples stay within 1 to 255, so none reads as -128 once centred.
void synthesise_render_data(const RenderTones& tones, uint32_t position_ms,
                            uint32_t waveform_channels, uint32_t spectrum_channels,
                            sabla::RenderData& out);

// The spectrum bin (of 512 covering 0 Hz to half the sample rate) a frequency falls in.
uint32_t spectrum_bin(double frequency);

}  // namespace standin
