// RewindBench.cpp — going back in a run: the memory an hour of play keeps, and one step back
// (64 ticks, one press of Backspace) after that hour, on the largest zones.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "run/Replay.h"

namespace {

constexpr int64_t HourOfTicks = 64 * 60 * 60;

std::string MadeZone(const std::string& option, const std::string& name) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  const std::string command =
      std::string(QUARN_SOURCE_DIR) + "/scripts/make-crowded-zone.sh " + option + " " + path;
  return std::system(command.c_str()) == 0 ? path : std::string();
}

// The process's resident memory now (VmRSS) and at its peak (VmHWM), in KB, as the kernel counts
// them: what the player feels, whatever the code thinks it keeps.
struct Resident {
  long long NowKb = -1, PeakKb = -1;
};
Resident ResidentNow() {
  Resident r;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) r.NowKb = std::atoll(line.c_str() + 6);
    if (line.rfind("VmHWM:", 0) == 0) r.PeakKb = std::atoll(line.c_str() + 6);
  }
  return r;
}

// An hour of play: arrows held for a while each, as a player wanders; no restarts, so the whole
// hour is one run. Also what the hour added to the resident memory, from the zone just opened.
struct PlayedHour {
  std::unique_ptr<quarn::Replay> Replay;
  Resident Opened, Played;
};
PlayedHour HourPlayed(const std::string& zone) {
  PlayedHour hour;
  auto& replay = hour.Replay;
  replay = std::make_unique<quarn::Replay>(false);
  if (zone.empty() || replay->Open(zone)) return {};
  // The peak starts again from what is resident now, so that earlier benchmarks' peaks do not
  // hide this hour's.
  std::ofstream("/proc/self/clear_refs") << "5";
  hour.Opened = ResidentNow();
  std::mt19937_64 rng(5);
  std::vector<int> keys;
  // 63 ticks past the hour: a step back then lands as far past a kept state as it can, and
  // replays the most ticks.
  for (int64_t t = 0; t < HourOfTicks + 63; ++t) {
    if (t % 97 == 0) keys = {quarn::vk::Left + static_cast<int>(rng() % 4)};
    replay->Tick(keys);
  }
  hour.Played = ResidentNow();
  return hour;
}

const std::string& Zone(int which) {
  static const std::string crowded = MadeZone("", "quarn-bench-rewind-crowded.qrn");
  static const std::string roaming = MadeZone("--roaming", "quarn-bench-rewind-roaming.qrn");
  return which == 0 ? crowded : roaming;
}

const PlayedHour& HourOf(int which) {
  static PlayedHour played[2];
  if (!played[which].Replay) played[which] = HourPlayed(Zone(which));
  return played[which];
}

quarn::Replay* Hour(int which) { return HourOf(which).Replay.get(); }

// Memory kept for going back after an hour of play, and the most ticks one step back may have to
// replay there (longest_replay). MB is what the code counts it keeps; rss_MB and peak_MB are what
// the hour added to the process's resident memory, at its end and at its peak, above what was
// resident with the zone just opened (the budget for both is 32).
void BM_RewindMemoryAfterAnHour(benchmark::State& state) {
  for (auto _ : state) {
    quarn::Replay* replay = Hour(static_cast<int>(state.range(0)));
    if (!replay) {
      state.SkipWithError("the zone could not be made");
      return;
    }
    benchmark::DoNotOptimize(replay);
  }
  const PlayedHour& hour = HourOf(static_cast<int>(state.range(0)));
  const quarn::RunRecorder& run = hour.Replay->Recorder();
  state.counters["MB"] = static_cast<double>(run.MemoryBytes()) / (1 << 20);
  state.counters["rss_MB"] = static_cast<double>(hour.Played.NowKb - hour.Opened.NowKb) / 1024;
  state.counters["peak_MB"] = static_cast<double>(hour.Played.PeakKb - hour.Opened.NowKb) / 1024;
  state.counters["longest_replay"] = static_cast<double>(run.LongestReplay());
  state.counters["run_ticks"] = static_cast<double>(run.RunTicks());
}
BENCHMARK(BM_RewindMemoryAfterAnHour)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"roaming"})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// One press of Backspace (64 ticks back, the board drawn anew) at the end of an hour of play, in
// the worst place (63 ticks to replay from the nearest kept state); the 64 ticks are played
// again, untimed, before the next press. Under 20 ms is the goal.
void BM_RewindOneSecondBack(benchmark::State& state) {
  quarn::Replay* replay = Hour(static_cast<int>(state.range(0)));
  if (!replay) {
    state.SkipWithError("the zone could not be made");
    return;
  }
  std::vector<int> keys{quarn::vk::Right};
  for (auto _ : state) {
    benchmark::DoNotOptimize(replay->Back(64));
    state.PauseTiming();
    for (int t = 0; t < 64; ++t) replay->Tick(keys);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RewindOneSecondBack)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"roaming"})
    ->Unit(benchmark::kMillisecond);

// One tick of play on the zone, recorded: what a step back costs per tick it replays.
void BM_RewindRecordedTick(benchmark::State& state) {
  quarn::Replay replay(false);
  if (replay.Open(Zone(static_cast<int>(state.range(0))))) {
    state.SkipWithError("the zone could not be made");
    return;
  }
  std::vector<int> keys{quarn::vk::Down};
  for (auto _ : state) replay.Tick(keys);
}
BENCHMARK(BM_RewindRecordedTick)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"roaming"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
