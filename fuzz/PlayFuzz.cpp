// PlayFuzz.cpp — any zone opened and played by any key script for up to 2000 ticks, with the
// state's guarantees checked after every tick. The input is the zone's text, a line "%%", then
// the key script (no such line: the whole input is the zone, played with no keys).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "game/Invariants.h"
#include "run/Replay.h"

using namespace quarn;

namespace {

constexpr int64_t MaxTicks = 2000;

// The zone of the current input, one file per fuzzing process, removed when the process ends.
struct ZoneFile {
  std::string Path = "/tmp/quarn-fuzz-play-" + std::to_string(getpid()) + ".qrn";
  ~ZoneFile() { std::remove(Path.c_str()); }
};

const std::string& ZonePath() {
  static const ZoneFile file;
  return file.Path;
}

[[noreturn]] void Broken(const std::string& what, int64_t tick) {
  std::fprintf(stderr, "play: after tick %lld: %s\n", static_cast<long long>(tick), what.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find("\n%%\n");
  const std::string_view zone = input.substr(0, split);
  const std::string_view keys =
      split == std::string_view::npos ? std::string_view{} : input.substr(split + 4);
  std::ofstream(ZonePath(), std::ios::binary | std::ios::trunc)
      .write(zone.data(), static_cast<std::streamsize>(zone.size()));

  // An odd input size answers Yes to the replay question after a win, an even one No.
  Replay replay(size % 2 == 1);
  if (replay.Open(ZonePath())) return 0;
  if (auto broken = BrokenInvariant(replay.State())) Broken(*broken, 0);
  const auto script = ParseKeyScript(keys, "fuzz.keys");
  const KeyScript none;
  const KeyScript& played = std::holds_alternative<KeyScript>(script) ? std::get<KeyScript>(script) : none;
  const std::vector<int> noKeys;
  for (int64_t t = 0; t < MaxTicks; ++t) {
    if (!replay.Tick(t < played.TotalTicks() ? played.KeysAt(t) : noKeys)) break;
    // Every cell is looked at every 50 ticks and at the end; the rest after every tick.
    if (auto broken = BrokenInvariant(replay.State(), t % 50 == 49)) Broken(*broken, t + 1);
  }
  if (auto broken = BrokenInvariant(replay.State())) Broken(*broken, replay.TicksRun());
  return 0;
}
