// RunProofTest.cpp — a kept run's time is what replaying it gives: a shipped zone's solution
// proves its own ticks whatever its head claims, a forged run fails, a run of a zone that is gone
// or changed cannot be told.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "system/Records.h"
#include "ui/RunProof.h"

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

}  // namespace
}  // namespace quarn::ui
