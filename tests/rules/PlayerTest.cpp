// PlayerTest.cpp — the player's steps and what each tile does to them, the win and the restarts.
#include <gtest/gtest.h>

#include <fstream>

#include "Harness.h"

namespace quarn::test {
namespace {

TEST(Player, AHeldKeyMovesOneCellEveryPlayerStepsTicks) {
  Play p({{"WWWWWWWW", "WS.....W", "WWWWWWWW"}, 3});
  p.Keys("1 right");
  EXPECT_EQ(p.S().PlayerX, 4);  // the first fine unit in the tick that decides the step
  EXPECT_EQ(p.Code(2, 1), tile::Start);
  EXPECT_EQ(p.Code(1, 1), tile::Start);
  p.Keys("2 right");
  EXPECT_EQ(p.S().Moving, 0);
  EXPECT_EQ(p.Code(1, 1), tile::Space);  // the cell left behind reverts when the step finishes
  EXPECT_EQ(p.S().MoveMemory[0], dir::Right);
  p.Keys("6 right\n5 -");
  EXPECT_EQ(p.Cell(), std::make_pair(4, 1));
  EXPECT_EQ(p.Sound().Starts(GameSound::Walk), 3);
}

TEST(Player, WallsTargetsAndShutSlamDoorsRefuseTheStepAndStopTheWalkSound) {
  Play p({{"WWWWW", "WSCWW", "W...W", "WWWWW"}});
  p.Keys("1 right\n1 up\n1 left");
  EXPECT_EQ(p.Cell(), std::make_pair(1, 1));
  EXPECT_EQ(p.Sound().Stops(GameSound::Walk), 3);
  EXPECT_EQ(p.Sound().Starts(GameSound::Walk), 0);
}

TEST(Player, AStepTowardACellOutsideTheBoardsIndexRangeIsRefused) {
  // Mended fault: an open zone edge let the player walk off the board's index range.
  Play p({{"S.."}});
  p.Keys("5 left");
  EXPECT_EQ(p.Cell(), std::make_pair(-2, 0));  // the margin itself is walkable
  EXPECT_EQ(p.S().Moving, 0);
  p.Keys("3 up");
  EXPECT_EQ(p.Cell(), std::make_pair(-2, -2));
  EXPECT_EQ(p.Code(-2, -2), tile::Start);
}

TEST(Player, AKeyOpensOneLockedDoorAndIsUsedUp) {
  RecordingPainter painter;
  Play p({{"WWWWWWW", "WSKDD.W", "WWWWWWW"}}, false, &painter);
  p.Keys("1 right");
  EXPECT_NE(p.S().HasKey, 0);
  EXPECT_EQ(p.Code(2, 1), tile::Start);
  painter.ClearCalls();
  p.Keys("1 right");
  EXPECT_EQ(p.S().HasKey, 0);
  EXPECT_EQ(p.Cell(), std::make_pair(3, 1));
  EXPECT_EQ(painter.Count("Nakr 3 1 0"), 1);  // the opened door is redrawn as floor
  p.Keys("1 right");
  EXPECT_EQ(p.Cell(), std::make_pair(3, 1));
  p.Keys("1 -");
  p.S().Panel.KeyIndicator = true;
  p.Keys("1 -");
  EXPECT_FALSE(p.S().Panel.KeyIndicator);
}

TEST(Player, ASlamDoorShutsWhenTheStepOutOfItFinishes) {
  Play p({{"WWWWWW", "WSQ..W", "WWWWWW"}, 2});
  p.Keys("2 right");
  EXPECT_EQ(p.Code(2, 1), tile::SlamDoor);
  p.Keys("1 right");
  EXPECT_EQ(p.Code(2, 1), tile::SlamDoor);
  p.Keys("1 right");
  EXPECT_EQ(p.Code(2, 1), tile::SlamLock);
  p.Keys("4 left");
  EXPECT_EQ(p.Cell(), std::make_pair(3, 1));
}

TEST(Player, AirDoorsMeltWhenAStepFinishesBesideThemButCanBeEnteredBefore) {
  Play p({{"WWWWWW", "WSO.OW", "WWOWWW", "WWWWWW"}});
  p.Keys("1 right");  // into the unmelted air door from the start cell
  EXPECT_EQ(p.Cell(), std::make_pair(2, 1));
  EXPECT_EQ(p.Code(2, 1), tile::AirDoor);
  EXPECT_EQ(p.Code(2, 2), tile::Space);  // melted beside the finished step
  EXPECT_EQ(p.Sound().Starts(GameSound::AirDoor), 1);
  p.Keys("1 right");
  EXPECT_EQ(p.Code(2, 1), tile::Space);  // the door he stood in is now beside him
  EXPECT_EQ(p.Code(4, 1), tile::Space);
  EXPECT_EQ(p.Sound().Starts(GameSound::AirDoor), 2);
}

TEST(Player, OnlyADeliveryAfterTheLastPotatoRevealsTheExit) {
  RecordingPainter painter;
  Play p({{"WWWWWWW", "WSR.R.W", "WWWCWCW", "WWWWWEW"}}, false, &painter);
  p.Keys("1 right");  // the potato at (2,1) is counted when the step begins
  EXPECT_EQ(p.S().PotatoesCarried, 1);
  EXPECT_EQ(p.S().PotatoesLeft, 1);
  EXPECT_EQ(p.S().Panel.NeedWidth, 25);
  EXPECT_EQ(p.S().Panel.NeedLeft, 800 - 5 - 25);
  EXPECT_EQ(p.S().Panel.KapsaWidth, 75);
  EXPECT_EQ(p.Sound().Starts(GameSound::HotPotato), 1);
  p.Keys("1 right");  // beside the target (3,2): delivered, but a potato is left
  EXPECT_EQ(p.S().PotatoesCarried, 0);
  EXPECT_EQ(p.S().Panel.KapsaWidth, 50);
  EXPECT_EQ(p.S().RadioCounter, 255);
  EXPECT_EQ(p.S().RadioX, 3);
  EXPECT_EQ(p.S().RadioY, 2);
  EXPECT_EQ(p.Code(5, 3), tile::Wall);
  EXPECT_EQ(p.Sound().Starts(GameSound::Target), 1);
  p.Keys("1 right");  // the last potato: still no exit
  EXPECT_EQ(p.S().PotatoesLeft, 0);
  EXPECT_EQ(p.Code(5, 3), tile::Wall);
  painter.ClearCalls();
  p.Keys("1 right");
  EXPECT_EQ(p.Code(5, 3), tile::Exit);
  EXPECT_EQ(painter.Count("Nakr 5 3 6"), 1);
}

TEST(Player, OfTwoTargetsBesideTheCellTheFirstLeftUpRightDownReceivesAndOneSoundPlays) {
  Play p({{"WWWWE", "WWSWW", "WC.CW", "WWCWW", "WWWWW"}});
  p.S().PotatoesCarried = 2;
  p.S().PotatoesLeft = 0;
  p.Keys("1 down");
  EXPECT_EQ(p.S().RadioX, 1);
  EXPECT_EQ(p.S().RadioY, 2);
  EXPECT_EQ(p.S().PotatoesCarried, 0);
  EXPECT_EQ(p.Sound().Starts(GameSound::Target), 1);
  EXPECT_EQ(p.Code(4, 0), tile::Exit);
}

TEST(Player, WinningAsksTheQuestionAndNoHaltsInFrontOfTheExit) {
  Play p({{"WWWW", "WSEW", "WWWW"}});
  p.G().DeliverWhereStanding();  // no potatoes: the debugging delivery reveals the exit
  ASSERT_EQ(p.Code(2, 1), tile::Exit);
  p.Keys("1 right");
  EXPECT_EQ(p.G().Wins(), 1);
  EXPECT_EQ(p.R().Prompts().LastPrompt(), "Vyhrál jsi!\nHrát znovu?");
  EXPECT_NE(p.S().GameOver, 0);
  EXPECT_EQ(p.Cell(), std::make_pair(1, 1));
  EXPECT_EQ(p.S().Moving, 0);
  p.Keys("5 right");
  EXPECT_EQ(p.G().Wins(), 1);
  p.G().KillPlr(DeathCause::Enemy);  // nothing can kill a player who has won
  EXPECT_EQ(p.G().Deaths(), 0);
}

TEST(Player, YesToTheQuestionReloadsTheZone) {
  Play p({{"WWWWW", "WSE.W", "WWWWW"}}, true);
  p.G().DeliverWhereStanding();
  p.Keys("1 right");
  EXPECT_EQ(p.G().Wins(), 1);
  EXPECT_EQ(p.G().Restarts(), 1);
  EXPECT_EQ(p.S().GameOver, 0);
  EXPECT_EQ(p.Code(2, 1), tile::Wall);
}

TEST(Player, CtrlRInTheMiddleOfAStepLeavesAZeroLengthStepThatMeltsBesideTheStart) {
  Play p({{"WWWWWW", "WS..OW", "WOWWWW", "WWWWWW"}, 4});
  p.Keys("2 right\n1 ctrl+r");
  EXPECT_EQ(p.G().Restarts(), 1);
  EXPECT_EQ(p.S().Moving, FlagTrue);  // kept by the reload
  EXPECT_EQ(p.S().MoveDir, 0);
  EXPECT_EQ(p.S().PlayerX, 4);
  EXPECT_EQ(p.Code(1, 2), tile::AirDoor);
  p.Keys("1 -");
  EXPECT_EQ(p.S().Moving, 0);
  EXPECT_EQ(p.Code(1, 1), tile::Space);  // the start cell's 1 is cleared
  EXPECT_EQ(p.Code(1, 2), tile::Space);  // and the air door below it melts
}

TEST(Player, APlayerLeftBetweenCellsLooksAtTheRoundedSumOfPositionAndStep) {
  // Ctrl+R half-way through a step into a zone that has lost its "S" keeps the position, 1.5
  // cells; the zero-length step then ends there. A step right looks at Round(2.5) = 2, a wall.
  Play p({{"WWWWWW", "WS...W", "WWWWWW"}, 4});
  p.Keys("1 right");
  std::ofstream(p.Path()) << ZoneText({{"WWWWWW", "W.W..W", "WWWWWW"}, 4});
  p.Keys("1 ctrl+r\n1 -");
  ASSERT_EQ(p.S().PlayerX, 6);
  ASSERT_EQ(p.S().Moving, 0);
  p.Keys("1 right");
  EXPECT_EQ(p.S().PlayerX, 6);
  p.Keys("1 left");  // Round(0.5) = 0: the wall on the left, too
  EXPECT_EQ(p.S().PlayerX, 6);
}

TEST(Player, CtrlRTakesBothKeysAndRIsNotEnough) {
  Play p({{"WWWW", "WS.W", "WWWW"}});
  p.Keys("3 r\n3 ctrl");
  EXPECT_EQ(p.G().Restarts(), 0);
  p.Keys("2 ctrl+r");
  EXPECT_EQ(p.G().Restarts(), 2);  // once per tick while both are held
}

TEST(Player, TheNewestArrowKeyWinsAndTheOlderOneReturnsWhenItIsReleased) {
  Play p({{"WWWWWWW", "W.....W", "W..S..W", "W.....W", "WWWWWWW"}});
  p.Keys("1 left\n1 left+up");
  EXPECT_EQ(p.Cell(), std::make_pair(2, 1));
  p.Keys("1 left");
  EXPECT_EQ(p.Cell(), std::make_pair(1, 1));
}

}  // namespace
}  // namespace quarn::test
