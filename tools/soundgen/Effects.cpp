// Effects.cpp — the game's sound effects: footsteps, zap, death, whoosh, tick, chime and more.
#include <algorithm>

#include "Sounds.h"

namespace quarn::soundgen {

namespace {

double Odd(int h) { return h % 2 ? 1.0 / h : 0.0; }  // square-ish: hollow, soft
double Saw(int h) { return 1.0 / h; }                // bright buzz

// A felt-soft footstep: a low thump and a short scuff of filtered noise.
void Footstep(Stereo& take, double at, double pan, uint32_t seed) {
  Noise noise(seed);
  LowPass scuff(900, take.Rate);
  size_t start = take.At(at);
  size_t length = take.At(0.09);
  double phase = 0;
  for (size_t i = 0; i < length; ++i) {
    double t = static_cast<double>(i) / take.Rate;
    double hz = 140 - 60 * t / 0.09;
    phase += Tau * hz / take.Rate;
    double thump = std::sin(phase) * std::exp(-t / 0.025);
    double rustle = scuff.Run(noise.Next()) * std::exp(-t / 0.018);
    double attack = std::min(1.0, t / 0.003);
    take.Add(start + i, attack * (0.8 * thump + 1.6 * rustle), pan);
  }
}

}  // namespace

Stereo Walk() {
  // Two steps, left and right, and silence after each: the loop joins on silence.
  Stereo take(FileRate, static_cast<size_t>(FileRate * 0.5));
  Footstep(take, 0.004, -0.25, 11);
  Footstep(take, 0.254, 0.25, 12);
  Normalise(take, 0.55);
  FadeEdges(take, 0.002);
  return take;
}

Stereo LaserDoors() {
  Stereo take(FileRate, static_cast<size_t>(FileRate * 0.42));
  double phase = 0;
  for (size_t i = 0; i < take.Frames(); ++i) {
    double t = static_cast<double>(i) / take.Rate;
    double hz = 1400 * std::exp(-t * 7) + 110;
    phase += Tau * hz / take.Rate;
    double buzz = Harmonics(phase, hz, take.Rate, 24, Saw);
    double flutter = 0.7 + 0.3 * std::sin(Tau * 38 * t);
    double level = std::min(1.0, t / 0.004) * std::exp(-t * 6);
    take.Add(i, buzz * flutter * level, 0.2 * std::sin(Tau * 3 * t));
  }
  Normalise(take, 0.6);
  FadeEdges(take, 0.01);
  return take;
}

Stereo Die() {
  // A falling, wavering wail that sinks into a low rumble.
  Stereo take(FileRate, static_cast<size_t>(FileRate * 1.4));
  Noise noise(7);
  // Two poles, so the rumble stays a rumble and does not hiss.
  LowPass rumble(250, take.Rate), rumbleMore(250, take.Rate);
  double phase = 0;
  for (size_t i = 0; i < take.Frames(); ++i) {
    double t = static_cast<double>(i) / take.Rate;
    double hz = 520 * std::exp(-t * 1.6) + 60 + 18 * std::sin(Tau * 7 * t) * std::exp(-t);
    phase += Tau * hz / take.Rate;
    double voice = Harmonics(phase, hz, take.Rate, 9, Odd) * std::exp(-t * 1.5);
    double low =
        rumbleMore.Run(rumble.Run(noise.Next())) * 6 * std::min(1.0, t / 0.5) * std::exp(-t * 2);
    double level = std::min(1.0, t / 0.01);
    take.Add(i, level * (voice + low), 0);
  }
  Normalise(take, 0.65);
  FadeEdges(take, 0.05);
  return take;
}

Stereo AirDoor() {
  // A breath of air: noise through a band that sweeps up and back down, crossing the stereo.
  Stereo take(FileRate, static_cast<size_t>(FileRate * 0.65));
  Noise noise(3);
  BandPass band;
  for (size_t i = 0; i < take.Frames(); ++i) {
    double t = static_cast<double>(i) / take.Seconds() / take.Rate;  // 0..1 across the take
    double centre = 400 + 2600 * std::sin(std::numbers::pi * t);
    double swell = std::sin(std::numbers::pi * t);
    take.Add(i, band.Run(noise.Next(), centre, 1.8, take.Rate) * swell * swell, 1.4 * t - 0.7);
  }
  Normalise(take, 0.55);
  FadeEdges(take, 0.01);
  return take;
}

Stereo Tick() {
  // A small wood block: two inharmonic partials that die within a few milliseconds.
  Stereo take(FileRate, static_cast<size_t>(FileRate * 0.06));
  for (size_t i = 0; i < take.Frames(); ++i) {
    double t = static_cast<double>(i) / take.Rate;
    double knock = std::sin(Tau * 1750 * t) + 0.5 * std::sin(Tau * 2830 * t);
    take.Add(i, knock * std::min(1.0, t / 0.0007) * std::exp(-t / 0.008), 0);
  }
  Normalise(take, 0.5);
  FadeEdges(take, 0.003);
  return take;
}

Stereo Target() {
  // A three-note bell chime rising through a major chord (C, E, G), ringing out.
  Stereo take(FileRate, static_cast<size_t>(FileRate * 1.6));
  const double partials[][2] = {{1.0, 1.0}, {2.0, 0.5}, {2.76, 0.35}, {5.4, 0.2}, {8.93, 0.1}};
  const double notes[] = {84, 88, 91};
  for (int n = 0; n < 3; ++n) {
    size_t start = take.At(0.09 * n);
    double hz = NoteHz(notes[n]);
    for (size_t i = 0; start + i < take.Frames(); ++i) {
      double t = static_cast<double>(i) / take.Rate;
      double ring = 0;
      for (const auto& [ratio, weight] : partials) {
        if (hz * ratio >= take.Rate / 2.0 - 500) continue;
        // Higher partials fade sooner, as a struck bell's do.
        ring += weight * std::sin(Tau * hz * ratio * t) * std::exp(-t * 2.2 * ratio);
      }
      take.Add(start + i, ring * std::min(1.0, t / 0.002), -0.4 + 0.4 * n);
    }
  }
  Normalise(take, 0.6);
  FadeEdges(take, 0.02);
  return take;
}

Stereo HotPotato() {
  // A quick bright pick-up: two rising notes, a fifth apart.
  Stereo take(FileRate, static_cast<size_t>(FileRate * 0.26));
  const double notes[] = {81, 88};
  for (int n = 0; n < 2; ++n) {
    size_t start = take.At(0.07 * n);
    double hz = NoteHz(notes[n]);
    for (size_t i = 0; start + i < take.Frames(); ++i) {
      double t = static_cast<double>(i) / take.Rate;
      double tone = Harmonics(Tau * hz * t, hz, take.Rate, 7, Odd);
      take.Add(start + i, tone * std::min(1.0, t / 0.003) * std::exp(-t * 18), 0);
    }
  }
  Normalise(take, 0.5);
  FadeEdges(take, 0.01);
  return take;
}

Stereo Key() {
  // A small jingle: a few high metallic pings of a key ring.
  Stereo take(FileRate, static_cast<size_t>(FileRate * 0.55));
  const double pings[][3] = {
      {0.0, 3100, -0.3}, {0.05, 3900, 0.3}, {0.11, 3400, 0.0}, {0.19, 4300, -0.2}};
  for (const auto& [at, hz, pan] : pings) {
    size_t start = take.At(at);
    for (size_t i = 0; start + i < take.Frames(); ++i) {
      double t = static_cast<double>(i) / take.Rate;
      double metal = std::sin(Tau * hz * t) + 0.6 * std::sin(Tau * hz * 1.47 * t) +
                     0.3 * std::sin(Tau * hz * 0.53 * t);
      take.Add(start + i, metal * std::min(1.0, t / 0.001) * std::exp(-t * 14), pan);
    }
  }
  Normalise(take, 0.45);
  FadeEdges(take, 0.01);
  return take;
}

Stereo Door() {
  // A heavy door: a short creak, then the thud of it closing and the click of its latch.
  Stereo take(FileRate, static_cast<size_t>(FileRate * 0.7));
  Noise noise(5);
  LowPass creakTone(1200, take.Rate);
  double phase = 0;
  for (size_t i = 0; i < take.Frames(); ++i) {
    double t = static_cast<double>(i) / take.Rate;
    double sound = 0;
    if (t < 0.32) {
      double hz = 95 + 40 * t + 8 * noise.Next();
      phase += Tau * hz / take.Rate;
      double swell = std::sin(std::numbers::pi * t / 0.32);
      sound += 0.35 * creakTone.Run(Harmonics(phase, hz, take.Rate, 30, Saw)) * swell;
    }
    double th = t - 0.3;
    if (th >= 0) {
      sound += std::sin(Tau * (70 - 25 * th) * th) * std::min(1.0, th / 0.003) * std::exp(-th * 14);
    }
    double tc = t - 0.33;
    if (tc >= 0) sound += 0.4 * std::sin(Tau * 2200 * tc) * std::exp(-tc / 0.006);
    take.Add(i, sound, 0);
  }
  Normalise(take, 0.6);
  FadeEdges(take, 0.01);
  return take;
}

}  // namespace quarn::soundgen
