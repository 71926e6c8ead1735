// Music.cpp — the background music: a calm sixteen-bar loop in C major with melody, pads, bass
// and soft percussion.
//
// The game plays Back.wav at 12000 samples per second although the file says 22050, so the music
// is rendered at 12000: heard at that rate it plays at the tempo and pitch it was written in.
// It is written as a mono wave (see Back()).
// Every note is laid down round the end of the take, so tails ring on into the start and the
// loop has no seam.
#include <array>

#include "Sounds.h"

namespace quarn::soundgen {

namespace {

constexpr double Bpm = 90;
constexpr double Beat = 60 / Bpm;
constexpr int Bars = 16;
constexpr double BarLength = 4 * Beat;

struct Chord {
  int Root;                  // bass note, MIDI
  std::array<int, 4> Notes;  // pad voicing, MIDI; 0 for none
};

const Chord C{36, {60, 64, 67, 0}}, Am{45, {57, 60, 64, 0}}, F{41, {57, 60, 65, 0}},
    G{43, {55, 59, 62, 0}}, Dm{38, {57, 62, 65, 0}}, Em{40, {55, 59, 64, 0}},
    G7{43, {55, 59, 62, 65}};

const std::array<Chord, Bars> Progression{C, Am, F, G, C, Am, Dm, G, F, G, Em, Am, F, G, C, G7};

struct Note {
  int Bar;
  double At, Length;  // beats
  int Midi;
};

// The tune: four phrases, the last one turning back to the first.
constexpr Note Melody[] = {
    {0, 0, 1.5, 76},   {0, 1.5, 0.5, 74},  {0, 2, 1, 72},      {0, 3, 1, 67},     {1, 0, 1.5, 69},
    {1, 1.5, 0.5, 72}, {1, 2, 2, 76},      {2, 0, 1, 77},      {2, 1, 1, 76},     {2, 2, 1, 74},
    {2, 3, 1, 72},     {3, 0, 3, 74},      {4, 0, 1.5, 76},    {4, 1.5, 0.5, 74}, {4, 2, 1, 72},
    {4, 3, 1, 76},     {5, 0, 1.5, 81},    {5, 1.5, 0.5, 79},  {5, 2, 2, 76},     {6, 0, 1, 77},
    {6, 1, 0.5, 76},   {6, 1.5, 0.5, 74},  {6, 2, 1, 69},      {6, 3, 1, 74},     {7, 0, 2, 71},
    {7, 2, 1, 74},     {7, 3, 1, 79},      {8, 0, 1, 81},      {8, 1, 0.5, 79},   {8, 1.5, 0.5, 77},
    {8, 2, 2, 72},     {9, 0, 1, 71},      {9, 1, 1, 74},      {9, 2, 2, 79},     {10, 0, 1, 76},
    {10, 1, 1, 79},    {10, 2, 1.5, 83},   {10, 3.5, 0.5, 81}, {11, 0, 2, 81},    {11, 2, 1, 76},
    {11, 3, 1, 72},    {12, 0, 1.5, 77},   {12, 1.5, 0.5, 81}, {12, 2, 1, 84},    {12, 3, 1, 81},
    {13, 0, 1.5, 79},  {13, 1.5, 0.5, 77}, {13, 2, 2, 74},     {14, 0, 1, 76},    {14, 1, 1, 79},
    {14, 2, 1, 84},    {14, 3, 1, 79},     {15, 0, 1, 77},     {15, 1, 1, 74},    {15, 2, 1, 71},
    {15, 3, 1, 74},
};

double Seconds(int bar, double beat) { return bar * BarLength + beat * Beat; }

// Lays one note into the take: `voice(t, hz)` is the sound t seconds after the note began.
template <typename Voice>
void Play(Stereo& take, double start, double length, double hz, double level, double pan,
          Voice voice) {
  size_t first = take.At(start);
  size_t frames = take.At(length);
  for (size_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / take.Rate;
    take.Add(first + i, level * voice(t, hz), pan, true);
  }
}

// A soft electric piano: a few harmonics, the higher ones fading first, a slight vibrato.
void MelodyNote(Stereo& take, double start, double hold, double hz, double level, double pan) {
  Envelope env{0.012, 0.5, 0.35, 0.35};
  Play(take, start, env.Length(hold), hz, level, pan, [&](double t, double f) {
    double phase = Tau * f * t + 0.02 * std::sin(Tau * 5 * t) * std::min(1.0, t);
    double tone = std::sin(phase) + 0.35 * std::exp(-t * 3) * std::sin(2 * phase) +
                  0.12 * std::exp(-t * 6) * std::sin(3 * phase) +
                  0.05 * std::exp(-t * 9) * std::sin(4 * phase);
    return tone * env.Level(t, hold);
  });
}

}  // namespace

Stereo Back() {
  Stereo take(MusicPlaybackRate,
              static_cast<size_t>(std::lround(Bars * BarLength * MusicPlaybackRate)));
  // Pads: each chord held for its bar, two slightly detuned voices spread left and right.
  Envelope padEnv{0.45, 0.6, 0.8, 0.9};
  for (int bar = 0; bar < Bars; ++bar) {
    for (int midi : Progression[bar].Notes) {
      if (!midi) continue;
      for (double detune : {-0.06, 0.06}) {
        double hz = NoteHz(midi + detune);
        Play(take, Seconds(bar, 0), padEnv.Length(BarLength), hz, 0.055, detune * 10,
             [&](double t, double f) {
               double phase = Tau * f * t;
               return (std::sin(phase) + 0.2 * std::sin(2 * phase)) *
                      padEnv.Level(t, BarLength - 0.05);
             });
      }
    }
  }

  // Bass: root, root, fifth, octave — a gentle walking pulse.
  Envelope bassEnv{0.008, 0.3, 0.55, 0.12};
  const double bassBeats[][3] = {{0, 1.4, 0}, {1.5, 0.4, 0}, {2, 1.4, 7}, {3.5, 0.4, 12}};
  for (int bar = 0; bar < Bars; ++bar) {
    for (const auto& [at, hold, interval] : bassBeats) {
      double hz = NoteHz(Progression[bar].Root + interval);
      Play(take, Seconds(bar, at), bassEnv.Length(hold * Beat), hz, 0.3, 0,
           [&](double t, double f) {
             return Harmonics(Tau * f * t, f, MusicPlaybackRate, 6,
                              [](int h) { return 1.0 / (h * h); }) *
                    bassEnv.Level(t, hold * Beat);
           });
    }
  }

  // Melody, with an echo three eighths later bouncing between the sides.
  for (const Note& note : Melody) {
    double start = Seconds(note.Bar, note.At);
    double hold = note.Length * Beat * 0.9;
    double hz = NoteHz(note.Midi);
    MelodyNote(take, start, hold, hz, 0.3, 0.15);
    double echo = 0.35;
    for (int tap = 1; tap <= 4; ++tap, echo *= 0.4) {
      MelodyNote(take, start + tap * 1.5 * Beat, hold, hz, 0.3 * echo, tap % 2 ? -0.6 : 0.6);
    }
  }

  // Plucked arpeggio in the second half, quietly filling the eighths an octave above the pads.
  Envelope pluck{0.004, 0.18, 0.0, 0.05};
  for (int bar = 8; bar < Bars; ++bar) {
    const auto& notes = Progression[bar].Notes;
    const int order[] = {0, 1, 2, 1, 0, 1, 2, 1};
    for (int eighth = 0; eighth < 8; ++eighth) {
      double hz = NoteHz(notes[static_cast<size_t>(order[eighth])] + 12);
      Play(take, Seconds(bar, eighth * 0.5), pluck.Length(0.2), hz, 0.07, -0.4,
           [&](double t, double f) { return std::sin(Tau * f * t) * pluck.Level(t, 0.2); });
    }
  }

  // Percussion: a soft low kick, and a brushed shaker on the off-beats. The first four bars
  // leave out the second kick, so each pass of the loop begins a little lighter.
  Noise noise(21);
  for (int bar = 0; bar < Bars; ++bar) {
    for (int beat : {0, 2}) {
      if (bar < 4 && beat == 2) continue;
      Play(take, Seconds(bar, beat), 0.25, 0, 0.45, 0, [](double t, double) {
        double phase = Tau * (45 * t + 65 * (1 - std::exp(-t * 30)) / 30);
        return std::sin(phase) * std::min(1.0, t / 0.004) * std::exp(-t * 16);
      });
    }
    for (int eighth = 1; eighth < 8; eighth += 2) {
      LowPass dull(2500, MusicPlaybackRate);
      Play(take, Seconds(bar, eighth * 0.5), 0.08, 0, 0.05, 0.3, [&](double t, double) {
        double hiss = noise.Next();
        return (hiss - dull.Run(hiss)) * std::min(1.0, t / 0.002) * std::exp(-t * 60);
      });
    }
  }

  // One channel: the loop is by far the largest of the sounds (the page downloads it), and its
  // voices, spread over both sides as they are laid down, are heard the same from one speaker.
  MixToMono(take);
  Normalise(take, 0.5);
  return take;
}

}  // namespace quarn::soundgen
