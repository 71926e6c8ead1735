// Sounds.cpp — the game's ten sounds in order, and the wave writer.
#include "Sounds.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace quarn::soundgen {

std::vector<GeneratedSound> MakeAllSounds() {
  std::vector<GeneratedSound> sounds;
  sounds.push_back({"walk.wav", Walk(), true});
  sounds.push_back({"LaserDoors.wav", LaserDoors(), false});
  sounds.push_back({"Die.wav", Die(), false});
  sounds.push_back({"Back.wav", Back(), true, 1});
  sounds.push_back({"AirDoor.wav", AirDoor(), false});
  sounds.push_back({"Tick.wav", Tick(), false});
  sounds.push_back({"Target.wav", Target(), false});
  sounds.push_back({"HotPotato.wav", HotPotato(), false});
  sounds.push_back({"Key.wav", Key(), false});
  sounds.push_back({"Door.wav", Door(), false});
  return sounds;
}

namespace {

void Put(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint32_t Sample(float value) {
  long scaled = std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f);
  return static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(scaled)));
}

}  // namespace

void WriteWave(const std::filesystem::path& file, const Stereo& take, int headerRate,
               int channels) {
  std::ofstream out(file, std::ios::binary);
  if (!out) throw std::runtime_error("cannot write " + file.string());
  const bool mono = channels == 1;
  const uint32_t block = mono ? 2 : 4;  // one or two channels of two bytes
  auto dataBytes = static_cast<uint32_t>(take.Frames() * block);
  out << "RIFF";
  Put(out, 36 + dataBytes, 4);
  out << "WAVEfmt ";
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, mono ? 1 : 2, 2);
  Put(out, static_cast<uint32_t>(headerRate), 4);
  Put(out, static_cast<uint32_t>(headerRate) * block, 4);
  Put(out, block, 2);
  Put(out, 16, 2);
  out << "data";
  Put(out, dataBytes, 4);
  for (size_t i = 0; i < take.Frames(); ++i) {
    Put(out, Sample(take.L[i]), 2);
    if (!mono) Put(out, Sample(take.R[i]), 2);
  }
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace quarn::soundgen
