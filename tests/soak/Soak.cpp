// Soak.cpp — long headless plays with random keys, the state's guarantees checked after every tick.
//   quarn_soak [--ticks N] [--seed S] [--generated K] [--solutions DIR] [ZONE_OR_FOLDER...]
// Plays every zone given (a folder: every .qrn in it) and K generated zones of the largest size
// with 101 enemies, N ticks each (default 200000). A zone with a key script of its name in DIR
// is first played by it (its solution, so the win is soaked too), then by random keys. Ends with status 1 at the first broken
// guarantee, naming the zone, the tick and the seed.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "game/Invariants.h"
#include "run/Replay.h"

using namespace quarn;
namespace fs = std::filesystem;

namespace {

// A zone of the largest size: 150 x 130 cells, 101 enemies of all three kinds, every tile, and
// laser doors of all three groups. A walled zone keeps everything inside; an open one lets the
// player and the enemies reach the margin around it.
std::string GeneratedZone(std::mt19937_64& rng, bool walled) {
  const int w = MaxBoardWidth, h = MaxBoardHeight;
  std::vector<std::string> rows(h, std::string(w, '.'));
  const std::string tiles = "WWWWWWOQ?RRCCDKBTabc";
  std::uniform_int_distribution<int> px(0, w - 1), py(0, h - 1), pick(0, 99);
  std::uniform_int_distribution<size_t> tile(0, tiles.size() - 1);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      if (walled && edge) {
        rows[y][x] = 'W';
      } else if (pick(rng) < 25) {
        rows[y][x] = tiles[tile(rng)];
      }
    }
  }
  auto place = [&](char c) {
    for (;;) {
      const int x = px(rng), y = py(rng);
      if (rows[y][x] == '.' || (!walled && rows[y][x] != 'S' && rows[y][x] != 'E' &&
                                rows[y][x] != '+' && rows[y][x] != '-' && rows[y][x] != '*')) {
        rows[y][x] = c;
        return;
      }
    }
  };
  place('S');
  place('E');
  for (int i = 0; i < MaxEnemies; ++i) place("+-*"[i % 3]);
  std::string text = walled ? "\"Velká zeď\"\n" : "\"Velká pláň\"\n";
  // Enemy steps as large as the far corner allows: 149 x 219 < 32768.
  text += std::to_string(w) + "\n" + std::to_string(h) + "\n4\n3\n7\n219\n0011\n01\n000111000\n";
  for (const std::string& row : rows) text += row + "\n";
  return text;
}

// Random keys: arrows alone or together, the space bar, or none, held for 1..200 ticks; now and
// then a tap of Ctrl+R (a restart) or of Enter (which restarts a halted zone). Restarts are rare
// so that the counters of a long run grow long.
std::vector<int> RandomKeys(std::mt19937_64& rng, int64_t& hold) {
  std::uniform_int_distribution<int> pick(0, 999);
  hold = std::uniform_int_distribution<int64_t>(1, 200)(rng);
  const int roll = pick(rng);
  if (roll < 2 || (roll < 50 && roll % 2 == 0)) {
    hold = 1;
    return roll < 2 ? std::vector<int>{vk::Ctrl, vk::R} : std::vector<int>{vk::Enter};
  }
  std::vector<int> keys;
  if (roll < 100) return keys;
  for (int k : {vk::Left, vk::Up, vk::Right, vk::Down}) {
    if (pick(rng) < 300) keys.push_back(k);
  }
  if (pick(rng) < 200) keys.push_back(vk::Space);
  return keys;
}

bool Soak(const std::string& zone, const KeyScript& opening, int64_t ticks, uint64_t seed) {
  std::mt19937_64 rng(seed);
  Replay replay(rng() % 2 == 0);
  if (auto error = replay.Open(zone)) {
    std::fprintf(stderr, "soak: %s\n", error->Describe().c_str());
    return false;
  }
  const auto start = std::chrono::steady_clock::now();
  std::vector<int> keys;
  int64_t held = 0;
  for (int64_t t = 0; t < ticks; ++t) {
    if (t < opening.TotalTicks()) {
      keys = opening.KeysAt(t);
    } else {
      if (held == 0) keys = RandomKeys(rng, held);
      --held;
    }
    if (!replay.Tick(keys)) {
      std::fprintf(stderr, "soak: %s: the tick stopped at %lld (seed %llu)\n", zone.c_str(),
                   static_cast<long long>(t), static_cast<unsigned long long>(seed));
      return false;
    }
    if (auto broken = BrokenInvariant(replay.State())) {
      std::fprintf(stderr, "soak: %s: after tick %lld (seed %llu): %s\n", zone.c_str(),
                   static_cast<long long>(t + 1), static_cast<unsigned long long>(seed),
                   broken->c_str());
      return false;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const Game& g = replay.GetGame();
  std::printf("soak: %s: %lld ticks in %.1f s, %lld deaths, %lld wins, %lld restarts, %d enemies, "
              "laser clock at %lld\n",
              fs::path(zone).filename().c_str(), static_cast<long long>(ticks), seconds,
              static_cast<long long>(g.Deaths()), static_cast<long long>(g.Wins()),
              static_cast<long long>(g.Restarts()), replay.State().EnemyCount,
              static_cast<long long>(replay.State().LaserTick));
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int64_t ticks = 200000;
  uint64_t seed = 1;
  int generated = 0;
  fs::path solutions;
  std::vector<std::string> zones;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--ticks" && i + 1 < argc) {
      ticks = std::stoll(argv[++i]);
    } else if (a == "--seed" && i + 1 < argc) {
      seed = std::stoull(argv[++i]);
    } else if (a == "--generated" && i + 1 < argc) {
      generated = std::stoi(argv[++i]);
    } else if (a == "--solutions" && i + 1 < argc) {
      solutions = argv[++i];
    } else if (fs::is_directory(a)) {
      std::vector<std::string> found;
      for (const auto& entry : fs::directory_iterator(a)) {
        if (entry.path().extension() == ".qrn") found.push_back(entry.path().string());
      }
      std::sort(found.begin(), found.end());
      zones.insert(zones.end(), found.begin(), found.end());
    } else {
      zones.push_back(a);
    }
  }
  std::mt19937_64 rng(seed);
  const fs::path folder = fs::temp_directory_path() / ("quarn-soak-" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (int k = 0; k < generated; ++k) {
    const fs::path file = folder / ("generated-" + std::to_string(k + 1) + ".qrn");
    std::ofstream(file, std::ios::binary) << GeneratedZone(rng, k % 2 == 0);
    zones.push_back(file.string());
  }
  bool ok = true;
  for (const std::string& zone : zones) {
    KeyScript opening;
    const fs::path keys = solutions / fs::path(zone).filename().replace_extension(".keys");
    if (!solutions.empty() && fs::exists(keys)) {
      auto read = ReadKeyScript(keys.string());
      if (auto* error = std::get_if<KeyScriptError>(&read)) {
        std::fprintf(stderr, "soak: %s\n", error->Describe().c_str());
        return 1;
      }
      opening = std::get<KeyScript>(read);
    }
    ok = Soak(zone, opening, ticks, rng()) && ok;
  }
  fs::remove_all(folder);
  return ok ? 0 : 1;
}
