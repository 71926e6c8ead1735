// BeamTest.cpp — the delivery beam: its 85 frames, their geometry, and no fragments after restarts.
#include <gtest/gtest.h>

#include "Harness.h"

namespace quarn::test {
namespace {

// Delivers on the first tick: potato at (2,1), target below it at (2,2); more floor to the right.
ZoneLayout Delivery() { return {{"WWWWWWWWW", "WSR.....W", "WWCWWWWCW", "WWWWWWWWW"}}; }

std::vector<std::string> Lines(const RecordingPainter& painter) {
  std::vector<std::string> lines;
  for (const std::string& c : painter.Calls) {
    if (c.rfind("Line", 0) == 0) lines.push_back(c);
  }
  return lines;
}

TEST(Beam, IsVisibleFor85TicksAndLeavesNothingBehind) {
  RecordingPainter painter;
  Play p(Delivery(), false, &painter);
  p.Keys("1 right");
  EXPECT_EQ(p.S().RadioCounter, 255);
  EXPECT_EQ(painter.VisibleFigures(), 4u);
  p.Ticks(84);
  EXPECT_EQ(p.S().RadioCounter, 3);
  EXPECT_EQ(painter.VisibleFigures(), 4u);
  painter.ClearCalls();
  p.Ticks(1);
  EXPECT_EQ(p.S().RadioCounter, 0);
  EXPECT_EQ(Lines(painter).size(), 4u);  // the erase only
  EXPECT_EQ(painter.VisibleFigures(), 0u);
}

TEST(Beam, TheFirstFrameRunsFromThePlayerToInsetCornersOfTheTarget) {
  RecordingPainter painter;
  Play p(Delivery(), false, &painter);
  painter.ClearCalls();
  p.Keys("1 right");
  const std::vector<std::string> lines = Lines(painter);
  ASSERT_EQ(lines.size(), 4u);
  // From the middle of (2,1) to the corners of (2,2), 40 x 255 / 765 = 13.33 px inside, yellow.
  const std::string from = "Line 100 60 ";
  EXPECT_EQ(lines[0], from + "93.333333333333329 93.333333333333329 255 255 0");
  EXPECT_EQ(lines[1], from + "106.66666666666667 93.333333333333329 255 255 0");
  EXPECT_EQ(lines[2], from + "93.333333333333329 106.66666666666667 255 255 0");
  EXPECT_EQ(lines[3], from + "106.66666666666667 106.66666666666667 255 255 0");
}

TEST(Beam, FollowsThePlayerWhoWalksAway) {
  RecordingPainter painter;
  Play p(Delivery(), false, &painter);
  p.Keys("1 right");
  painter.ClearCalls();
  p.Keys("1 right");
  const std::vector<std::string> lines = Lines(painter);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].rfind("Line 100 60 ", 0), 0u);  // erase from the old place
  EXPECT_EQ(lines[4].rfind("Line 140 60 ", 0), 0u);  // draw from the new one
  EXPECT_EQ(painter.VisibleFigures(), 4u);
}

TEST(Beam, ASecondDeliveryReplacesTheFirstBeam) {
  RecordingPainter painter;
  Play p({{"WWWWWWWWW", "WSR..R..W", "WWCWWWCWW", "WWWWWWWWW"}}, false, &painter);
  p.Keys("1 right\n3 right");
  EXPECT_EQ(p.S().RadioCounter, 255 - 9);
  p.Keys("1 right");  // carrying the potato of (5,1) to the target below (6,1)
  EXPECT_EQ(p.S().RadioX, 6);
  EXPECT_EQ(p.S().RadioCounter, 255);
  EXPECT_EQ(painter.VisibleFigures(), 4u);
  p.Ticks(85);
  EXPECT_EQ(painter.VisibleFigures(), 0u);
}

TEST(Beam, RestartBetweenTwoTicksLeavesNoFragment) {
  // Mended fault: the Restart label, clicked between ticks while the beam fades, left its frame
  // drawn for good on the fresh board.
  RecordingPainter painter;
  Play p(Delivery(), false, &painter);
  p.Keys("1 right\n10 -");
  ASSERT_GT(p.S().RadioCounter, 0);
  p.G().Restart();
  EXPECT_EQ(p.G().Restarts(), 1);
  p.Ticks(100);
  EXPECT_EQ(p.S().RadioCounter, 0);
  EXPECT_EQ(painter.VisibleFigures(), 0u);
}

TEST(Beam, CtrlRDuringTheBeamLeavesNoFragment) {
  RecordingPainter painter;
  Play p(Delivery(), false, &painter);
  p.Keys("1 right\n10 -\n1 ctrl+r\n100 -");
  EXPECT_EQ(p.G().Restarts(), 1);
  EXPECT_EQ(painter.VisibleFigures(), 0u);
}

TEST(Beam, RestartWhileDyingLeavesNoCircles) {
  RecordingPainter painter;
  Play p({{"WWWWW", "WSa.W", "WWWWW"}}, false, &painter);
  p.Keys("1 right\n10 -");
  ASSERT_NE(p.S().Dying, 0);
  p.G().Restart();
  p.Ticks(60);
  EXPECT_EQ(painter.VisibleFigures(), 0u);
  p.Keys("1 right\n10 -\n1 enter\n60 -");
  EXPECT_EQ(painter.VisibleFigures(), 0u);
}

TEST(Beam, TheDebuggingDeliveryBetweenTicksKeepsTheFramesPaired) {
  // Mended fault: the button replaced a live beam without erasing its frame.
  RecordingPainter painter;
  Play p(Delivery(), false, &painter);
  p.Keys("1 right\n10 -");
  p.G().DeliverWhereStanding();
  EXPECT_EQ(p.S().RadioX, 2);
  EXPECT_EQ(p.S().RadioY, 1);
  EXPECT_EQ(painter.VisibleFigures(), 4u);
  p.Ticks(85);
  EXPECT_EQ(painter.VisibleFigures(), 0u);
}

}  // namespace
}  // namespace quarn::test
