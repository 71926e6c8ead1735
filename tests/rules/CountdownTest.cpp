// CountdownTest.cpp — the carrying countdown: its step, the shown number, the Tick sound, the end.
#include <gtest/gtest.h>

#include "Harness.h"

namespace quarn::test {
namespace {

// A potato right of the start; the player picks it up and stands still, carrying it.
ZoneLayout Carry(int steps) { return {{"WWWWWWW", "WSR...W", "WT....W", "WWWWWWW"}, steps}; }

TEST(Countdown, With5StepsItShows49FromThe30thTickOfCarrying) {
  Play p(Carry(5));
  p.Keys("1 right");  // the step into the potato counts it: this is the first tick of carrying
  EXPECT_EQ(p.S().PotatoesCarried, 1);
  p.Ticks(28);
  EXPECT_EQ(p.S().Panel.TimeShown, 50);
  EXPECT_EQ(p.Sound().Starts(GameSound::Tick), 0);
  p.Ticks(1);
  EXPECT_EQ(p.S().Panel.TimeShown, 49);
  EXPECT_EQ(p.Sound().Starts(GameSound::Tick), 1);
  EXPECT_NEAR(p.S().TimeLeft, 49.0, 1e-9);
}

TEST(Countdown, TheTickSoundPlaysOnEveryDropOfTheShownNumber) {
  Play p(Carry(1));
  p.Keys("1 right");
  p.Ticks(6 * 10 - 1);  // ten units of six ticks each
  EXPECT_EQ(p.S().Panel.TimeShown, 40);
  EXPECT_EQ(p.Sound().Starts(GameSound::Tick), 10);
}

TEST(Countdown, ItRunsOnlyWhileCarrying) {
  Play p(Carry(1));
  p.Ticks(100);
  EXPECT_EQ(p.S().TimeLeft, 50);
  p.Keys("1 right\n60 -");
  const double carrying = p.S().TimeLeft;
  EXPECT_LT(carrying, 50);
  p.G().DeliverWhereStanding();  // deliver where he stands: the pocket empties, the time is not
                                 // reset
  p.Ticks(60);
  EXPECT_EQ(p.S().TimeLeft, carrying);
}

TEST(Countdown, ReachingZeroKillsTheCarrierAndShowsZero) {
  // 50 units of 6 ticks: the 300th tick of carrying ends it (give or take rounding of d).
  Play p(Carry(1));
  p.Keys("1 right\n295 -");
  EXPECT_EQ(p.S().GameOver, 0);
  p.Ticks(10);
  EXPECT_NE(p.S().GameOver, 0);
  EXPECT_EQ(p.S().Died, DeathCause::TimeOut);  // the line under the board says why
  EXPECT_EQ(p.S().TimeLeft, 0);
  EXPECT_EQ(p.S().Panel.TimeShown, 0);
  EXPECT_EQ(p.S().PotatoesCarried, 0);
  EXPECT_EQ(p.G().Deaths(), 1);
}

TEST(Countdown, ATimeBonusAdds30AndShowsTheCeiling) {
  Play p(Carry(1));
  p.Keys("1 right");
  p.S().TimeLeft = 12.3;
  p.Keys("1 left\n1 down");  // back to the start, then onto T
  EXPECT_EQ(p.Code(1, 2), tile::Space);
  EXPECT_NEAR(p.S().TimeLeft, 12.3 + 30 - 2.0 / 6, 1e-9);
  EXPECT_EQ(p.S().Panel.TimeShown, 42);
}

TEST(Countdown, TheBonusShowsItsOwnSum) {
  Play p(Carry(1));
  p.S().TimeLeft = 12.3;
  p.Keys("1 down");  // not carrying: the bonus alone changes the number
  EXPECT_DOUBLE_EQ(p.S().TimeLeft, 42.3);
  EXPECT_EQ(p.S().Panel.TimeShown, 43);
}

}  // namespace
}  // namespace quarn::test
