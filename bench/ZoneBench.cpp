// ZoneBench.cpp — parsing the largest zone a file can describe.
#include <benchmark/benchmark.h>

#include <string>

#include "zone/Zone.h"

namespace {

// A 150 x 130 zone: walls around, every kind of tile inside, 100 enemies.
std::string LargestZone() {
  std::string text = "\"Největší zóna\"\n150\n130\n5\n8\n6\n4\n01\n0011\n012\n";
  const std::string inner = "..R.C.K.D.B.O.Q.T.a.b.c..";
  int enemies = 0;
  for (int y = 0; y < 130; ++y) {
    std::string row(150, 'W');
    if (y > 0 && y < 129) {
      for (int x = 1; x < 149; ++x) row[static_cast<size_t>(x)] = inner[static_cast<size_t>((x + y) % inner.size())];
      if (y % 13 == 0 && enemies < 100) {
        for (int x = 10; x < 140 && enemies < 100; x += 13, ++enemies) row[static_cast<size_t>(x)] = "+-*"[enemies % 3];
      }
    }
    text += row + "\n";
  }
  text[text.find("..R") + 1] = 'S';
  return text;
}

void BM_ParseLargestZone(benchmark::State& state) {
  const std::string text = LargestZone();
  for (auto _ : state) {
    auto zone = quarn::ParseZoneText(text, "largest.qrn");
    benchmark::DoNotOptimize(zone);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseLargestZone);

}  // namespace


