// RenderBench.cpp — drawing the largest board, and what one tick draws, on the board surface.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "render/BoardRenderer.h"

namespace {

// The largest zone's board: walls around and between, every kind of tile and laser door.
struct LargestBoard {
  LargestBoard() {
    uint8_t tileSize = 0;
    ok = !painter.LoadGraphics(tileSize).has_value();
    s->TileSize = tileSize;
    s->BoardWidth = quarn::MaxBoardWidth;
    s->BoardHeight = quarn::MaxBoardHeight;
    for (int y = 0; y < s->BoardHeight; ++y)
      for (int x = 0; x < s->BoardWidth; ++x) {
        const bool edge = x == 0 || y == 0 || x == s->BoardWidth - 1 || y == s->BoardHeight - 1;
        s->Board.Set(x, y, edge || y % 2 == 0 ? quarn::tile::Wall : (x * 7 + y) % 24);
      }
    painter.ResizeBoard(40 * s->BoardWidth, 40 * s->BoardHeight);
  }
  quarn::BoardRenderer painter;  // pictures from the Graphics folder beside the benchmark
  std::unique_ptr<quarn::GameState> s = std::make_unique<quarn::GameState>();
  bool ok = false;
};

void BM_DrawLargestBoard(benchmark::State& state) {
  LargestBoard b;
  if (!b.ok) return state.SkipWithError("no Graphics folder beside the benchmark");
  for (auto _ : state) {
    b.painter.ResizeBoard(6000, 5200);
    for (int y = 0; y < b.s->BoardHeight; ++y)
      for (int x = 0; x < b.s->BoardWidth; ++x) b.painter.Nakr(*b.s, x, y);
  }
  state.SetItemsProcessed(state.iterations() * 150 * 130);
}
BENCHMARK(BM_DrawLargestBoard)->Unit(benchmark::kMillisecond);

// A moving player and ten moving enemies: their trail strips and figures, as in one busy tick.
void BM_DrawOneTickOfSprites(benchmark::State& state) {
  LargestBoard b;
  if (!b.ok) return state.SkipWithError("no Graphics folder beside the benchmark");
  b.s->PlayerSteps = 16;
  b.s->PlayerX = 16 * 5;
  b.s->PlayerY = 16 * 5;
  b.s->MoveDir = quarn::dir::Right;
  b.s->EnemySteps = {8, 6, 4};
  for (int c = 0; c < 10; ++c) {
    auto& e = b.s->Enemies[static_cast<size_t>(c)];
    e.Kind = static_cast<int16_t>(1 + c % 3);
    e.X = static_cast<int16_t>(b.s->EnemySteps[static_cast<size_t>(c % 3)] * (10 + c * 3) + 1);
    e.Y = static_cast<int16_t>(b.s->EnemySteps[static_cast<size_t>(c % 3)] * 9);
    e.Dir = quarn::dir::Right;
  }
  for (auto _ : state) {
    b.painter.NakrF(*b.s);
    for (int c = 0; c < 10; ++c) b.painter.NakrN(*b.s, c);
  }
}
BENCHMARK(BM_DrawOneTickOfSprites)->Unit(benchmark::kMicrosecond);

// The death animation's largest frame: five circles up to 4096 pixels across the largest board,
// drawn and erased.
void BM_DeathCirclesLargest(benchmark::State& state) {
  LargestBoard b;
  if (!b.ok) return state.SkipWithError("no Graphics folder beside the benchmark");
  for (auto _ : state) {
    for (int pass = 0; pass < 2; ++pass)
      for (double k : {0.0, 0.5, 1.0, 1.5, 2.0})
        b.painter.XorCircle(3000, 2600, std::pow(2.0, k + 9.999995), {64, 128, 255});
  }
}
BENCHMARK(BM_DeathCirclesLargest)->Unit(benchmark::kMicrosecond);

}  // namespace
