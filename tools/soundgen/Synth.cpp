// Synth.cpp — the small synthesiser our sounds and music are made with: buffers, voices, filters.
#include "Synth.h"

#include <algorithm>

namespace quarn::soundgen {

double Envelope::Level(double t, double hold) const {
  if (t < 0) return 0;
  auto held = [&](double at) {
    if (at < Attack) return at / Attack;
    if (at < Attack + Decay) return 1 - (1 - Sustain) * (at - Attack) / Decay;
    return Sustain;
  };
  if (t < hold) return held(t);
  if (t >= hold + Release) return 0;
  // Exponential-looking release that still reaches zero at its end.
  double left = 1 - (t - hold) / Release;
  return held(hold) * left * left;
}

double BandPass::Run(double x, double centreHz, double q, int rate) {
  double f = 2 * std::sin(std::numbers::pi * std::min(centreHz, rate / 6.0) / rate);
  double high = x - low_ - band_ / q;
  band_ += f * high;
  low_ += f * band_;
  return band_;
}

double Harmonics(double phase, double hz, int rate, int count, double (*weight)(int)) {
  double sum = 0;
  for (int h = 1; h <= count && hz * h < rate / 2.0; ++h) sum += weight(h) * std::sin(phase * h);
  return sum;
}

double Peak(const Stereo& take) {
  double peak = 0;
  for (size_t i = 0; i < take.Frames(); ++i) {
    peak = std::max(
        {peak, std::abs(static_cast<double>(take.L[i])), std::abs(static_cast<double>(take.R[i]))});
  }
  return peak;
}

double Rms(const Stereo& take) {
  double sum = 0;
  for (size_t i = 0; i < take.Frames(); ++i) {
    sum += static_cast<double>(take.L[i]) * take.L[i] + static_cast<double>(take.R[i]) * take.R[i];
  }
  return take.Frames() ? std::sqrt(sum / (2.0 * static_cast<double>(take.Frames()))) : 0;
}

void Normalise(Stereo& take, double peak) {
  double now = Peak(take);
  if (now <= 0) return;
  auto scale = static_cast<float>(peak / now);
  for (size_t i = 0; i < take.Frames(); ++i) {
    take.L[i] *= scale;
    take.R[i] *= scale;
  }
}

void MixToMono(Stereo& take) {
  for (size_t i = 0; i < take.Frames(); ++i) take.L[i] = take.R[i] = (take.L[i] + take.R[i]) / 2;
}

void FadeEdges(Stereo& take, double seconds) {
  size_t n = std::min(take.At(seconds), take.Frames() / 2);
  for (size_t i = 0; i < n; ++i) {
    auto gain = static_cast<float>(static_cast<double>(i) / static_cast<double>(n));
    take.L[i] *= gain;
    take.R[i] *= gain;
    take.L[take.Frames() - 1 - i] *= gain;
    take.R[take.Frames() - 1 - i] *= gain;
  }
}

}  // namespace quarn::soundgen
