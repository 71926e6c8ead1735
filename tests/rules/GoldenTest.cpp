// GoldenTest.cpp — whole small zones replayed against their checked-in reports.
// Set QUARN_UPDATE_GOLDEN=1 to rewrite the reports after an intended change of behaviour.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Harness.h"

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> GoldenZones() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(QUARN_GOLDEN_DIR)) {
    if (entry.path().extension() == ".qrn") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, ReplayMatchesTheCheckedInReport) {
  const fs::path dir = QUARN_GOLDEN_DIR;
  const std::string name = GetParam();
  const std::string keysText = ReadAll(dir / (name + ".keys"));
  auto script = ParseKeyScript(keysText, name + ".keys");
  ASSERT_TRUE(std::holds_alternative<KeyScript>(script))
      << std::get<KeyScriptError>(script).Describe();

  // The question after a win is answered as the key script's "# answer: yes" line says.
  Replay replay(keysText.find("# answer: yes") != std::string::npos);
  ASSERT_FALSE(replay.Open((dir / (name + ".qrn")).string()).has_value());
  ASSERT_FALSE(replay.Run(std::get<KeyScript>(script)).has_value());
  const std::string report = replay.Report(true) + "\n";

  const fs::path expected = dir / (name + ".json");
  if (std::getenv("QUARN_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(expected, std::ios::binary) << report;
    GTEST_SKIP() << "rewrote " << expected;
  }
  ASSERT_TRUE(fs::exists(expected)) << expected << " is missing; run with QUARN_UPDATE_GOLDEN=1";
  EXPECT_EQ(report, ReadAll(expected));
}

INSTANTIATE_TEST_SUITE_P(Zones, Golden, ::testing::ValuesIn(GoldenZones()),
                         [](const auto& zone) { return zone.param; });

}  // namespace
}  // namespace quarn::test
