// NakrTest.cpp — one cell from its tile code: laser caps, squeezed walls, blink frames.
#include <gtest/gtest.h>

#include "TestGraphics.h"

namespace quarn::test {
namespace {

class Nakr : public ::testing::Test {
 protected:
  void SetUp() override {
    uint8_t tileSize = 0;
    ASSERT_FALSE(r.LoadGraphics(tileSize).has_value());
    s->TileSize = tileSize;
    r.ResizeBoard(5 * 40, 5 * 40);
  }
  // The colour of every row of the cell's column x0 + 20, top to bottom.
  std::vector<uint32_t> Column(int cx, int cy) const {
    std::vector<uint32_t> rows;
    for (int y = 0; y < 40; ++y) rows.push_back(PixelAt(r, cx * 40 + 20, cy * 40 + y));
    return rows;
  }
  // Expected column: `count` rows of each colour, in order.
  static std::vector<uint32_t> Bands(std::initializer_list<std::pair<int, uint32_t>> bands) {
    std::vector<uint32_t> rows;
    for (auto [count, colour] : bands) rows.insert(rows.end(), static_cast<size_t>(count), colour);
    return rows;
  }

  TestGraphics g;
  BoardRenderer r{g.Base()};
  std::unique_ptr<GameState> s = std::make_unique<GameState>();
};

TEST_F(Nakr, WallBetweenTwoLaserDoorsIsSqueezedUnderBothCaps) {
  s->Board.Set(1, 0, tile::LaserA);  // active, group a above
  s->Board.Set(1, 1, tile::Wall);
  s->Board.Set(1, 2, tile::LaserOpenB);  // open, group b below
  r.Nakr(*s, 1, 1);
  // Top cap: the bottom rows of group a's picture; bottom cap: the top rows of group b's; the
  // wall's two halves share the 24 rows between.
  EXPECT_EQ(Column(1, 1), Bands({{8, BandColour(16, 2)},
                                 {12, BandColour(2, 0)},
                                 {12, BandColour(2, 1)},
                                 {8, BandColour(17, 0)}}));
  // The caps span the whole width of the cell.
  EXPECT_EQ(PixelAt(r, 40, 41), BandColour(16, 2));
  EXPECT_EQ(PixelAt(r, 79, 78), BandColour(17, 0));
}

TEST_F(Nakr, WallBesideOneLaserDoorKeepsThirtyTwoRows) {
  s->Board.Set(2, 1, tile::Wall);
  s->Board.Set(2, 2, tile::LaserC);
  s->Board.Set(2, 3, tile::Wall);
  r.Nakr(*s, 2, 1);
  r.Nakr(*s, 2, 3);
  EXPECT_EQ(Column(2, 1),
            Bands({{16, BandColour(2, 0)}, {16, BandColour(2, 1)}, {8, BandColour(18, 0)}}));
  EXPECT_EQ(Column(2, 3),
            Bands({{8, BandColour(18, 2)}, {16, BandColour(2, 0)}, {16, BandColour(2, 1)}}));
}

TEST_F(Nakr, OpenLaserDoorShowsFloorWhileTheWallBesideKeepsItsCap) {
  for (int group = 0; group < 3; ++group) {
    const int x = group + 1;
    s->Board.Set(x, 1, tile::LaserOpenA + group);
    s->Board.Set(x, 2, tile::Wall);
    r.Nakr(*s, x, 1);
    r.Nakr(*s, x, 2);
    EXPECT_EQ(Column(x, 1), Bands({{40, BandColour(0, 0)}})) << group;
    EXPECT_EQ(Column(x, 2)[0], BandColour(16 + group, 2)) << group;
    EXPECT_EQ(Column(x, 2)[8], BandColour(2, 0)) << group;
  }
}

TEST_F(Nakr, ActiveLaserDoorShowsItsBeamBandAndPlainTilesTheirOwnPicture) {
  s->Board.Set(0, 0, tile::LaserB);
  s->Board.Set(1, 0, tile::Wall);  // no laser above or below: the whole wall
  s->Board.Set(2, 0, tile::DoorKey);
  s->Board.Set(3, 0, tile::Start);
  r.Nakr(*s, 0, 0);
  r.Nakr(*s, 1, 0);
  r.Nakr(*s, 2, 0);
  r.Nakr(*s, 3, 0);
  EXPECT_EQ(Column(0, 0), Bands({{40, BandColour(17, 1)}}));
  EXPECT_EQ(Column(1, 0), Bands({{20, BandColour(2, 0)}, {20, BandColour(2, 1)}}));
  EXPECT_EQ(Column(2, 0), Bands({{40, BandColour(11, 0)}}));
  EXPECT_EQ(Column(3, 0), Bands({{40, BandColour(1, 0)}}));
}

TEST_F(Nakr, PotatoAndTargetBlinkWithTheLaserClock) {
  s->Board.Set(0, 0, tile::HotPotato);
  s->Board.Set(1, 0, tile::Target);
  // (LaserTick, potato frame, target frame): the frame is the lower one when LaserTick / 3
  // (potato) or LaserTick / 5 (target) rounds to an even number; 2 / 3 rounds up, not down.
  struct Case {
    int tick, potato, target;
  };
  for (Case c : {Case{0, 1, 1}, Case{2, 0, 1}, Case{3, 0, 0}, Case{5, 1, 0}, Case{7, 1, 0},
                 Case{8, 0, 1}, Case{13, 1, 0}}) {
    s->LaserTick = c.tick;
    r.Nakr(*s, 0, 0);
    r.Nakr(*s, 1, 0);
    EXPECT_EQ(PixelAt(r, 20, 20), BandColour(7, c.potato)) << "tick " << c.tick;
    EXPECT_EQ(PixelAt(r, 60, 20), BandColour(8, c.target)) << "tick " << c.tick;
  }
}

TEST_F(Nakr, CodeNineShowsTheTopLeftOfTheBuiltInPicture) {
  s->Board.Set(1, 1, tile::Unused9);
  r.Nakr(*s, 1, 1);
  const SDL_Surface* builtIn = r.Pictures().Slot(9);
  for (auto [x, y] : {std::pair{5, 5}, {12, 3}, {39, 39}}) {
    const auto* row = reinterpret_cast<const uint32_t*>(
        static_cast<const uint8_t*>(builtIn->pixels) + y * builtIn->pitch);
    EXPECT_EQ(PixelAt(r, 40 + x, 40 + y), row[x] & 0xFFFFFFu);
  }
}

}  // namespace
}  // namespace quarn::test
