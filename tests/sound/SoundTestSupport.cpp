// SoundTestSupport.cpp — tiny waves written by the tests, and measuring what the loopback renders.
#include "SoundTestSupport.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <random>

namespace quarn::test {

TempFolder::TempFolder() {
  std::random_device seed;
  path_ = std::filesystem::temp_directory_path() /
          ("quarn-sound-" + std::to_string(seed()) + std::to_string(seed()));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

namespace {

void Put(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

void WriteTone(const std::filesystem::path& file, const ToneSpec& tone) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  uint32_t bytesPerSample = static_cast<uint32_t>(tone.Bits / 8);
  uint32_t block = bytesPerSample * static_cast<uint32_t>(tone.Channels);
  uint32_t dataBytes = block * static_cast<uint32_t>(tone.Frames);
  out << "RIFF";
  Put(out, 36 + dataBytes, 4);
  out << "WAVEfmt ";
  Put(out, 16, 4);
  Put(out, 1, 2);
  Put(out, static_cast<uint32_t>(tone.Channels), 2);
  Put(out, static_cast<uint32_t>(tone.Rate), 4);
  Put(out, static_cast<uint32_t>(tone.Rate) * block, 4);
  Put(out, block, 2);
  Put(out, static_cast<uint32_t>(tone.Bits), 2);
  out << "data";
  Put(out, dataBytes, 4);
  for (int i = 0; i < tone.Frames; ++i) {
    double value = 0.5 * std::sin(2 * std::numbers::pi * tone.Hertz * i / tone.Rate);
    for (int c = 0; c < tone.Channels; ++c) {
      if (tone.Bits == 8) {
        Put(out, static_cast<uint32_t>(std::lround(128 + 127 * value)), 1);
      } else {
        Put(out, static_cast<uint32_t>(static_cast<int16_t>(std::lround(32767 * value))), 2);
      }
    }
  }
}

OpenedDevice CountingOpener::operator()() const {
  ++*Opened;
  return OpenLoopbackDevice(MixRate);
}

std::unique_ptr<SoundModule> LoopbackModule(const std::filesystem::path& folder,
                                            CountingOpener opener) {
  auto module = std::make_unique<SoundModule>(folder, opener);
  module->SetEnabled(true);
  return module;
}

std::vector<float> Render(const SoundModule& module, int frames) {
  std::vector<float> stereo = RenderLoopback(module.Device(), frames);
  std::vector<float> left(static_cast<size_t>(frames));
  for (size_t i = 0; i < left.size(); ++i) left[i] = stereo[2 * i];
  return left;
}

float Peak(const std::vector<float>& samples, size_t from, size_t to) {
  float peak = 0;
  for (size_t i = from; i < std::min(to, samples.size()); ++i) {
    peak = std::max(peak, std::abs(samples[i]));
  }
  return peak;
}

int ZeroCrossings(const std::vector<float>& samples) {
  int crossings = 0;
  for (size_t i = 1; i < samples.size(); ++i) {
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
  }
  return crossings;
}

}  // namespace quarn::test
