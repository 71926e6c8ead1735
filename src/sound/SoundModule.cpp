// SoundModule.cpp — the sound slot table (DSound): waves loaded into numbered slots over OpenAL.
#include "sound/SoundModule.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <utility>

#include "sound/WaveFile.h"
#include "base/Text.h"

namespace quarn {

namespace {

constexpr int32_t QuietestVolume = -10000;  // hundredths of a decibel: -100 dB
// Mended: a playback rate is held to 100..100000 Hz; a rate outside it would fail the call and
// end the program.
constexpr int32_t LowestRate = 100;
constexpr int32_t HighestRate = 100000;

}  // namespace

SoundModule::SoundModule(std::filesystem::path programFolder, DeviceOpener openDevice)
    : folder_(std::move(programFolder)), openDevice_(std::move(openDevice)) {}

SoundModule::~SoundModule() { CloseDevice(); }

bool SoundModule::MakeCurrent() const {
  if (!context_) return false;
  return alcGetCurrentContext() == context_ || alcMakeContextCurrent(context_) == ALC_TRUE;
}

void SoundModule::DeleteSound(Slot& slot) {
  if ((slot.Source || slot.Buffer) && MakeCurrent()) {
    if (slot.Source) {
      alSourceStop(slot.Source);
      alDeleteSources(1, &slot.Source);
    }
    // The source must let go of the buffer before the buffer can go.
    if (slot.Buffer) alDeleteBuffers(1, &slot.Buffer);
  }
  slot.Source = 0;
  slot.Buffer = 0;
}

void SoundModule::Release(Slot& slot) {
  DeleteSound(slot);
  slot = Slot{};
}

void SoundModule::CloseDevice() {
  for (auto& slot : slots_) Release(slot);
  if (context_) {
    if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    context_ = nullptr;
  }
  if (device_) {
    alcCloseDevice(device_);
    device_ = nullptr;
  }
}

bool SoundModule::SoundInit() {
  if (!enabled_) return true;
  CloseDevice();
  slots_.assign(1, Slot{});
  OpenedDevice opened = openDevice_ ? openDevice_() : OpenedDevice{};
  device_ = opened.Device;
  if (device_) {
    context_ = alcCreateContext(
        device_, opened.ContextAttributes.empty() ? nullptr : opened.ContextAttributes.data());
  }
  if (!context_ || !MakeCurrent()) {
    // Mended: without a sound device the game goes on silently after its message; ending the
    // program would leave a player without a sound card no game at all.
    CloseDevice();
    enabled_ = false;
    return false;
  }
  return true;
}

bool SoundModule::ReadInto(Slot& slot) {
  auto file = FindIgnoringCase(folder_, slot.FileName);
  if (!file) {
    std::cerr << "quarn: zvuk " << slot.FileName << ": soubor chybí ve složce "
              << ShowControls(folder_.string()) << "\n";
    return false;
  }
  auto read = ReadWave(*file);
  if (auto* reason = std::get_if<std::string>(&read)) {
    std::cerr << "quarn: zvuk " << ShowControls(file->string()) << ": " << *reason << "\n";
    return false;
  }
  const Wave& wave = std::get<Wave>(read);
  if (!MakeCurrent()) return false;
  alGetError();
  alGenBuffers(1, &slot.Buffer);
  alBufferData(slot.Buffer, wave.Channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16,
               wave.Samples.data(), static_cast<ALsizei>(wave.Samples.size() * sizeof(int16_t)),
               wave.Rate);
  alGenSources(1, &slot.Source);
  if (alGetError() != AL_NO_ERROR) {
    std::cerr << "quarn: zvuk " << ShowControls(file->string()) << ": OpenAL zvuk odmítl\n";
    DeleteSound(slot);
    return false;
  }
  // Waves play as recorded, not placed in a room: a mono wave comes out of both sides alike.
  alSourcei(slot.Source, AL_SOURCE_RELATIVE, AL_TRUE);
  alSource3f(slot.Source, AL_POSITION, 0, 0, 0);
  alSourcei(slot.Source, AL_BUFFER, static_cast<ALint>(slot.Buffer));
  alSourcei(slot.Source, AL_LOOPING, slot.Flags.Looping ? AL_TRUE : AL_FALSE);
  slot.FileRate = wave.Rate;
  return true;
}

SoundSlot SoundModule::SoundLoad(const std::string& name, SoundLoadFlags flags) {
  if (!enabled_) return 0;
  auto firstFree = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.Free; });
  size_t index = static_cast<size_t>(firstFree - slots_.begin());
  if (firstFree == slots_.end()) slots_.emplace_back();
  Slot& slot = slots_[index];
  slot.Free = false;
  slot.FileName = name;
  slot.Status = "Stopped";
  slot.Flags = flags;
  // Mended: a wave that cannot be read leaves its slot in use and silent; one bad sound file
  // should not end the game.
  ReadInto(slot);
  return static_cast<SoundSlot>(index);
}

