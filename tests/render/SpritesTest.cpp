// SpritesTest.cpp — the moving figures: enemy frames, the player at fine positions, trail strips.
#include <gtest/gtest.h>

#include "TestGraphics.h"

namespace quarn::test {
namespace {

class Sprites : public ::testing::Test {
 protected:
  void SetUp() override {
    uint8_t tileSize = 0;
    ASSERT_FALSE(r.LoadGraphics(tileSize).has_value());
    s->TileSize = tileSize;
    r.ResizeBoard(6 * 40, 6 * 40);
    // Walls everywhere, so that any floor on the board was put there by a trail strip.
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) s->Board.Set(x, y, tile::Wall);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) r.Nakr(*s, x, y);
  }
  // The first and one-past-last columns of row y that show the floor.
  std::pair<int, int> FloorColumns(int y) const {
    int first = -1, end = -1;
    for (int x = 0; x < 240; ++x)
      if (PixelAt(r, x, y) == Floor) {
        if (first < 0) first = x;
        end = x + 1;
      }
    return {first, end};
  }
  std::pair<int, int> FloorRows(int x) const {
    int first = -1, end = -1;
    for (int y = 0; y < 240; ++y)
      if (PixelAt(r, x, y) == Floor) {
        if (first < 0) first = y;
        end = y + 1;
      }
    return {first, end};
  }

  const uint32_t Floor = BandColour(0, 0);
  TestGraphics g;
  BoardRenderer r{g.Base()};
  std::unique_ptr<GameState> s = std::make_unique<GameState>();
};

TEST_F(Sprites, EnemyFrameFollowsItsProgressThroughTheStep) {
  s->EnemySteps = {8, 5, 3};
  EnemyRec& e = s->Enemies[0];
  e.Kind = 1;
  e.Y = 8;
  // (fine x, frame): 4 of 8 units into a step shows frame 2 of 4.
  for (auto [x, frame] : {std::pair{16, 0}, {17, 0}, {18, 1}, {20, 2}, {23, 3}}) {
    e.X = static_cast<int16_t>(x);
    r.NakrN(*s, 0);
    const int left = 40 * x / 8;
    EXPECT_EQ(PixelAt(r, left, 40), BandColour(13, frame)) << x;
    EXPECT_EQ(PixelAt(r, left + 39, 79), BandColour(13, frame)) << x;
  }
  // Vertical progress counts the same; each kind draws from its own picture.
  e.Kind = 3;
  e.X = 3;
  e.Y = 5;  // 2 of 3 units into the step below cell (1, 1): frame Int(2 * 4 / 3) = 2
  r.NakrN(*s, 0);
  EXPECT_EQ(PixelAt(r, 40, 67), BandColour(15, 2));
}

TEST_F(Sprites, EnemyMovingRightLeavesFloorBehind) {
  s->EnemySteps = {4, 4, 4};
  EnemyRec& e = s->Enemies[3];
  e.Kind = 2;
  e.X = 5;  // one unit right of cell (1, 1), that is 10 pixels
  e.Y = 4;
  e.Dir = dir::Right;
  r.NakrN(*s, 3);
  // Strip from Round(40 * 4 / 4) = 40, Round(40 / 4 + 1) = 11 wide; the enemy covers 50..89.
  EXPECT_EQ(FloorColumns(60), std::make_pair(40, 50));
  EXPECT_EQ(PixelAt(r, 50, 60), BandColour(14, 1));
}

TEST_F(Sprites, PlayerFigureStandsAtItsFractionalPosition) {
  s->PlayerSteps = 16;
  s->PlayerX = 16 + 1;  // 2.5 pixels right of cell 1
  s->PlayerY = 32;
  s->MoveDir = dir::None;
  r.NakrF(*s);
  // The figure covers the pixels whose centres lie in [42.5, 82.5): 42..81.
  EXPECT_EQ(PixelAt(r, 41, 100), BandColour(2, 1));
  EXPECT_EQ(PixelAt(r, 42, 100), BandColour(1, 0));
  EXPECT_EQ(PixelAt(r, 81, 100), BandColour(1, 0));
  EXPECT_EQ(PixelAt(r, 82, 100), BandColour(2, 1));
  // No direction: no trail strip anywhere.
  EXPECT_EQ(FloorColumns(100).first, -1);
}

TEST_F(Sprites, TrailStripsForSixteenUnitsPerCell) {
  // The step is 2.5 pixels; the strip is Round(3.5) = 4 pixels.
  r.Vycisti(1, 0, 16, dir::Left);  // x Round(41.5) = 42
  EXPECT_EQ(FloorColumns(20), std::make_pair(42, 46));
  EXPECT_EQ(FloorRows(43), std::make_pair(0, 40));

  r.Vycisti(17 + 16, 32, 16, dir::Right);  // x Round(80) = 80, y 80
  EXPECT_EQ(FloorColumns(100), std::make_pair(80, 84));
  EXPECT_EQ(FloorRows(81), std::make_pair(80, 120));

  r.Vycisti(48, 49, 16,
            dir::Up);  // y Int(40 * 65 / 16 - 1) = Int(161.5) = 161: floored, not rounded
  EXPECT_EQ(FloorRows(130), std::make_pair(161, 165));
  EXPECT_EQ(FloorColumns(162), std::make_pair(120, 160));

  r.Vycisti(64, 17, 16, dir::Down);  // y Int(40 * 16 / 16) = 40, x 160
  EXPECT_EQ(FloorRows(170), std::make_pair(40, 44));
}

TEST_F(Sprites, NoDirectionNoStrip) {
  for (int sm : {0, 5, -1}) r.Vycisti(17, 17, 16, sm);
  for (int y = 0; y < 240; y += 7) EXPECT_EQ(FloorColumns(y).first, -1) << y;
}

}  // namespace
}  // namespace quarn::test
