// SolutionsTest.cpp — every shipped zone can be won: its solution, played headless, reaches the
// exit. One test per zone, so that the large zones replay side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "run/Replay.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> ShippedZoneNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(QUARN_ZONES_DIR)) {
    if (entry.path().extension() == ".qrn") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ShippedZones, TwentyOrMoreInTheOrderOfPlay) {
  const std::vector<std::string> names = ShippedZoneNames();
  EXPECT_GE(names.size(), 20u);
  // File names begin with their place in the order of play, so the start screen lists them so.
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string number = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1) + "-";
    EXPECT_EQ(names[i].rfind(number, 0), 0u) << names[i];
  }
}

class ShippedZoneSolution : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedZoneSolution, WinsWithoutADeath) {
  const fs::path zone = fs::path(QUARN_ZONES_DIR) / (GetParam() + ".qrn");
  const fs::path keys = fs::path(QUARN_SOLUTIONS_DIR) / (GetParam() + ".keys");
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
  const fs::path zone = fs::path(QUARN_ZONES_DIR) / (GetParam() + ".qrn");
  auto script = ParseKeyScript("1280 -\n", "still.keys");
  ASSERT_TRUE(std::holds_alternative<KeyScript>(script));
  Replay replay(false);
  const auto opened = replay.Open(zone.string());
  ASSERT_FALSE(opened.has_value()) << opened->Describe();
  ASSERT_FALSE(replay.Run(std::get<KeyScript>(script)).has_value());
  EXPECT_EQ(replay.GetGame().Deaths(), 0) << replay.Report(false);
}

INSTANTIATE_TEST_SUITE_P(Zones, ShippedZoneSolution, ::testing::ValuesIn(ShippedZoneNames()),
                         [](const ::testing::TestParamInfo<std::string>& zone) {
                           std::string name = zone.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace quarn::test
