// BoxesTest.cpp — boxes: taking one from a stack, putting it down, pushing it up again.
#include <gtest/gtest.h>

#include "Harness.h"

namespace quarn::test {
namespace {

// A box put down on the floor left of the player, who then faces it: S at (2,1) walks right one
// cell, gets a box from the debugging button and puts it down behind him at (2,1).
Play BoxBehindPlayer(int steps) {
  Play p({{"WWWWWWW", "W.S...W", "WWWWWWW"}, steps});
  p.Keys(std::to_string(steps) + " right\n1 -");
  p.G().GiveKeyAndBox();
  p.Keys("1 space");
  EXPECT_EQ(p.Code(2, 1), tile::Box);
  EXPECT_EQ(p.S().HasBox, 0);
  return p;
}

TEST(Boxes, PutDownBoxIsPickedUpOnTheTwentiethPushAndThePlayerMovesInThatTick) {
  Play p = BoxBehindPlayer(4);
  p.Keys("19 left");
  EXPECT_EQ(p.Code(2, 1), tile::Box);
  EXPECT_EQ(p.S().PlayerX, 12);
  EXPECT_EQ(p.S().MoveMemory[1], 19);
  p.Keys("1 left");
  EXPECT_EQ(p.Code(2, 1), tile::Start);
  EXPECT_NE(p.S().HasBox, 0);
  EXPECT_EQ(p.S().Moving, FlagTrue);
  EXPECT_EQ(p.S().PlayerX, 11);  // the first fine unit of the step, in the same tick
  EXPECT_EQ(p.S().MoveMemory[1], 0);
}

TEST(Boxes, ReleasingTheKeyKeepsThePushCount) {
  Play p = BoxBehindPlayer(1);
  p.Keys("12 left\n30 -\n7 left");
  EXPECT_EQ(p.Code(2, 1), tile::Box);
  p.Keys("1 left");
  EXPECT_NE(p.S().HasBox, 0);
  EXPECT_EQ(p.Cell(), std::make_pair(2, 1));
}

TEST(Boxes, APlayerHoldingABoxNeverPicksUpAnother) {
  Play p = BoxBehindPlayer(1);
  p.G().GiveKeyAndBox();
  p.Keys("300 left");
  EXPECT_EQ(p.Code(2, 1), tile::Box);
  EXPECT_EQ(p.S().MoveMemory[1], 1);
  EXPECT_EQ(p.Cell(), std::make_pair(3, 1));
}

TEST(Boxes, PuttingDownNeedsAnEmptyCellBehind) {
  // Before his first step "behind" is his own cell, which holds 1: he keeps the box.
  Play p({{"WWWWW", "WS..W", "WWWWW"}});
  p.G().GiveKeyAndBox();
  p.Keys("1 space");
  EXPECT_NE(p.S().HasBox, 0);
  p.Keys("1 right\n1 -\n1 space");  // now the start cell, emptied, is behind him
  EXPECT_EQ(p.S().HasBox, 0);
  EXPECT_EQ(p.Code(1, 1), tile::Box);
}

// A stack B right of the cell (3,1); the player arrives there with a finished step so the overlay
// is shown over the stack.
Play NextToStack() {
  Play p({{"WWWWWW", "WS.BBW", "WWWWWW"}});
  p.Keys("1 right\n1 -");
  EXPECT_TRUE(p.S().Panel.BoxOverlayVisible);
  EXPECT_EQ(p.S().Panel.BoxOverlayLeft, 2 + 40 * 3);
  EXPECT_EQ(p.S().Panel.BoxOverlayTop, 2 + 40 * 1);
  return p;
}

TEST(Boxes, OnlyTheTenthPushAgainstAStackTakesABox) {
  Play p = NextToStack();
  p.Keys("9 right");
  EXPECT_EQ(p.S().HasBox, 0);
  p.Keys("1 right");
  EXPECT_NE(p.S().HasBox, 0);
  EXPECT_EQ(p.S().Panel.BoxesLeft, 9);
  EXPECT_EQ(p.Cell(), std::make_pair(2, 1));  // the step itself is always refused
  p.Keys("1 space");                          // handed back next to the stack
  EXPECT_EQ(p.S().HasBox, 0);
  EXPECT_EQ(p.S().Panel.BoxesLeft, 10);
  p.Keys("200 right");  // no step has begun, so the count goes on past 10 and takes nothing
  EXPECT_EQ(p.S().HasBox, 0);
  EXPECT_EQ(p.S().Panel.BoxesLeft, 10);
}

TEST(Boxes, EmptyStacksGiveNothing) {
  Play p = NextToStack();
  p.S().Panel.BoxesLeft = 0;
  p.Keys("10 right");
  EXPECT_EQ(p.S().HasBox, 0);
  EXPECT_EQ(p.S().Panel.BoxesLeft, 0);
}

TEST(Boxes, NoBoxIsTakenWhileTheOverlayIsHidden) {
  // Starting next to the stack: no step has finished, so the overlay is not shown.
  Play p({{"WWWWW", "WSBBW", "WWWWW"}});
  p.Keys("10 right");
  EXPECT_FALSE(p.S().Panel.BoxOverlayVisible);
  EXPECT_EQ(p.S().HasBox, 0);
}

TEST(Boxes, OverlayGoesToTheFirstStackInTheOrderLeftUpRightDownAndHidesAwayFromStacks) {
  Play p({{"WWWWWW", "WWBWWW", "WBS.BW", "W..B.W", "WWWWWW"}});
  p.Keys("1 down\n1 up");  // finish a step back on the start cell
  EXPECT_TRUE(p.S().Panel.BoxOverlayVisible);
  EXPECT_EQ(p.S().Panel.BoxOverlayLeft, 2 + 40 * 1);
  EXPECT_EQ(p.S().Panel.BoxOverlayTop, 2 + 40 * 2);
  p.Keys("1 right");  // (3,2): stacks right and below; right comes first
  EXPECT_EQ(p.S().Panel.BoxOverlayLeft, 2 + 40 * 4);
  EXPECT_EQ(p.S().Panel.BoxOverlayTop, 2 + 40 * 2);
  p.Keys("1 left\n1 down");  // (2,3): the only stack beside it is (3,3)
  EXPECT_EQ(p.S().Panel.BoxOverlayLeft, 2 + 40 * 3);
  EXPECT_EQ(p.S().Panel.BoxOverlayTop, 2 + 40 * 3);
  p.Keys("1 left");  // (1,3): the stack above, at (1,2)
  EXPECT_EQ(p.S().Panel.BoxOverlayLeft, 2 + 40 * 1);
  EXPECT_EQ(p.S().Panel.BoxOverlayTop, 2 + 40 * 2);
}

TEST(Boxes, OverlayHidesAfterAStepAwayFromTheStacks) {
  Play p = NextToStack();
  p.Keys("1 left");
  EXPECT_FALSE(p.S().Panel.BoxOverlayVisible);
  p.G().GiveKeyAndBox();
  p.Keys("1 space");  // away from the stacks the box goes on the floor, not back
  EXPECT_EQ(p.S().Panel.BoxesLeft, 10);
  EXPECT_EQ(p.Code(2, 1), tile::Box);
}

TEST(Boxes, ThePushCounterStopsAt255) {
  // Mended fault: a byte that wrapped would reach 10 again on push 266 and take a second box.
  Play p = NextToStack();
  p.Keys("10 right\n1 space");
  EXPECT_EQ(p.S().Panel.BoxesLeft, 10);
  p.Keys("250 right");
  EXPECT_EQ(p.S().MoveMemory[1], 255);
  p.Keys("20 right");
  EXPECT_EQ(p.S().MoveMemory[1], 255);
  EXPECT_EQ(p.S().HasBox, 0);
  EXPECT_EQ(p.S().Panel.BoxesLeft, 10);
}

}  // namespace
}  // namespace quarn::test
