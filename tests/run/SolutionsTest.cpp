// SolutionsTest.cpp — every zone of every zone set can be won: its author's run, played
// headless, reaches the exit. One test per zone, so that the large zones replay side by side and a
// failure names the set and the zone.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../zone/ZoneSets.h"
#include "run/Replay.h"
#include "zone/Zone.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

// The first set is the one the game has always shipped; the order of play of every set is
// checked below, set by set.
TEST(ShippedZones, TwentyOrMoreInTheOrderOfPlay) {
  const std::vector<ShippedZoneSet> sets = ShippedZoneSets();
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(sets.front().Name, "Základy");
  EXPECT_GE(sets.front().Zones.size(), 20u);
}

class ShippedZoneSetOrder : public ::testing::TestWithParam<ShippedZoneSet> {};

// File names begin with their place in the order of play, so the start screen lists them so; and
// every run belongs to a zone of the set, so a run saved under a misspelt name is not left behind.
TEST_P(ShippedZoneSetOrder, NumberedFromOneInTheOrderOfPlayEveryRunAZone) {
  const ShippedZoneSet& set = GetParam();
  const std::vector<std::string>& names = set.Zones;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string number = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1) + "-";
    EXPECT_TRUE(names[i].rfind(number, 0) == 0)
        << set.Name << ": " << names[i] << " is zone " << i + 1 << " of the set, so its name "
        << "begins " << number;
  }
  for (const std::string& run : set.RunNames) {
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), run))
        << set.Name << ": " << (set.Runs / (run + ".keys")) << " is the run of no zone";
  }
}

INSTANTIATE_TEST_SUITE_P(Sets, ShippedZoneSetOrder, ::testing::ValuesIn(ShippedZoneSets()),
                         [](const ::testing::TestParamInfo<ShippedZoneSet>& set) {
                           return set.param.Tag;
                         });

// A set beyond the first combines what the first taught: somewhere in it stands every element
// kind a zone can hold (each enemy kind, each laser group, air, slam and locked doors, keys, box
// stacks and time bonuses).
TEST(ShippedZones, EverySetBeyondTheFirstUsesEveryElementKind) {
  for (const ShippedZoneSet& set : ShippedZoneSets()) {
    if (set.Name == "Základy") continue;
    std::string used;
    for (const std::string& name : set.Zones) {
      auto zone = ParseZoneFile((set.Folder / (name + ".qrn")).string());
      if (!zone.Ok()) continue;  // the per-zone tests say why
      for (const std::string& row : zone.Value().Rows) used += row;
    }
    for (const std::string kind : {"+", "-", "*", "a", "b", "c", "O?", "Q", "D", "K", "B", "T"}) {
      EXPECT_NE(used.find_first_of(kind), std::string::npos)
          << set.Name << ": no zone holds " << kind;
    }
  }
}

class ShippedZoneSolution : public ::testing::TestWithParam<ShippedZone> {};

TEST_P(ShippedZoneSolution, WinsWithoutADeath) {
  const fs::path zone = GetParam().Zone;
  const fs::path keys = GetParam().Run;
  ASSERT_TRUE(fs::exists(keys)) << "no solution " << keys;
  auto script = ReadKeyScript(keys.string());
  ASSERT_TRUE(std::holds_alternative<KeyScript>(script))
      << std::get<KeyScriptError>(script).Describe();

  // Declining the replay halts play at the win, so the state shows how the zone ended.
  Replay replay(false);
  const auto opened = replay.Open(zone.string());
  ASSERT_FALSE(opened.has_value()) << opened->Describe();
  ASSERT_FALSE(replay.Run(std::get<KeyScript>(script)).has_value());
  EXPECT_EQ(replay.Prompts().Asked(), 1) << replay.Report(false);
  EXPECT_EQ(replay.GetGame().Wins(), 1) << replay.Report(false);
  EXPECT_EQ(replay.GetGame().Deaths(), 0) << replay.Report(false);
  EXPECT_EQ(replay.State().PotatoesLeft, 0);
  EXPECT_EQ(replay.State().GameOver, FlagTrue);
}

// A player who reads the zone before moving must not die for it: no enemy, laser door or
// countdown reaches a figure left standing at the start for the first 20 seconds.
TEST_P(ShippedZoneSolution, SparesAPlayerStandingStillForTwentySeconds) {
  const fs::path zone = GetParam().Zone;
  auto script = ParseKeyScript("1280 -\n", "still.keys");
  ASSERT_TRUE(std::holds_alternative<KeyScript>(script));
  Replay replay(false);
  const auto opened = replay.Open(zone.string());
  ASSERT_FALSE(opened.has_value()) << opened->Describe();
  ASSERT_FALSE(replay.Run(std::get<KeyScript>(script)).has_value());
  EXPECT_EQ(replay.GetGame().Deaths(), 0) << replay.Report(false);
}

INSTANTIATE_TEST_SUITE_P(Zones, ShippedZoneSolution, ::testing::ValuesIn(EveryShippedZone()),
                         [](const ::testing::TestParamInfo<ShippedZone>& zone) {
                           return zone.param.TestName;
                         });

}  // namespace
}  // namespace quarn::test
