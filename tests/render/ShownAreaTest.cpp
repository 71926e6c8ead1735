// ShownAreaTest.cpp — a board that skips cells already showing their frame and draws what falls
// out of view only when it comes into view ends every step with the same pixels as one that
// draws every call at once: random cells, blink frames, laser caps, figures jumping about and
// pacing to and fro, beams and circles.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TestGraphics.h"

namespace quarn::test {
namespace {

constexpr int Columns = 12, Rows = 9;

bool SamePixels(const SDL_Surface& a, const SDL_Surface& b) {
  for (int y = 0; y < a.h; ++y) {
    if (std::memcmp(static_cast<const uint8_t*>(a.pixels) + y * a.pitch,
                    static_cast<const uint8_t*>(b.pixels) + y * b.pitch,
                    static_cast<size_t>(a.w) * 4) != 0)
      return false;
  }
  return true;
}

// With the board's own budget for copies waiting out of view, and with one so small that cells
// are drawn early all the time.
class ShownArea : public testing::TestWithParam<int64_t> {};

TEST_P(ShownArea, DrawingOnlyWhatShowsLeavesTheSamePixelsAsDrawingEverything) {
  TestGraphics g;
  BoardRenderer everything{g.Base()}, lazy{g.Base()};
  if (GetParam() > 0) lazy.LimitLogs(GetParam());
  auto s = std::make_unique<GameState>();
  uint8_t tileSize = 0;
  ASSERT_FALSE(everything.LoadGraphics(tileSize).has_value());
  ASSERT_FALSE(lazy.LoadGraphics(tileSize).has_value());
  s->TileSize = tileSize;
  s->BoardWidth = Columns;
  s->BoardHeight = Rows;
  everything.ResizeBoard(Columns * 40, Rows * 40);
  lazy.ResizeBoard(Columns * 40, Rows * 40);
  s->EnemySteps = {8, 30, 4};  // the slow kind crosses a cell in 30 ticks: a long log
  s->PlayerSteps = 8;

  std::mt19937 rng(12345);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const int tiles[] = {tile::Space,     tile::Wall,   tile::HotPotato, tile::Target,
                       tile::HotPotato, tile::Target, tile::LaserA,    tile::LaserOpenB};
  for (int y = 0; y < Rows; ++y)
    for (int x = 0; x < Columns; ++x) s->Board.Set(x, y, tiles[pick(8)]);

  // Enemies 1..4 pace along rows and columns one step a tick, turning at the board's edges, so
  // cells out of view collect long runs of trail strips and sprites.
  for (int i = 1; i <= 4; ++i) {
    auto& e = s->Enemies[static_cast<size_t>(i)];
    e.Kind = static_cast<int16_t>(1 + (i % 3));
    const int steps = s->EnemySteps[static_cast<size_t>(e.Kind - 1)];
    e.X = static_cast<int16_t>(steps * (i * 2));
    e.Y = static_cast<int16_t>(steps * (i + 1));
    e.Dir = static_cast<uint8_t>(i % 2 ? dir::Right : dir::Down);
  }
  auto pace = [&](EnemyRec& e) {
    const int steps = s->EnemySteps[static_cast<size_t>(e.Kind - 1)];
    const int maxX = (Columns - 1) * steps, maxY = (Rows - 1) * steps;
    if (e.Dir == dir::Right && e.X >= maxX) e.Dir = dir::Left;
    if (e.Dir == dir::Left && e.X <= 0) e.Dir = dir::Right;
    if (e.Dir == dir::Down && e.Y >= maxY) e.Dir = dir::Up;
    if (e.Dir == dir::Up && e.Y <= 0) e.Dir = dir::Down;
    e.X = static_cast<int16_t>(e.X + (e.Dir == dir::Right) - (e.Dir == dir::Left));
    e.Y = static_cast<int16_t>(e.Y + (e.Dir == dir::Down) - (e.Dir == dir::Up));
  };

  int shownWithCells = 0;
  SDL_Rect view{};
  for (int step = 0; step < 600; ++step) {
    s->LaserTick = step;
    // The view wanders over the board, now and then partly off it.
    // The view wanders over the board, now and then partly off it, and stays put for a while.
    if (step % 7 == 0)
      view = SDL_Rect{pick(Columns * 40) - 100, pick(Rows * 40) - 100, 130 + pick(120),
                      90 + pick(120)};
    lazy.SetShownArea(view);
    if (pick(10) == 0) s->Board.Set(pick(Columns), pick(Rows), tiles[pick(8)]);
    // Now and then every cell is drawn again (as a tick of blinking potatoes does); in between
    // only a few, so what the figures leave out of view piles up.
    const bool allCells = step % 100 < 5;
    for (int y = 0; y < Rows; ++y)
      for (int x = 0; x < Columns; ++x) {
        if (!allCells && pick(150) != 0) continue;
        everything.Nakr(*s, x, y);
        lazy.Nakr(*s, x, y);
      }
    s->PlayerX = pick(Columns * 8);
    s->PlayerY = pick(Rows * 8);
    s->MoveDir = 1 + pick(4);
    everything.NakrF(*s);
    lazy.NakrF(*s);
    auto& e = s->Enemies[0];
    e.Kind = static_cast<int16_t>(1 + pick(3));
    e.X = static_cast<int16_t>(pick(Columns * 4));
    e.Y = static_cast<int16_t>(pick(Rows * 4));
    e.Dir = static_cast<uint8_t>(1 + pick(4));
    everything.NakrN(*s, 0);
    lazy.NakrN(*s, 0);
    for (int i = 1; i <= 4; ++i) {
      pace(s->Enemies[static_cast<size_t>(i)]);
      everything.NakrN(*s, i);
      lazy.NakrN(*s, i);
    }
    if (pick(8) == 0) {
      const double x1 = pick(Columns * 40), y1 = pick(Rows * 40), x2 = pick(Columns * 40);
      everything.XorLine(x1, y1, x2, y1 + 3, {255, 0, 0});
      lazy.XorLine(x1, y1, x2, y1 + 3, {255, 0, 0});
    }
    if (pick(15) == 0) {
      const double cx = pick(Columns * 40), cy = pick(Rows * 40), radius = 5 + pick(120);
      everything.XorCircle(cx, cy, radius, {0, 128, 255});
      lazy.XorCircle(cx, cy, radius, {0, 128, 255});
    }
    // What shows is right at every step; the rest once the whole surface is read.
    const SDL_Surface& a = *everything.Surface();
    const SDL_Surface& b = *lazy.ShownSurface();
    const SDL_Rect inside{std::max(view.x, 0), std::max(view.y, 0),
                          std::min(view.x + view.w, a.w) - std::max(view.x, 0),
                          std::min(view.y + view.h, a.h) - std::max(view.y, 0)};
    for (int y = inside.y; y < inside.y + inside.h; ++y) {
      for (int x = inside.x; x < inside.x + inside.w; ++x) {
        ASSERT_EQ(PixelAt(everything, x, y),
                  static_cast<const uint32_t*>(b.pixels)[y * b.pitch / 4 + x] & 0xFFFFFF)
            << "step " << step << " at " << x << "," << y;
      }
    }
    if (inside.w > 40 && inside.h > 40) ++shownWithCells;
    if (step % 50 == 49) {
      ASSERT_TRUE(SamePixels(a, *lazy.Surface())) << "step " << step;
    }
  }
  EXPECT_GT(shownWithCells, 100);
  // Cells out of view and cells that kept their frame were not copied, and what the figures drew
  // out of view was mostly drawn over before it could show.
  EXPECT_LT(lazy.CellCopies(), everything.CellCopies() * 4 / 5);
  EXPECT_LT(lazy.CopiedPixels(), everything.CopiedPixels() * 3 / 4);
}

INSTANTIATE_TEST_SUITE_P(Budgets, ShownArea, testing::Values(int64_t{0}, int64_t{40}));

}  // namespace
}  // namespace quarn::test
