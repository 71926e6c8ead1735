// ShownAreaTest.cpp — a board that skips cells already showing their frame and draws cells out of
// view only when they come into view ends every step with the same pixels as one that draws
// every call at once: random cells, blink frames, laser caps, moving figures, beams and circles.
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

TEST(ShownArea, DrawingOnlyWhatShowsLeavesTheSamePixelsAsDrawingEverything) {
  TestGraphics g;
  BoardRenderer everything{g.Base()}, lazy{g.Base()};
  auto s = std::make_unique<GameState>();
  uint8_t tileSize = 0;
  ASSERT_FALSE(everything.LoadGraphics(tileSize).has_value());
  ASSERT_FALSE(lazy.LoadGraphics(tileSize).has_value());
  s->TileSize = tileSize;
  s->BoardWidth = Columns;
  s->BoardHeight = Rows;
  everything.ResizeBoard(Columns * 40, Rows * 40);
  lazy.ResizeBoard(Columns * 40, Rows * 40);
  s->EnemySteps = {8, 6, 4};
  s->PlayerSteps = 8;

  std::mt19937 rng(12345);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const int tiles[] = {tile::Space,     tile::Wall,   tile::HotPotato, tile::Target,
                       tile::HotPotato, tile::Target, tile::LaserA,    tile::LaserOpenB};
  for (int y = 0; y < Rows; ++y)
    for (int x = 0; x < Columns; ++x) s->Board.Set(x, y, tiles[pick(8)]);

  int shownWithCells = 0;
  for (int step = 0; step < 400; ++step) {
    s->LaserTick = step;
    // The view wanders over the board, now and then partly off it.
    const SDL_Rect view{pick(Columns * 40) - 100, pick(Rows * 40) - 100, 130 + pick(120),
                        90 + pick(120)};
    lazy.SetShownArea(view);
    if (pick(10) == 0) s->Board.Set(pick(Columns), pick(Rows), tiles[pick(8)]);
    for (int y = 0; y < Rows; ++y)
      for (int x = 0; x < Columns; ++x) {
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
    if (pick(3) == 0) {
      const double x1 = pick(Columns * 40), y1 = pick(Rows * 40), x2 = pick(Columns * 40);
      everything.XorLine(x1, y1, x2, y1 + 3, {255, 0, 0});
      lazy.XorLine(x1, y1, x2, y1 + 3, {255, 0, 0});
    }
    if (pick(5) == 0) {
      const double cx = pick(Columns * 40), cy = pick(Rows * 40), radius = 5 + pick(200);
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
        ASSERT_EQ(PixelAt(everything, x, y), static_cast<const uint32_t*>(
                                                  b.pixels)[y * b.pitch / 4 + x] & 0xFFFFFF)
            << "step " << step << " at " << x << "," << y;
      }
    }
    if (inside.w > 40 && inside.h > 40) ++shownWithCells;
    if (step % 50 == 49) {
      ASSERT_TRUE(SamePixels(a, *lazy.Surface())) << "step " << step;
    }
  }
  EXPECT_GT(shownWithCells, 100);
  // Cells out of view and cells that kept their frame were not copied.
  EXPECT_LT(lazy.CellCopies(), everything.CellCopies() * 4 / 5);
}

}  // namespace
}  // namespace quarn::test
