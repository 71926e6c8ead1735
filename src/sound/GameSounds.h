// GameSounds.h — the game's ten sounds (Sounds(0..9)) in the slot module: what the rules reach.
#pragma once

#include <array>

#include "game/Ports.h"
#include "sound/SoundModule.h"

namespace quarn {

// What the game screen shows when InicializaceZvuku finds no audio device.
inline constexpr const char* SoundInitFailureText =
    "Zvukové zařízení se nepodařilo otevřít. Hra poběží bez zvuku.";

// The background music's playback rate, samples per second, whatever the file's own rate.
inline constexpr int32_t BackgroundRate = 12000;

// Owned by the game screen, for as long as it is open; the module must outlive it.
class GameSounds final : public SoundPort {
 public:
  explicit GameSounds(SoundModule& module) : module_(module) {}
  // Frees every slot, as closing the screen does.
  ~GameSounds() override { FreeAll(); }
  GameSounds(const GameSounds&) = delete;
  GameSounds& operator=(const GameSounds&) = delete;

  // Initialises the module, loads sound/*.wav into Sounds(0..9) and starts the background music
  // looping at BackgroundRate. With sound off it does nothing. False when no audio device could
  // be opened: the screen shows SoundInitFailureText and goes on; sound is then off.
  bool InicializaceZvuku();
  // Frees every slot of the module (the screen's close).
  void FreeAll() { module_.SoundFreeAll(); }

  void Play(GameSound sound) override { module_.SoundPlay(Slot(sound)); }
  void Stop(GameSound sound) override { module_.SoundStop(Slot(sound)); }
  void SetVolume(GameSound sound, int32_t hundredthsDb) override {
    module_.SoundSetVolume(Slot(sound), hundredthsDb);
  }

  // Sounds(k): the slot number of a sound; 0 for every sound while sound is off.
  SoundSlot Slot(GameSound sound) const { return sounds_[static_cast<size_t>(sound)]; }

 private:
  SoundModule& module_;
  std::array<SoundSlot, GameSoundCount> sounds_{};
};

}  // namespace quarn
