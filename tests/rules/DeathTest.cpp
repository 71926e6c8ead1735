// DeathTest.cpp — KillPlr and the death animation: one death, 46 ticks of circles, the figure
// wiped.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "Harness.h"

namespace quarn::test {
namespace {

ZoneLayout IntoLaser() { return {{"WWWWW", "W.Sa.", "WWWWW"}}; }

TEST(Death, TheAnimationRuns46TicksAndLeavesNoCircles) {
  RecordingPainter painter;
  Play p(IntoLaser(), false, &painter);
  p.Keys("1 right");
  ASSERT_NE(p.S().Dying, 0);
  EXPECT_FLOAT_EQ(p.S().DeathPhase, 1.0f);
  EXPECT_EQ(painter.VisibleFigures(), 5u);  // pass 1 only, at phase 1
  p.Ticks(45);
  EXPECT_NE(p.S().Dying, 0);
  EXPECT_EQ(p.S().DeathPhase, 9.999995f);
  EXPECT_EQ(painter.VisibleFigures(), 5u);
  painter.ClearCalls();
  p.Ticks(1);
  EXPECT_EQ(p.S().Dying, 0);
  EXPECT_EQ(painter.Count("Circle"), 5);  // the erase only
  EXPECT_EQ(painter.VisibleFigures(), 0u);
}

TEST(Death, CirclesAreLightBlueAroundTheCellMiddleWithRadii2ToTheKPlusPhase) {
  RecordingPainter painter;
  Play p(IntoLaser(), false, &painter);
  painter.ClearCalls();
  p.Keys("1 right");
  std::vector<std::string> circles;
  for (const std::string& c : painter.Calls) {
    if (c.rfind("Circle", 0) == 0) circles.push_back(c);
  }
  ASSERT_EQ(circles.size(), 5u);
  EXPECT_EQ(circles[0], "Circle 100 60 2 64 128 255");
  EXPECT_EQ(
      circles[1], "Circle 100 60 " + [] {
        std::ostringstream out;
        out.precision(17);
        out << std::pow(2.0, 1.5);
        return out.str();
      }() + " 64 128 255");
  EXPECT_EQ(circles[4], "Circle 100 60 8 64 128 255");
}

TEST(Death, TheFigureIsWipedOnceWhenThePhaseReaches4) {
  // Killed by an enemy after walking onto floor: the cell holds 1 and is wiped at phase 4.
  RecordingPainter painter;
  Play p(IntoLaser(), false, &painter);
  p.Keys("1 left");  // (1,1) now holds 1
  painter.ClearCalls();
  p.G().KillPlr(DeathCause::Enemy);
  int ticks = 0;
  while (p.Code(1, 1) == tile::Start) {
    p.Ticks(1);
    ++ticks;
  }
  EXPECT_EQ(ticks, 15);  // 1 + 15 x 0.2 = 4
  EXPECT_EQ(painter.Calls.back().rfind("Circle", 0), 0u);
  EXPECT_EQ(painter.Count("Nakr 1 1 0"), 1);
  p.Ticks(10);
  EXPECT_EQ(painter.Count("Nakr 1 1 0"), 1);
}

TEST(Death, APlayerDeadOnAnOpenLaserDoorStaysDrawn) {
  Play p({{"WWWWW", "WSa.W", "WWWWW"}, 1, {1, 1, 1}, {"1", "0", "0"}});
  p.Keys("1 right");
  p.G().KillPlr(DeathCause::Enemy);
  p.Ticks(46);
  EXPECT_EQ(p.Code(2, 1), tile::LaserOpenA);
}

TEST(Death, ASecondKillIsIgnoredAndDyingDropsThePocket) {
  Play p({{"WWWWWW", "WSRR.W", "WWWWWW"}});
  p.Keys("1 right");
  EXPECT_EQ(p.S().PotatoesCarried, 1);
  p.G().KillPlr(DeathCause::Enemy);
  p.G().KillPlr(DeathCause::Enemy);
  EXPECT_EQ(p.G().Deaths(), 1);
  EXPECT_EQ(p.Sound().Starts(GameSound::Die), 1);
  EXPECT_EQ(p.Sound().Stops(GameSound::Walk), 1);
  EXPECT_EQ(p.S().PotatoesCarried, 0);
  EXPECT_EQ(p.S().Panel.KapsaWidth, 75);  // the strip keeps its width
  const double left = p.S().TimeLeft;
  p.Ticks(30);
  EXPECT_EQ(p.S().TimeLeft, left);  // the countdown has stopped
  p.Keys("5 right");
  EXPECT_EQ(p.Cell(), std::make_pair(2, 1));  // a dead player does not move
}

TEST(Death, EnterRestartsOnlyAfterAHalt) {
  Play p(IntoLaser());
  p.Keys("3 enter");
  EXPECT_EQ(p.G().Restarts(), 0);
  p.Keys("1 right\n1 enter");
  EXPECT_EQ(p.G().Restarts(), 1);
  EXPECT_EQ(p.S().GameOver, 0);
  EXPECT_EQ(p.S().Dying, 0);
  EXPECT_EQ(p.S().Died, DeathCause::None);  // the reload forgets why the last life ended
  p.Keys("1 -");
  EXPECT_EQ(p.S().GameOver, 0);
}

TEST(Death, ResumingWithTheDebuggingButtonLetsTheDeadPlayerWalk) {
  Play p(IntoLaser());
  p.Keys("1 right");
  p.G().ResumePlay();
  p.Keys("1 left");
  EXPECT_EQ(p.Cell(), std::make_pair(1, 1));
}

}  // namespace
}  // namespace quarn::test
