// KeyboardTest.cpp — key state from events, the flush, and which arrow key a poll chooses.
#include <gtest/gtest.h>

#include "game/GameState.h"
#include "game/Keyboard.h"

namespace quarn::test {
namespace {

class KeyboardTest : public ::testing::Test {
 protected:
  // One poll per call, as the player routine makes once per tick.
  int Poll() { return board.ChooseArrowKey(); }

  KeyState keys;
  Keyboard board{keys};
};

TEST_F(KeyboardTest, KeyStateAnswersDownNowOrPressedSinceTheLastQuery) {
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Space), 0);
  keys.KeyDown(vk::Space);
  EXPECT_NE(keys.GetAsyncKeyState(vk::Space), 0);
  EXPECT_NE(keys.GetAsyncKeyState(vk::Space), 0) << "held keys stay down";
  keys.KeyUp(vk::Space);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Space), 0);

  // A tap between two queries counts once, and only for the key queried.
  keys.KeyDown(vk::R);
  keys.KeyUp(vk::R);
  keys.KeyDown(vk::Enter);
  keys.KeyUp(vk::Enter);
  EXPECT_NE(keys.GetAsyncKeyState(vk::R), 0);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::R), 0);
  EXPECT_NE(keys.GetAsyncKeyState(vk::Enter), 0);

  // Codes outside 1..255 are never down and are not an error.
  for (int code : {-1, 0, 256, 1000}) {
    keys.KeyDown(code);
    EXPECT_EQ(keys.GetAsyncKeyState(code), 0) << code;
  }
}

TEST_F(KeyboardTest, FocusLossReleasesEverything) {
  keys.KeyDown(vk::Left);
  keys.KeyDown(vk::Ctrl);
  keys.KeyDown(vk::R);
  keys.KeyUp(vk::R);
  keys.ReleaseAll();
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Left), 0);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::Ctrl), 0);
  EXPECT_EQ(keys.GetAsyncKeyState(vk::R), 0);
  EXPECT_EQ(Poll(), 0);
}

TEST_F(KeyboardTest, FlushClearsPressesButNotHeldKeysOrHoldCounts) {
  keys.KeyDown(vk::Up);
  Poll();
  Poll();
  keys.KeyDown(1);
  keys.KeyUp(1);
  keys.KeyDown(255);
  keys.KeyUp(255);
  keys.KeyDown(vk::Space);
  keys.KeyUp(vk::Space);
  board.FlushKeys();
  EXPECT_EQ(keys.GetAsyncKeyState(1), 0);
  EXPECT_EQ(keys.GetAsyncKeyState(255), 0);
  EXPECT_FALSE(board.SpaceDown());
  EXPECT_EQ(board.HoldCount(dir::Up), 2);
  EXPECT_EQ(Poll(), vk::Up);
  EXPECT_EQ(board.HoldCount(dir::Up), 3);
}

TEST_F(KeyboardTest, SpaceDownSeesATapOnce) {
  EXPECT_FALSE(board.SpaceDown());
  keys.KeyDown(vk::Space);
  keys.KeyUp(vk::Space);
  EXPECT_TRUE(board.SpaceDown());
  EXPECT_FALSE(board.SpaceDown());
}

TEST_F(KeyboardTest, MostRecentlyPressedArrowWins) {
  EXPECT_EQ(Poll(), 0);
  keys.KeyDown(vk::Left);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Poll(), vk::Left);
  keys.KeyDown(vk::Up);
  EXPECT_EQ(Poll(), vk::Up);  // 1 poll against 11
  EXPECT_EQ(Poll(), vk::Up);
  keys.KeyUp(vk::Up);
  EXPECT_EQ(Poll(), vk::Left);
  EXPECT_EQ(board.HoldCount(dir::Left), 13);
  EXPECT_EQ(board.HoldCount(dir::Up), 0);

  // The later key wins also when it comes earlier in the order.
  keys.KeyUp(vk::Left);
  keys.KeyDown(vk::Down);
  Poll();
  Poll();
  keys.KeyDown(vk::Right);
  EXPECT_EQ(Poll(), vk::Right);
  keys.KeyDown(vk::Left);
  EXPECT_EQ(Poll(), vk::Left);
}

TEST_F(KeyboardTest, TiesGoLeftUpRightDown) {
  keys.KeyDown(vk::Right);
  keys.KeyDown(vk::Left);
  EXPECT_EQ(Poll(), vk::Left);
  keys.KeyUp(vk::Left);
  keys.KeyUp(vk::Right);
  Poll();
  keys.KeyDown(vk::Down);
  keys.KeyDown(vk::Right);
  keys.KeyDown(vk::Up);
  EXPECT_EQ(Poll(), vk::Up);
  keys.KeyUp(vk::Up);
  EXPECT_EQ(Poll(), vk::Right);
}

TEST_F(KeyboardTest, ATapBetweenPollsStepsOnce) {
  keys.KeyDown(vk::Down);
  keys.KeyUp(vk::Down);
  EXPECT_EQ(Poll(), vk::Down);
  EXPECT_EQ(board.HoldCount(dir::Down), 1);
  EXPECT_EQ(Poll(), 0);
  EXPECT_EQ(board.HoldCount(dir::Down), 0);
}

TEST_F(KeyboardTest, AKeyHeldAlone1000PollsIsNoLongerChosen) {
  keys.KeyDown(vk::Right);
  for (int poll = 1; poll <= 999; ++poll) ASSERT_EQ(Poll(), vk::Right) << "poll " << poll;
  EXPECT_EQ(Poll(), 0);
  EXPECT_EQ(Poll(), 0);
  // Another arrow is still chosen while it is held, and the old one never again.
  keys.KeyDown(vk::Up);
  EXPECT_EQ(Poll(), vk::Up);
  keys.KeyUp(vk::Up);
  EXPECT_EQ(Poll(), 0);
  // Releasing for one poll starts the count again.
  keys.KeyUp(vk::Right);
  EXPECT_EQ(Poll(), 0);
  keys.KeyDown(vk::Right);
  EXPECT_EQ(Poll(), vk::Right);
  EXPECT_EQ(board.HoldCount(dir::Right), 1);
  // Held on and on, the count stops at 1000 instead of running out of its type.
  for (int poll = 0; poll < 5000; ++poll) Poll();
  EXPECT_EQ(board.HoldCount(dir::Right), 1000);
  EXPECT_EQ(Poll(), 0);
}

TEST(Directions, OffsetsOfEveryCode) {
  const int dx[] = {0, -1, 0, 1, 0, 0};
  const int dy[] = {0, 0, -1, 0, 1, 0};
  for (int code = 0; code <= 5; ++code) {
    EXPECT_EQ(DirDX(code), dx[code]) << code;
    EXPECT_EQ(DirDY(code), dy[code]) << code;
  }
  EXPECT_EQ(DirDX(-1), 0);
  EXPECT_EQ(DirDY(37), 0);
  EXPECT_EQ(DirDX(vk::Left - 36), -1);
}

}  // namespace
}  // namespace quarn::test
