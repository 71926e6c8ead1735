// RunCheckTest.cpp — proving a run: the time it gives is the tick the win comes in, counted from
// the run's last opening as the game records it; a run that lies about its time, never wins, has
// its win taken back, names another zone or holds a wrong line proves nothing, and says which.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "run/Replay.h"
#include "run/RunCheck.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using Verdict = RunVerdict::Kind;

const std::string Zone = std::string(QUARN_ZONES_DIR) + "/01-prvni-kroky.qrn";

std::string Solution() {
  std::ifstream in(fs::path(QUARN_SOLUTIONS_DIR) / "01-prvni-kroky.keys", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int64_t WinsPlayed(const std::string& text, int64_t ticks) {
  Replay replay(false);
  EXPECT_FALSE(replay.Open(Zone).has_value());
  auto script = ParseKeyScript(text);
  EXPECT_FALSE(replay.Run(std::get<KeyScript>(script), ticks).has_value());
  return replay.GetGame().Wins();
}

// The solution goes on for some ticks after its win: the time is the winning tick's, not the
// script's length, and the script cut one tick before it does not win.
TEST(RunCheck, TheTimeIsTheWinningTickFromTheLastOpening) {
  const RunVerdict check = CheckRun(Zone, Solution(), "01.keys", std::nullopt);
  ASSERT_EQ(check.What, Verdict::Wins) << check.Detail;
  EXPECT_LT(check.Ticks, check.Played) << "the solution stands still after its win";
  EXPECT_EQ(WinsPlayed(Solution(), check.Ticks), 1);
  EXPECT_EQ(WinsPlayed(Solution(), check.Ticks - 1), 0);

  EXPECT_EQ(CheckRun(Zone, Solution(), "01.keys", check.Ticks).What, Verdict::Wins);
  // Play before a restart is not part of the run: the time counts from the opening that Ctrl+R
  // makes inside its tick, that tick included.
  const RunVerdict restarted =
      CheckRun(Zone, "50 right\n1 ctrl+r\n" + Solution(), "restarted.keys", std::nullopt);
  ASSERT_EQ(restarted.What, Verdict::Wins) << restarted.Detail;
  EXPECT_EQ(restarted.Ticks, check.Ticks + 1);
  EXPECT_EQ(restarted.Played, check.Played + 51);
}

TEST(RunCheck, ARunThatProvesNothingSaysWhy) {
  const int64_t ticks = CheckRun(Zone, Solution(), "01.keys", std::nullopt).Ticks;

  const RunVerdict lies = CheckRun(Zone, Solution(), "lies.keys", ticks - 100);
  EXPECT_EQ(lies.What, Verdict::TimeDiffers);
  EXPECT_EQ(lies.Ticks, ticks);
  EXPECT_FALSE(lies.Proved());

  const RunVerdict walks = CheckRun(Zone, "30 right\n", "walks.keys", 30);
  EXPECT_EQ(walks.What, Verdict::NoWin);
  EXPECT_EQ(walks.Played, 30);

  // Going back over the winning tick takes the win back with it (the script stops halted at the
  // win, so one tick back is before it).
  std::string cut = Solution();
  cut = cut.substr(0, cut.rfind("10 -"));
  EXPECT_EQ(CheckRun(Zone, cut + "back 1\n", "back.keys", std::nullopt).What, Verdict::NoWin);
  EXPECT_EQ(CheckRun(Zone, cut + "back 1\n1 right\n", "again.keys", std::nullopt).Ticks, ticks)
      << "won again on the same tick";

  const RunVerdict other =
      CheckRun(Zone, "# zóna: Sklad\n" + Solution(), "other.keys", std::nullopt);
  EXPECT_EQ(other.What, Verdict::OtherZone);
  EXPECT_EQ(other.Detail, "Sklad");
  EXPECT_EQ(CheckRun(Zone, "# zóna: První kroky\n" + Solution(), "own.keys", std::nullopt).What,
            Verdict::Wins);

  const RunVerdict damaged = CheckRun(Zone, Solution() + "3 jump\n", "damaged.keys", std::nullopt);
  EXPECT_EQ(damaged.What, Verdict::Unreadable);
  EXPECT_NE(damaged.Detail.find("damaged.keys:19:"), std::string::npos) << damaged.Detail;

  const RunVerdict gone = CheckRun("/nikde/zadna.qrn", Solution(), "01.keys", std::nullopt);
  EXPECT_EQ(gone.What, Verdict::ZoneFails);
  EXPECT_FALSE(gone.Detail.empty());
}

}  // namespace
}  // namespace quarn::test
