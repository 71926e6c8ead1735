// SolutionsTest.cpp — every shipped zone can be won: its solution, played headless, reaches the
// exit.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/Replay.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

TEST(ShippedZones, EachHasASolutionThatWinsWithoutADeath) {
  const fs::path solutions = fs::path(QUARN_SOLUTIONS_DIR);
  int played = 0;
  for (const auto& entry : fs::directory_iterator(QUARN_ZONES_DIR)) {
    if (entry.path().extension() != ".qrn") continue;
    const std::string zone = entry.path().filename().string();
    SCOPED_TRACE(zone);
    const fs::path keys = solutions / entry.path().stem().concat(".keys");
    ASSERT_TRUE(fs::exists(keys)) << "no solution " << keys;
    auto script = ReadKeyScript(keys.string());
    ASSERT_TRUE(std::holds_alternative<KeyScript>(script))
        << std::get<KeyScriptError>(script).Describe();

    // Declining the replay halts play at the win, so the state shows how the zone ended.
    Replay replay(false);
    const auto opened = replay.Open(entry.path().string());
    ASSERT_FALSE(opened.has_value()) << opened->Describe();
    ASSERT_FALSE(replay.Run(std::get<KeyScript>(script)).has_value());
    EXPECT_EQ(replay.GetGame().Wins(), 1) << replay.Report(false);
    EXPECT_EQ(replay.GetGame().Deaths(), 0) << replay.Report(false);
    EXPECT_EQ(replay.State().PotatoesLeft, 0);
    EXPECT_EQ(replay.State().GameOver, FlagTrue);
    ++played;
  }
  EXPECT_GE(played, 2);
}

}  // namespace
}  // namespace quarn::test
