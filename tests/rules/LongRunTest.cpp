// LongRunTest.cpp — counters that grow with play time, and what survives a reload of a changed file.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <fstream>

#include "Harness.h"

namespace quarn::test {
namespace {

TEST(LongRun, TheLaserClockKeepsTimeBeyondThirtyTwoBits) {
  // Pattern "01" switches group a at every period end. Started just below 2^31 ticks, the clock
  // crosses it and the doors still switch exactly when the tick count is a multiple of 60.
  Play p({{"WWWWWWW", "WSa.b.W", "WWWWWWW"}, 1, {1, 1, 1}, {"01", "1", "0"}});
  const int64_t start = INT_MAX - 90;
  p.S().LaserTick = start;
  int switches = 0;
  int previous = p.Code(2, 1);
  for (int64_t tick = start + 1; tick <= start + 200; ++tick) {
    p.Ticks(1);
    ASSERT_EQ(p.S().LaserTick, tick);
    const int now = p.Code(2, 1);
    EXPECT_EQ(now != previous, tick % 60 == 0) << tick;
    switches += now != previous;
    previous = now;
  }
  EXPECT_EQ(switches, 3);
}

TEST(LongRun, LongLaserPatternsAreDecodedOnce) {
  // 3 MB of pattern and 600 periods: decoding it every period took minutes here.
  std::string pattern(3 << 20, '0');
  pattern[1] = '1';
  Play p({{"WWWW", "WSaW", "WWWW"}, 1, {1, 1, 1}, {pattern, "1", "0"}});
  const auto start = std::chrono::steady_clock::now();
  p.Ticks(600 * 60);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(p.Code(2, 1), tile::LaserA);  // opened at period 1, closed at period 2, then stays
}

TEST(LongRun, TheEnemySwitchRevivesOnlyEnemiesOfTheCurrentLoad) {
  Play p({{"WWWWW", "W+.+W", "WWWWW", "S"}});
  p.G().ToggleEnemies();
  ASSERT_EQ(p.S().EnemyCount, 0);
  // The author removes the enemies and sets the kind's steps to 0, then restarts.
  std::ofstream(p.Path(), std::ios::binary)
      << ZoneText({{"WWWWW", "W...W", "WWWWW", "S"}, 1, {0, 1, 1}, {"0", "0", "0"}});
  p.G().Restart();
  ASSERT_EQ(p.S().EnemyCount, 0);
  p.G().ToggleEnemies();
  EXPECT_EQ(p.S().EnemyCount, 0);
  p.Ticks(10);
  // Unchanged, the switch parks and restores as before.
  std::ofstream(p.Path(), std::ios::binary)
      << ZoneText({{"WWWWW", "W+.+W", "WWWWW", "S"}, 1, {1, 1, 1}, {"0", "0", "0"}});
  p.G().Restart();
  p.G().ToggleEnemies();
  p.G().Restart();
  EXPECT_EQ(p.S().EnemyCount, 2);
  p.G().ToggleEnemies();
  p.G().ToggleEnemies();
  EXPECT_EQ(p.S().EnemyCount, 2);
}

}  // namespace
}  // namespace quarn::test
