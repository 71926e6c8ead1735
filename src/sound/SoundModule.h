// SoundModule.h — the sound slot table (DSound): waves loaded into numbered slots over OpenAL.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sound/AudioDevice.h"

namespace quarn {

// A slot number, as the callers keep it.
using SoundSlot = int16_t;

// What a load asks of its slot. Waves come from files only: nothing in the game asks for
// resources, end-of-play events or panning, so those are not offered.
struct SoundLoadFlags {
  bool Looping = false;        // play loops until stopped
  bool CtrlFrequency = false;  // SoundSetFrequency acts on the slot
  bool CtrlVolume = false;     // SoundSetVolume acts on the slot
};

// A slot as seen from outside, for checks and diagnostics.
struct SoundSlotInfo {
  bool Free = true;
  std::string Status;    // "empty", "Stopped" (loaded), "playing", "stopped"
  std::string FileName;  // the name given to the load
  SoundLoadFlags Flags;
  bool HasWave = false;   // the wave was read; a slot whose file failed stays silent
  bool Sounding = false;  // OpenAL is playing it right now
  int FileRate = 0;       // the wave's own samples per second
  float Gain = 1;         // as OpenAL holds it
  float Pitch = 1;
};

// Owns the audio device and the slot table. One object with the program's lifetime owns it;
// SoundEnabled is its switch, off until the player turns sound on.
class SoundModule {
 public:
  // Waves are read from programFolder; every initialisation opens its device with openDevice.
  explicit SoundModule(std::filesystem::path programFolder,
                       DeviceOpener openDevice = OpenSystemDevice);
  ~SoundModule();
  SoundModule(const SoundModule&) = delete;
  SoundModule& operator=(const SoundModule&) = delete;

  // SoundEnabled: off makes every load return slot 0 and every other operation do nothing.
  void SetEnabled(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }

  // Opens the device anew and resets the table to one free slot. False when no device could be
  // opened; sound is then off for the rest of the run.
  bool SoundInit();
  // Loads programFolder + "\" + name (either separator, any letter case) into the lowest free
  // slot, growing the table by one when none is free.
  SoundSlot SoundLoad(const std::string& name, SoundLoadFlags flags);
  // Plays from the beginning, also when already playing; looped or once as loaded.
  void SoundPlay(SoundSlot slot);
  // Stops and rewinds.
  void SoundStop(SoundSlot slot);
  // Playback rate in samples per second; the wave's own rate plays it as recorded.
  void SoundSetFrequency(SoundSlot slot, int32_t hertz);
  // Hundredths of a decibel, clamped to -10000..0; 0 is full volume.
  void SoundSetVolume(SoundSlot slot, int32_t volume);
  void SoundFree(SoundSlot slot);
  // Frees every slot; the table keeps its size.
  void SoundFreeAll();

  int SlotCount() const { return static_cast<int>(slots_.size()); }
  SoundSlotInfo Info(SoundSlot slot) const;
  // The open device, for a loopback owner that renders it; nullptr before a successful init.
  ALCdevice* Device() const { return device_; }

 private:
  struct Slot {
    bool Free = true;
    std::string Status = "empty";
    std::string FileName;
    SoundLoadFlags Flags;
    unsigned Buffer = 0;  // OpenAL names; 0 for none
    unsigned Source = 0;
    int FileRate = 0;
  };

  Slot* InUse(SoundSlot slot);
  bool MakeCurrent() const;
  void DeleteSound(Slot& slot);
  void Release(Slot& slot);
  void CloseDevice();
  // Reads the slot's file into a new buffer and source; false leaves the slot silent.
  bool ReadInto(Slot& slot);

  std::filesystem::path folder_;
  DeviceOpener openDevice_;
  bool enabled_ = false;
  ALCdevice* device_ = nullptr;
  ALCcontext* context_ = nullptr;
  std::vector<Slot> slots_{Slot{}};
};

}  // namespace quarn
