// RunProofTest.cpp — a kept run's time is what replaying it gives: a shipped zone's solution
// proves its own ticks whatever its head claims, a forged run fails, a run of a zone that is gone
// or changed cannot be told; `quarn --verify` proves every kept run, one line each.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "system/Records.h"
#include "ui/RunProof.h"
#include "ui/VerifyRuns.h"

namespace quarn::ui {
namespace {

namespace fs = std::filesystem;
using Kind = system::RunProof::Kind;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(RunProofTest, ReplayingGivesTheTimeAndAForgedHeadFails) {
  const fs::path zone = fs::path(QUARN_SOURCE_DIR) / "zones" / "01-prvni-kroky.qrn";
  const std::string key = *system::ZoneContentKey(zone);
  const fs::path run = fs::temp_directory_path() / (key + "-01-prvni-kroky.keys");
  const std::string head = "# Quarn: vyhraný průchod zónou\n# zóna: První kroky\n# soubor: " +
                           zone.string() + "\n# čas: 5 tiků (0,1 s)\n";
  const std::string solution =
      Slurp(fs::path(QUARN_SOURCE_DIR) / "tests" / "run" / "solutions" / "01-prvni-kroky.keys");
  const system::RunProof real = ProveKeptRun(run, head + solution);
  EXPECT_EQ(real.What, Kind::Wins);
  EXPECT_GT(real.Ticks, 5) << "the head's claim is not the time";

  EXPECT_EQ(ProveKeptRun(run, head + "5 right\n").What, Kind::Fails);
  EXPECT_EQ(ProveKeptRun(run, head + "not a key line\n").What, Kind::Fails);
  // Kept under another zone's key, or naming a file that is gone: nothing to replay against.
  EXPECT_EQ(ProveKeptRun(fs::temp_directory_path() / "0123456789abcdef-x.keys", head + solution)
                .What,
            Kind::Unknown);
  const std::string gone = "# Quarn: vyhraný průchod zónou\n# soubor: /nikde/zadna.qrn\n";
  EXPECT_EQ(ProveKeptRun(run, gone + solution).What, Kind::Unknown);
}

std::string HeadOf(const std::string& title, const fs::path& file, int64_t ticks) {
  return "# Quarn: vyhraný průchod zónou\n# zóna: " + title + "\n# soubor: " + file.string() +
         "\n# čas: " + std::to_string(ticks) + " tiků\n";
}

// Every kept run is replayed against the zone it is kept for, found by its head or, moved, by
// its content among the listed zones; the lines are in the order of the names, and the count is
// of those that do not prove their record.
TEST(RunProofTest, VerifyProvesEveryKeptRunAndCountsTheFailures) {
  const fs::path source(QUARN_SOURCE_DIR);
  const fs::path first = source / "zones" / "01-prvni-kroky.qrn";
  const fs::path second = source / "zones" / "02-horke-brambory.qrn";
  const std::string firstKey = *system::ZoneContentKey(first);
  const std::string secondKey = *system::ZoneContentKey(second);
  const std::string firstRun = Slurp(source / "tests" / "run" / "solutions" / "01-prvni-kroky.keys");
  const std::string secondRun =
      Slurp(source / "tests" / "run" / "solutions" / "02-horke-brambory.keys");
  const int64_t firstTicks =
      CheckRun(first.string(), firstRun, "01.keys", std::nullopt).Ticks;
  const int64_t secondTicks =
      CheckRun(second.string(), secondRun, "02.keys", std::nullopt).Ticks;
  ASSERT_GT(firstTicks, 0);
  ASSERT_GT(secondTicks, 0);

  const fs::path runs = fs::temp_directory_path() / "quarn-verify-runs";
  fs::remove_all(runs);
  fs::create_directories(runs);
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(runs / name, std::ios::binary) << text;
  };
  write(firstKey + "-01-prvni-kroky.keys", HeadOf("První kroky", first, firstTicks) + firstRun);
  // Moved since: found among the listed zones by its content.
  write(firstKey + "-presunuta.zpet.keys",
        HeadOf("První kroky", "/nikde/01.qrn", firstTicks) + firstRun);
  write(secondKey + "-02-horke-brambory.keys",
        HeadOf("Horké brambory", second, secondTicks - 64) + secondRun);
  write("fedcba9876543210-smazana.keys", HeadOf("Smazaná", "/nikde/smazana.qrn", 5) + "5 -\n");
  write(firstKey + "-01-prvni-kroky.keys.damaged-20261209-230000", "5 -\n");
  write("poznamky.keys", "5 -\n");

  std::string out;
  const int failed = VerifyKeptRuns(runs, {{firstKey, first}}, out);
  fs::remove_all(runs);
  EXPECT_EQ(failed, 2) << out;
  const std::string firstTime = std::to_string(firstTicks) + " tiků (" +
                                system::SecondsText(firstTicks) + " s), jak je zapsáno v zóně " +
                                first.string();
  std::string want = firstKey + "-01-prvni-kroky.keys: vyhrává za " + firstTime + "\n" +
                     firstKey + "-presunuta.zpet.keys: vyhrává za " + firstTime + "\n" +
                     secondKey + "-02-horke-brambory.keys: vyhrává za " +
                     std::to_string(secondTicks) + " tiků (" + system::SecondsText(secondTicks) +
                     " s), ne za " + std::to_string(secondTicks - 64) + " tiků, jak o sobě tvrdí\n" +
                     "fedcba9876543210-smazana.keys: zóna, pro kterou je uložen, tu už není "
                     "(soubor v jeho hlavičce chybí nebo drží jinou zónu)\n";
  // The lines come in the order of the names.
  std::vector<std::string> lines;
  for (size_t at = 0; at < want.size();) {
    const size_t end = want.find('\n', at);
    lines.push_back(want.substr(at, end + 1 - at));
    at = end + 1;
  }
  std::sort(lines.begin(), lines.end());
  want.clear();
  for (const std::string& line : lines) want += line;
  EXPECT_EQ(out, want);
}

}  // namespace
}  // namespace quarn::ui
