// SoundTestSupport.h — tiny waves written by the tests, and measuring what the loopback renders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sound/SoundModule.h"

namespace quarn::test {

// The loopback mixes at the rate the test waves are written at, so pitch 1 renders unchanged.
inline constexpr int MixRate = 22050;

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A sine wave, peak amplitude 0.5 of full scale, frames long.
struct ToneSpec {
  double Hertz = 441;
  int Frames = 2205;
  int Rate = MixRate;
  int Channels = 2;
  int Bits = 16;  // 8 or 16
};
void WriteTone(const std::filesystem::path& file, const ToneSpec& tone);

// Counts loopback devices opened, so a test can see whether sound was initialised at all.
struct CountingOpener {
  std::shared_ptr<int> Opened = std::make_shared<int>(0);
  OpenedDevice operator()() const;
};

// A module reading from folder that plays into memory, sound switched on.
std::unique_ptr<SoundModule> LoopbackModule(const std::filesystem::path& folder,
                                            CountingOpener opener = {});

// Renders frames of the module's loopback device; returns the left channel.
std::vector<float> Render(const SoundModule& module, int frames);

float Peak(const std::vector<float>& samples, size_t from = 0, size_t to = SIZE_MAX);
int ZeroCrossings(const std::vector<float>& samples);

}  // namespace quarn::test
