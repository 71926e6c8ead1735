// Sounds.h — the game's ten sounds as our generator makes them, and writing them as wave files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Synth.h"

namespace quarn::soundgen {

// Every wave is written at this rate, 16-bit, stereo but for the music (mono).
inline constexpr int FileRate = 22050;
// The game plays the background music at this rate; the music is made to sound right there.
inline constexpr int MusicPlaybackRate = 12000;

struct GeneratedSound {
  std::string FileName;  // as the game loads it from sound/
  Stereo Take;           // samples at FileRate (the music's at MusicPlaybackRate, see Music.cpp)
  bool Looped;           // the game loops it: its end must run into its start without a click
  int Channels = 2;      // 1: a mono take (L and R alike), written as one channel
};

// The sound effects.
Stereo Walk();
Stereo LaserDoors();
Stereo Die();
Stereo AirDoor();
Stereo Tick();
Stereo Target();
Stereo HotPotato();
Stereo Key();
Stereo Door();
// The background music, rendered at MusicPlaybackRate.
Stereo Back();

// All ten, in the game's order.
std::vector<GeneratedSound> MakeAllSounds();

// Writes a PCM wave: 16-bit, stereo or (channels 1) the take's left channel alone, the header
// saying `headerRate` samples per second.
void WriteWave(const std::filesystem::path& file, const Stereo& take, int headerRate,
               int channels = 2);

}  // namespace quarn::soundgen
