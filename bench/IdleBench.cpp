// IdleBench.cpp — a tick of the rules while nobody plays: the player stands, the potatoes and
// targets blink, the laser doors keep their clock. What it costs should not grow with the board:
// zone 01 (20 x 12), the largest shipped zone and the crowded 150 x 130 zone, where every cell
// below the corridors blinks (the work there is the blinking itself).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "run/Replay.h"

namespace {

std::string ShippedZone(const char* name) { return std::string(QUARN_SOURCE_DIR) + "/zones/" + name; }

std::string CrowdedZone() {
  static const std::string path = [] {
    const std::string file =
        (std::filesystem::temp_directory_path() / "quarn-bench-idle-crowded.qrn").string();
    const std::string command =
        std::string(QUARN_SOURCE_DIR) + "/scripts/make-crowded-zone.sh " + file;
    return std::system(command.c_str()) == 0 ? file : std::string();
  }();
  return path;
}

void IdleTicks(benchmark::State& state, const std::string& zone, bool withoutEnemies) {
  quarn::Replay replay(false);
  if (zone.empty() || replay.Open(zone)) return state.SkipWithError("the zone does not open");
  // The crowded zone's 101 patrolling enemies are no idle cost of the board: they are stopped.
  if (withoutEnemies) replay.GetGame().ToggleEnemies();
  for (auto _ : state) {
    if (!replay.Tick(quarn::KeyMask{0})) return state.SkipWithError("the tick stopped");
  }
  state.counters["animated"] =
      static_cast<double>(replay.State().Board.Animated().size());
}

void BM_IdleTickZone01(benchmark::State& state) {
  IdleTicks(state, ShippedZone("01-prvni-kroky.qrn"), false);
}
BENCHMARK(BM_IdleTickZone01)->Unit(benchmark::kMicrosecond);

void BM_IdleTickZone20(benchmark::State& state) {
  IdleTicks(state, ShippedZone("20-velke-mesto.qrn"), false);
}
BENCHMARK(BM_IdleTickZone20)->Unit(benchmark::kMicrosecond);

void BM_IdleTickCrowded(benchmark::State& state) { IdleTicks(state, CrowdedZone(), true); }
BENCHMARK(BM_IdleTickCrowded)->Unit(benchmark::kMicrosecond);

}  // namespace
