#include "render_synth.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace standin {

namespace {

constexpr double kAmplitude[3] = {0.5, 0.3, 0.2};
constexpr double kBinWidth = kRenderSampleRate / 2.0 / sabla::kRenderSamples;

uint32_t fnv1a(std::string_view text, uint32_t hash = 2166136261u) {
  for (const char c : text) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
  return hash;
}

// Loud at the start of each beat, fading towards the next.
double beat_envelope(uint32_t position_ms) {
  const double into_beat = static_cast<double>(position_ms % kBeatMs) / kBeatMs;
  return 0.35 + 0.65 * (1.0 - into_beat) * (1.0 - into_beat);
}

}  // namespace

RenderTones tones_for(const PlaylistTrack& track) {
  const uint32_t seed = fnv1a(track.artist, fnv1a(track.title));
  RenderTones tones{};
  for (int k = 0; k < 3; ++k) {
    const uint32_t semitone = (seed >> (8 * k)) % 37;  // three octaves from A2
    tones.frequency[k] = 110.0 * std::pow(2.0, semitone / 12.0);
  }
  return tones;
}

uint32_t spectrum_bin(double frequency) {
  const auto bin = static_cast<int64_t>(std::lround(frequency / kBinWidth));
  return static_cast<uint32_t>(std::clamp<int64_t>(bin, 0, sabla::kRenderSamples - 1));
}

void synthesise_render_data(const RenderTones& tones, uint32_t position_ms,
                            uint32_t waveform_channels, uint32_t spectrum_channels,
                            sabla::RenderData& out) {
  std::memset(&out, 0, sizeof out);
  out.waveform_channels = static_cast<uint8_t>(std::min<size_t>(waveform_channels, 2));
  out.spectrum_channels = static_cast<uint8_t>(std::min<size_t>(spectrum_channels, 2));
  const double envelope = beat_envelope(position_ms);
  const double start_s = position_ms / 1000.0;
  constexpr double kTwoPi = 2.0 * std::numbers::pi;

  for (size_t channel = 0; channel < out.waveform_channels; ++channel) {
    const double lag = channel * std::numbers::pi / 2.0;
    for (size_t i = 0; i < sabla::kRenderSamples; ++i) {
      const double t = start_s + static_cast<double>(i) / kRenderSampleRate;
      double wave = 0.0;
      for (int k = 0; k < 3; ++k)
        wave += kAmplitude[k] * std::sin(kTwoPi * tones.frequency[k] * t - lag);
      const long sample = 128 + std::lround(wave * envelope * 120.0);
      out.waveform[channel][i] = static_cast<uint8_t>(std::clamp<long>(sample, 1, 255));
    }
  }
  for (size_t channel = 0; channel < out.spectrum_channels; ++channel) {
    const double balance = channel == 0 ? 1.0 : 0.85;
    for (size_t bin = 0; bin < sabla::kRenderSamples; ++bin) {
      double magnitude = 0.0;
      for (int k = 0; k < 3; ++k) {
        const double distance = static_cast<double>(bin) - tones.frequency[k] / kBinWidth;
        magnitude += kAmplitude[k] / (1.0 + distance * distance / 4.0);
      }
      const long value = std::lround(magnitude * envelope * balance * 255.0);
      out.spectrum[channel][bin] = static_cast<uint8_t>(std::clamp<long>(value, 0, 255));
    }
  }
}

}  // namespace standin
