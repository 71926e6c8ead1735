// EnemiesTest.cpp — enemies: the generator, claiming cells, stepping, contact and blocked enemies.
#include <gtest/gtest.h>

#include "Harness.h"

namespace quarn::test {
namespace {

TEST(Enemies, TheGeneratorStartsWithTheSameValuesInEveryRun) {
  Random rng;
  EXPECT_NEAR(rng.Next(), 0.7055475, 5e-8);
  EXPECT_NEAR(rng.Next(), 0.5334240, 5e-8);
  EXPECT_NEAR(rng.Next(), 0.5795186, 5e-8);
}

// The directions an unseeded generator gives, Int(r x 4) + 1, in order.
std::vector<int> Directions(int n) {
  Random rng;
  std::vector<int> dirs;
  for (int i = 0; i < n; ++i) dirs.push_back(static_cast<int>(Int(rng.Next() * 4)) + 1);
  return dirs;
}

TEST(Enemies, OnItsFirstTickAnEnemyDrawsADirectionFromItsOwnCell) {
  Play p({{"WWWWW", "W.+.W", "WWWWW", "S"}});
  EXPECT_EQ(p.S().Enemies[0].Dir, 0);
  p.Ticks(1);
  EXPECT_EQ(p.S().Enemies[0].Dir, Directions(1)[0]);
  EXPECT_EQ(p.S().Enemies[0].Stepping, 0);
  EXPECT_EQ(p.S().Enemies[0].X, 2);
}

TEST(Enemies, ABoxedInEnemyDrawsEveryTickAndNeverMoves) {
  Play p({{"WWW", "W+W", "WWW", "S"}});
  p.Ticks(12);
  const std::vector<int> dirs = Directions(12);
  EXPECT_EQ(p.S().Enemies[0].Dir, dirs.back());
  EXPECT_EQ(p.S().Enemies[0].X, 1);
  EXPECT_EQ(p.S().Enemies[0].Y, 1);
  EXPECT_EQ(p.Code(1, 1), tile::Enemy1);
}

TEST(Enemies, TheSameZonePlaysTheSameWayInEveryRun) {
  const ZoneLayout zone{{"WWWWWWW", "W+..-.W", "W.W.W.W", "W..*..W", "WWWWWWW", "S"}, 1, {2, 3, 4}};
  Play a(zone);
  Play b(zone);
  a.Ticks(500);
  b.Ticks(500);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(a.S().Enemies[static_cast<size_t>(i)].X, b.S().Enemies[static_cast<size_t>(i)].X);
    EXPECT_EQ(a.S().Enemies[static_cast<size_t>(i)].Y, b.S().Enemies[static_cast<size_t>(i)].Y);
  }
  EXPECT_EQ(a.R().Report(true), b.R().Report(true));
}

// A corridor with one enemy of 4 steps per cell facing right, at (1,1), that has drawn "right".
Play EnemyFacingRight(const std::string& row1, int enemySteps, BoardPainter* painter = nullptr) {
  Play p({{"WWWWWWWWW", row1, "WWWWWWWWW"}, 1, {enemySteps, 1, 1}}, false, painter);
  p.S().Enemies[0].Dir = dir::Right;
  return p;
}

TEST(Enemies, AStepClaimsTheCellAheadAndClearsTheCellLeftBehindWhenItFinishes) {
  RecordingPainter painter;
  Play p = EnemyFacingRight("W+.....W", 4, &painter);
  painter.ClearCalls();
  p.Ticks(1);
  EXPECT_EQ(p.S().Enemies[0].X, 5);  // the first fine unit in the tick of the decision
  EXPECT_EQ(p.S().Enemies[0].Stepping, FlagTrue);
  EXPECT_EQ(p.Code(1, 1), tile::Enemy1);
  EXPECT_EQ(p.Code(2, 1), tile::Enemy1);
  EXPECT_EQ(painter.Count("NakrN 0 5 4"), 1);
  p.Ticks(3);
  EXPECT_EQ(p.S().Enemies[0].X, 8);
  EXPECT_EQ(p.S().Enemies[0].Stepping, 0);
  EXPECT_EQ(p.Code(1, 1), tile::Space);
  EXPECT_EQ(painter.Calls.back(), "Vycisti 7 4 4 3");
  p.Ticks(1);
  EXPECT_EQ(p.S().Enemies[0].X, 9);  // and on it goes while the way is free
}

TEST(Enemies, TheLowerIndexClaimsASharedCellFirst) {
  Play p({{"WWWWW", "W+.+W", "WWWWW", "S"}});
  p.S().Enemies[0].Dir = dir::Right;
  p.S().Enemies[1].Dir = dir::Left;
  p.Ticks(1);
  EXPECT_EQ(p.S().Enemies[0].X, 2);
  EXPECT_EQ(p.S().Enemies[1].X, 3);
  EXPECT_EQ(p.S().Enemies[1].Dir, Directions(1)[0]);
}

TEST(Enemies, EnemiesStayOffEverythingButFloorAndThePlayersCell) {
  const char* blockers[] = {"W", "O", "Q", "R", "C", "D", "K", "B", "T", "a", "-"};
  for (const char* b : blockers) {
    Play p = EnemyFacingRight(std::string("W+") + b + ".....W", 1);
    p.Ticks(1);
    EXPECT_EQ(p.S().Enemies[0].X, 1) << b;
  }
}

TEST(Enemies, ContactNeedsTheSameRowAndLessThanNineTenthsOfACell) {
  // Enemy steps 20, the player waiting at (3,1): after 21 fine steps the enemy is at 2.05
  // cells, 0.95 away; after 23 at 2.15, 0.85 away.
  Play p = EnemyFacingRight("W+.S...W", 20);
  p.Ticks(21);
  EXPECT_EQ(p.S().GameOver, 0);
  p.Ticks(2);
  EXPECT_NE(p.S().GameOver, 0);
  EXPECT_EQ(p.S().Died, DeathCause::Enemy);
  EXPECT_EQ(p.G().Deaths(), 1);
}

TEST(Enemies, AnEnemyOneRowAwayNeverKills) {
  Play p({{"WWWWWWW", "W+....W", "W..S..W", "WWWWWWW"}});
  p.S().Enemies[0].Dir = dir::Right;
  p.Ticks(4);
  EXPECT_EQ(p.S().Enemies[0].X, 5);  // it passed right above the player
  EXPECT_EQ(p.S().GameOver, 0);
}

TEST(Enemies, AnEnemyMayWalkIntoThePlayersCell) {
  Play p({{"WWWW", "WS+W", "WWWW"}});
  p.Ticks(200);  // it draws until it faces left, then steps onto the player's cell (code 1)
  EXPECT_NE(p.S().GameOver, 0);
  EXPECT_EQ(p.S().Enemies[0].X, 1);
}

TEST(Enemies, ABlockedEnemyNeverKillsEvenAPlayerStandingInItsCell) {
  // The player reaches the enemy's cell through an open laser door, which the enemy cannot enter,
  // so the enemy stays boxed in and only draws directions.
  Play p({{"WWWWWW", "WSa+WW", "WWWWWW"}, 1, {1, 1, 1}, {"1", "0", "0"}});
  p.Keys("1 right\n1 right\n200 -");
  EXPECT_EQ(p.Cell(), std::make_pair(3, 1));
  EXPECT_EQ(p.S().Enemies[0].X, 3);
  EXPECT_EQ(p.S().GameOver, 0);
}

TEST(Enemies, AnEnemyCannotLeaveTheBoardsIndexRange) {
  // Mended fault: an open zone let enemies wander past the index range.
  Play p({{"+", "", "", "", "", "", "", "", "", "", "S"}});
  p.Ticks(3000);
  const EnemyRec& e = p.S().Enemies[0];
  EXPECT_TRUE(BoardGrid::InRange(e.X, e.Y));
}

TEST(Enemies, TheDebuggingButtonParksAndRestoresTheEnemies) {
  Play p({{"WWWWW", "W+.+W", "WWWWW", "S"}});
  p.G().ToggleEnemies();
  EXPECT_EQ(p.S().EnemyCount, 0);
  p.Ticks(10);
  EXPECT_EQ(p.S().Enemies[0].Dir, 0);
  p.G().ToggleEnemies();
  EXPECT_EQ(p.S().EnemyCount, 2);

  Play none({{"S"}});
  none.G().ToggleEnemies();
  EXPECT_EQ(none.S().EnemyCount, 0);  // the saved count of a new screen is 0
}

}  // namespace
}  // namespace quarn::test