SoundModule::Slot* SoundModule::InUse(SoundSlot slot) {
  // Mended: a slot number outside the table is ignored; indexing with it would read past the
  // table.
  if (!enabled_ || slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return nullptr;
  Slot& s = slots_[static_cast<size_t>(slot)];
  return s.Free ? nullptr : &s;
}

void SoundModule::SoundPlay(SoundSlot slot) {
  Slot* s = InUse(slot);
  if (!s) return;
  if (s->Source && MakeCurrent()) {
    // Rewinding first makes a playing source start over instead of carrying on.
    alSourceRewind(s->Source);
    alSourcePlay(s->Source);
  }
  s->Status = "playing";
}

void SoundModule::SoundStop(SoundSlot slot) {
  Slot* s = InUse(slot);
  if (!s) return;
  if (s->Source && MakeCurrent()) {
    alSourceStop(s->Source);
    alSourceRewind(s->Source);
  }
  s->Status = "stopped";
}

void SoundModule::SoundSetFrequency(SoundSlot slot, int32_t hertz) {
  Slot* s = InUse(slot);
  if (!s || !s->Flags.CtrlFrequency || !s->Source || !MakeCurrent()) return;
  // Zero asks for the wave's own rate.
  float rate = hertz == 0 ? static_cast<float>(s->FileRate)
                          : static_cast<float>(std::clamp(hertz, LowestRate, HighestRate));
  alSourcef(s->Source, AL_PITCH, rate / static_cast<float>(s->FileRate));
}

void SoundModule::SoundSetVolume(SoundSlot slot, int32_t volume) {
  Slot* s = InUse(slot);
  if (!s || !s->Flags.CtrlVolume) return;
  volume = std::clamp(volume, QuietestVolume, 0);
  if (!s->Source || !MakeCurrent()) return;
  alSourcef(s->Source, AL_GAIN, static_cast<float>(std::pow(10.0, volume / 2000.0)));
}

void SoundModule::SoundFree(SoundSlot slot) {
  if (!enabled_ || slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return;
  Release(slots_[static_cast<size_t>(slot)]);
}

void SoundModule::SoundFreeAll() {
  if (!enabled_) return;
  for (auto& slot : slots_) Release(slot);
}

SoundSlotInfo SoundModule::Info(SoundSlot slot) const {
  SoundSlotInfo info;
  if (slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return info;
  const Slot& s = slots_[static_cast<size_t>(slot)];
  info.Free = s.Free;
  info.Status = s.Status;
  info.FileName = s.FileName;
  info.Flags = s.Flags;
  info.HasWave = s.Buffer != 0;
  info.FileRate = s.FileRate;
  if (s.Source && MakeCurrent()) {
    ALint state = AL_INITIAL;
    alGetSourcei(s.Source, AL_SOURCE_STATE, &state);
    info.Sounding = state == AL_PLAYING;
    alGetSourcef(s.Source, AL_GAIN, &info.Gain);
    alGetSourcef(s.Source, AL_PITCH, &info.Pitch);
  }
  return info;
}

}  // namespace quarn
