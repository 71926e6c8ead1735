// LaserDoorsTest.cpp — laser doors: the 60-tick clock, toggling by pattern, the kill, the sound.
#include <gtest/gtest.h>

#include "Harness.h"

namespace quarn::test {
namespace {

ZoneLayout Corridor(std::array<std::string, 3> patterns) {
  return {{"WWWWWWW", "WSa.b.W", "WWWWWWW"}, 1, {1, 1, 1}, std::move(patterns)};
}

TEST(LaserDoors, Pattern01OpensAtTick59AndClosesAtTick119KillingThePlayerInIt) {
  Play p(Corridor({"01", "1", "0"}));
  EXPECT_EQ(p.Code(2, 1), tile::LaserA);
  EXPECT_EQ(p.S().LaserTick, 1);  // the loader's own call
  p.Ticks(58);
  EXPECT_EQ(p.Code(2, 1), tile::LaserA);
  p.Ticks(1);
  EXPECT_EQ(p.S().LaserTick, 60);
  EXPECT_EQ(p.Code(2, 1), tile::LaserOpenA);
  EXPECT_EQ(p.Sound().Starts(GameSound::LaserDoors), 1);
  p.Keys("1 right");  // tick 60: onto the open door
  EXPECT_EQ(p.Cell(), std::make_pair(2, 1));
  p.Ticks(58);  // tick 118
  EXPECT_EQ(p.Code(2, 1), tile::LaserOpenA);
  EXPECT_EQ(p.S().GameOver, 0);
  p.Ticks(1);  // tick 119
  EXPECT_EQ(p.Code(2, 1), tile::LaserA);
  EXPECT_NE(p.S().GameOver, 0);
  EXPECT_EQ(p.S().Died, DeathCause::Laser);
  EXPECT_NE(p.S().Dying, 0);
  EXPECT_EQ(p.G().Deaths(), 1);
  EXPECT_EQ(p.Sound().LaserVolume(), 0);  // the player stands in the switching door
}

TEST(LaserDoors, WalkingIntoAClosedDoorKillsAndNoStepBegins) {
  Play p(Corridor({"0", "0", "0"}));
  p.Keys("1 right");
  EXPECT_NE(p.S().GameOver, 0);
  EXPECT_EQ(p.S().Died, DeathCause::Laser);
  EXPECT_EQ(p.S().Moving, 0);
  EXPECT_EQ(p.Cell(), std::make_pair(1, 1));
  EXPECT_EQ(p.Sound().Starts(GameSound::Die), 1);
  EXPECT_EQ(p.Sound().Starts(GameSound::Walk), 0);
}

TEST(LaserDoors, ASingleCharacterPatternNeverSwitches) {
  Play p(Corridor({"0", "1", "x"}));
  p.Ticks(600);
  EXPECT_EQ(p.Code(2, 1), tile::LaserA);
  EXPECT_EQ(p.Code(4, 1), tile::LaserOpenB);
  EXPECT_EQ(p.Sound().Starts(GameSound::LaserDoors), 0);
  EXPECT_EQ(p.Sound().LaserVolume(), std::nullopt);
}

TEST(LaserDoors, AnyChangeOfCharacterToggles) {
  // 012: every neighbouring pair differs, so the door toggles at every period end, and the
  // cycle 2 -> 0 toggles too.
  Play p(Corridor({"012", "0", "0"}));
  std::vector<int> seen;
  for (int period = 1; period <= 4; ++period) {
    p.Ticks(period == 1 ? 59 : 60);
    seen.push_back(p.Code(2, 1));
  }
  EXPECT_EQ(seen,
            (std::vector<int>{tile::LaserOpenA, tile::LaserA, tile::LaserOpenA, tile::LaserA}));
}

TEST(LaserDoors, AnEmptyPatternLeavesTheDoorsOpenForGood) {
  Play p(Corridor({"", "0", "0"}));
  EXPECT_EQ(p.Code(2, 1), tile::LaserOpenA);
  p.Ticks(300);
  EXPECT_EQ(p.Code(2, 1), tile::LaserOpenA);
}

TEST(LaserDoors, OnlyThePlayersOwnRowIsCaught) {
  // The player stands one full cell left of a closing door: not caught.
  Play near({{"WWWWWW", "W.Sb.W", "WWWWWW"}, 1, {1, 1, 1}, {"0", "10", "0"}});
  near.Ticks(59);
  EXPECT_EQ(near.Code(3, 1), tile::LaserB);
  EXPECT_EQ(near.S().GameOver, 0);

  // A player passing vertically through the door, between two rows, is not caught either.
  Play passing({{"WWW", "W.W", "WaW", "WSW", "WWW"}, 4, {1, 1, 1}, {"10", "0", "0"}});
  passing.Keys("57 -\n2 up");  // the door at (1,2) closes in tick 59, the player half-way to it
  EXPECT_EQ(passing.Code(1, 2), tile::LaserA);
  EXPECT_EQ(passing.S().PlayerY, 10);
  EXPECT_EQ(passing.S().GameOver, 0);
}

TEST(LaserDoors, VolumeFollowsTheNearestSwitchingDoor) {
  // Doors at distances 1 and 4 switch together: one start of the sound, at -500.
  Play two({{"WWWWWWWW", "WaSWWWaW", "WWWWWWWW"}, 1, {1, 1, 1}, {"01", "0", "0"}});
  two.Ticks(59);
  EXPECT_EQ(two.Sound().Starts(GameSound::LaserDoors), 1);
  EXPECT_EQ(two.Sound().LaserVolume(), -500);

  Play far({{"S.a"}, 1, {1, 1, 1}, {"01", "0", "0"}});
  far.Ticks(59);
  EXPECT_EQ(far.Sound().LaserVolume(), -707);  // distance 2

  std::string row = "S" + std::string(15, '.') + "b";
  Play sixteen({{row}, 1, {1, 1, 1}, {"0", "01", "0"}});
  sixteen.Ticks(59);
  EXPECT_EQ(sixteen.Sound().LaserVolume(), -2000);
}

TEST(LaserDoors, EveryDoorIsRedrawnAtEveryPeriodEnd) {
  RecordingPainter painter;
  Play p(Corridor({"0", "1", "0"}), false, &painter);
  p.Ticks(58);
  painter.ClearCalls();
  p.Ticks(1);
  EXPECT_EQ(painter.Count("Nakr 2 1 16"), 1);
  EXPECT_EQ(painter.Count("Nakr 4 1 20"), 1);
}

}  // namespace
}  // namespace quarn::test
