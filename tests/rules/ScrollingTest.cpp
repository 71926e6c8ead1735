// ScrollingTest.cpp — MoveH: the board glides a tenth of the way toward keeping the player in view.
#include <gtest/gtest.h>

#include "Harness.h"

namespace quarn::test {
namespace {

std::vector<std::string> Board(int width, int height, int sx, int sy, int ex, int ey) {
  std::vector<std::string> rows(static_cast<size_t>(height),
                                std::string(static_cast<size_t>(width), '.'));
  rows[static_cast<size_t>(sy)][static_cast<size_t>(sx)] = 'S';
  rows[static_cast<size_t>(ey)][static_cast<size_t>(ex)] = 'E';
  return rows;
}

TEST(Scrolling, From400PixelsAwayTheBoardGlides40Then36Then32Point4) {
  // The exit site at column 19 places the board at -400; the player at (9,5) wants 0.
  Play p({Board(30, 12, 9, 5, 19, 5)});
  EXPECT_DOUBLE_EQ(p.S().PoleLeft, -360);  // the loader's own glide: 40
  p.Ticks(1);
  EXPECT_DOUBLE_EQ(p.S().PoleLeft, -324);  // 36
  p.Ticks(1);
  EXPECT_DOUBLE_EQ(p.S().PoleLeft, -291.6);  // 32.4
  EXPECT_DOUBLE_EQ(p.S().PoleTop, 0);
}

TEST(Scrolling, TheViewNeverShowsPastTheLeftOrTopEdge) {
  Play p({Board(40, 30, 0, 0, 9, 5)});
  p.Ticks(10);
  EXPECT_EQ(p.S().PoleLeft, 0);
  EXPECT_EQ(p.S().PoleTop, 0);
}

TEST(Scrolling, ANarrowBoardSitsAtTheViewsRightEdge) {
  Play p({Board(15, 12, 2, 2, 9, 5)});
  p.Ticks(400);
  EXPECT_NEAR(p.S().PoleLeft, 200, 1e-9);
  EXPECT_NEAR(p.S().PoleTop, 0, 1e-9);
}

TEST(Scrolling, TheTargetFollowsTheFinePositionDuringAStep) {
  Play p({Board(40, 30, 10, 5, 20, 10), 4});
  p.Ticks(300);
  EXPECT_NEAR(p.S().PoleLeft, -40, 1e-9);  // (10,5): one cell past the anchor column
  p.Keys("1 right");  // a quarter cell on: the target is -50, a tenth of the way is taken
  EXPECT_NEAR(p.S().PoleLeft, -41, 1e-9);
}

TEST(Scrolling, TheGlideGoesOnWhilePlayIsHalted) {
  Play p({Board(40, 30, 30, 20, 9, 5)});
  p.S().GameOver = FlagTrue;
  const double before = p.S().PoleLeft;
  p.Ticks(1);
  EXPECT_LT(p.S().PoleLeft, before);
}

}  // namespace
}  // namespace quarn::test
