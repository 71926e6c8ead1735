// InvariantsTest.cpp — the soak's and fuzzer's checker sees a broken state, and a played one passes;
// the board's list of animated cells follows every change that play, going back and openings make.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "Harness.h"
#include "game/Invariants.h"

namespace quarn::test {
namespace {

TEST(Invariants, APlayedZoneKeepsThemAndEachKindOfBreakIsSeen) {
  const ZoneLayout zone{{"WWWWWWW", "WS.R.CW", "W+.a.EW", "WWWWWWW"}, 2, {3, 1, 1}, {"01", "0", "0"}};
  Play p(zone);
  ASSERT_EQ(BrokenInvariant(p.S()), std::nullopt);
  p.Keys("40 right\n30 down\n200 left");
  EXPECT_EQ(BrokenInvariant(p.S()), std::nullopt);

  const std::vector<std::pair<const char*, std::function<void(GameState&)>>> breaks = {
      {"a code outside the table in the margin", [](GameState& s) { s.Board.Set(-2, 130, 24); }},
      {"the player off the grid", [](GameState& s) { s.PlayerX = 151 * s.PlayerSteps; }},
      {"an enemy of kind 0", [](GameState& s) { s.Enemies[0].Kind = 0; }},
      {"an enemy whose kind has no steps", [](GameState& s) { s.EnemySteps[0] = 0; }},
      {"a parked count past the table", [](GameState& s) { s.SavedEnemyCount = 102; }},
      {"potatoes carried below 0", [](GameState& s) { s.PotatoesCarried = -1; }},
      {"a flag of 1", [](GameState& s) { s.HasKey = 1; }},
      {"a beam counter past its start", [](GameState& s) { s.RadioCounter = 256; }},
      {"time below 0", [](GameState& s) { s.TimeLeft = -0.01; }},
  };
  for (const auto& [what, breakIt] : breaks) {
    GameState s = p.S();
    breakIt(s);
    EXPECT_NE(BrokenInvariant(s), std::nullopt) << what;
  }
  // Only the whole-board check looks at the cells.
  GameState s = p.S();
  s.Board.Set(3, 1, -1);
  EXPECT_EQ(BrokenInvariant(s, false), std::nullopt);
  EXPECT_NE(BrokenInvariant(s, true), std::nullopt);
}

// Potatoes picked up and delivered, laser doors switching, boxes put down, restarts, deaths, wins
// and going back over all of them: after each stretch of random play the list of animated cells a
// tick visits is what the board holds (the checker's whole-board look), in the live state and in
// a copy of it, as going back keeps copies.
TEST(Invariants, TheListOfAnimatedCellsFollowsPlayGoingBackAndOpenings) {
  std::mt19937_64 rng(38);
  int64_t picked = 0;
  for (int round = 0; round < 24; ++round) {
    Replay replay(round % 2 == 0);
    ASSERT_FALSE(replay.Open(RandomZone(rng)));
    for (int stretch = 0; stretch < 30; ++stretch) {
      const std::vector<int> keys = RandomKeys(rng);
      const int ticks = static_cast<int>(rng() % 70) + 1;
      for (int t = 0; t < ticks; ++t) replay.Tick(keys);
      if (rng() % 3 == 0) replay.Back(static_cast<int64_t>(rng() % 150));
      ASSERT_EQ(BrokenInvariant(replay.State()), std::nullopt)
          << "round " << round << ", stretch " << stretch;
      const GameState copy = replay.State();
      ASSERT_EQ(BrokenInvariant(copy), std::nullopt) << "round " << round << " (a copy)";
    }
    picked += replay.Sound().Starts(GameSound::HotPotato);
  }
  EXPECT_GT(picked, 0) << "no potato was ever picked up: the list never lost a cell";
}

}  // namespace
}  // namespace quarn::test
