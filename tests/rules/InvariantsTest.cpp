// InvariantsTest.cpp — the soak's and fuzzer's checker sees a broken state, and a played one passes.
#include <gtest/gtest.h>

#include <functional>

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

}  // namespace
}  // namespace quarn::test
