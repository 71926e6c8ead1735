// Synth.h — the small synthesiser our sounds and music are made with: buffers, voices, filters.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace quarn::soundgen {

inline constexpr double Tau = 2 * std::numbers::pi;

// A stereo take at a given rate, samples in -1..1.
struct Stereo {
  int Rate = 22050;
  std::vector<float> L, R;

  Stereo(int rate, size_t frames) : Rate(rate), L(frames, 0.0f), R(frames, 0.0f) {}
  size_t Frames() const { return L.size(); }
  double Seconds() const { return static_cast<double>(Frames()) / Rate; }
  size_t At(double seconds) const { return static_cast<size_t>(std::lround(seconds * Rate)); }

  // Adds value at frame, spread by pan (-1 left .. 1 right) with equal loudness. With wrap the
  // frame is taken round the end, so a looped take carries its tails over into its start.
  void Add(size_t frame, double value, double pan = 0, bool wrap = false) {
    if (wrap) frame %= Frames();
    if (frame >= Frames()) return;
    double angle = (pan + 1) * std::numbers::pi / 4;
    L[frame] += static_cast<float>(value * std::cos(angle) * std::numbers::sqrt2);
    R[frame] += static_cast<float>(value * std::sin(angle) * std::numbers::sqrt2);
  }
};

// Repeatable noise: the same sounds come out of every build on every machine.
class Noise {
 public:
  explicit Noise(uint32_t seed = 1) : state_(seed) {}
  // Uniform in -1..1.
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

 private:
  uint32_t state_;
};

// Attack-decay-sustain-release, times in seconds, held for `hold` seconds before the release.
struct Envelope {
  double Attack = 0.005, Decay = 0.1, Sustain = 0.7, Release = 0.1;
  double Level(double t, double hold) const;
  double Length(double hold) const { return hold + Release; }
};

// A one-pole low-pass: gentle, for rounding off noise.
class LowPass {
 public:
  LowPass(double cutoffHz, int rate) { Set(cutoffHz, rate); }
  void Set(double cutoffHz, int rate) { k_ = 1 - std::exp(-Tau * cutoffHz / rate); }
  double Run(double x) { return y_ += k_ * (x - y_); }

 private:
  double k_ = 0, y_ = 0;
};

// A resonant band-pass (state-variable), for whooshes and zaps that sweep.
class BandPass {
 public:
  // q: 0.5 wide .. 10 narrow.
  double Run(double x, double centreHz, double q, int rate);

 private:
  double low_ = 0, band_ = 0;
};

// The frequency of a MIDI note number (69 = A 440 Hz).
inline double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12); }

// A band-limited sum of harmonics: amplitude of harmonic h is weight(h); those at or above the
// rate's Nyquist frequency are left out, so no tone folds back as a whistle.
double Harmonics(double phase, double hz, int rate, int count, double (*weight)(int));

// Scales the take so its highest peak is `peak`.
void Normalise(Stereo& take, double peak);
// Both channels become their mean: the take is heard as from one speaker.
void MixToMono(Stereo& take);
// Fades the first and last `seconds` in and out, so a one-shot starts and ends on silence.
void FadeEdges(Stereo& take, double seconds);
double Peak(const Stereo& take);
double Rms(const Stereo& take);

}  // namespace quarn::soundgen
