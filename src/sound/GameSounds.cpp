// GameSounds.cpp — loading the game's ten sounds and starting the background music.
#include "sound/GameSounds.h"

namespace quarn {

namespace {

struct SoundFile {
  const char* Name;
  SoundLoadFlags Flags;
};

// In the order of GameSound; the names are relative to the program's folder and matched without
// regard to letter case.
constexpr std::array<SoundFile, GameSoundCount> SoundFiles{{
    {"sound\\walk.wav", {.Looping = true}},
    {"sound\\LaserDoors.wav", {.CtrlVolume = true}},
    {"sound\\Die.wav", {}},
    {"sound\\Back.wav", {.Looping = true, .CtrlFrequency = true}},
    {"sound\\AirDoor.wav", {}},
    {"sound\\Tick.wav", {}},
    {"sound\\Target.wav", {}},
    {"sound\\HotPotato.wav", {}},
    {"sound\\Key.wav", {}},
    {"sound\\Door.wav", {}},
}};

}  // namespace

bool GameSounds::InicializaceZvuku() {
  bool opened = module_.SoundInit();
  for (size_t k = 0; k < SoundFiles.size(); ++k) {
    sounds_[k] = module_.SoundLoad(SoundFiles[k].Name, SoundFiles[k].Flags);
  }
  module_.SoundSetFrequency(Slot(GameSound::Back), BackgroundRate);
  module_.SoundPlay(Slot(GameSound::Back));
  return opened;
}

}  // namespace quarn
