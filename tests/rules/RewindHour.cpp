// RewindHour.cpp — plays a zone headless through the replay runner, as quarn-zone play does, with
// a player wandering (an arrow held a second and a half at a time) or with no key at all, and
// prints the kernel's count of its peak resident memory (VmHWM), for RewindMemory.sh.
// usage: quarn_rewind_hour ZONE TICKS wander|idle
#include <cstdio>
#include <fstream>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "run/Replay.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: quarn_rewind_hour ZONE TICKS wander|idle\n", stderr);
    return 2;
  }
  const long long ticks = std::atoll(argv[2]);
  const bool wander = std::string(argv[3]) == "wander";
  quarn::Replay replay(false);
  if (auto error = replay.Open(argv[1])) {
    std::fprintf(stderr, "quarn_rewind_hour: %s\n", error->Describe().c_str());
    return 2;
  }
  std::mt19937_64 rng(5);
  std::vector<int> keys;
  for (long long t = 0; t < ticks; ++t) {
    if (wander && t % 97 == 0) keys = {quarn::vk::Left + static_cast<int>(rng() % 4)};
    replay.Tick(keys);
  }
  // The peak, as the kernel counts it: what the process really held, whatever the code thinks.
  std::ifstream status("/proc/self/status");
  long long peakKb = -1;
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) peakKb = std::atoll(line.c_str() + 6);
  }
  const quarn::RunRecorder& run = replay.Recorder();
  std::printf("%lld KB peak; %lld ticks in the run, %.2f MB counted, longest replay %lld ticks\n",
              peakKb,
              static_cast<long long>(run.RunTicks()),
              static_cast<double>(run.MemoryBytes()) / (1 << 20),
              static_cast<long long>(run.LongestReplay()));
  return 0;
}
