// CheckToolTest.cpp — the built quarn-zone check on our own zones and on broken ones.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ZoneTestSupport.h"

namespace quarn::test {
namespace {

struct ToolRun {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

ToolRun Check(const std::vector<std::string>& files) {
  const auto out = TempPath("stdout.txt");
  const auto err = TempPath("stderr.txt");
  std::string command = std::string("'") + QUARN_ZONE_TOOL + "' check";
  for (const std::string& f : files) command += " '" + f + "'";
  command += " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = Slurp(out);
  run.err = Slurp(err);
  return run;
}

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(ZoneCheck, OurZonesPass) {
  std::vector<std::string> zones;
  for (const auto& entry : std::filesystem::directory_iterator(QUARN_ZONES_DIR)) {
    if (entry.path().extension() == ".qrn") zones.push_back(entry.path().string());
  }
  ASSERT_GE(zones.size(), 2u);
  const ToolRun run = Check(zones);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Lines(run.out), static_cast<int>(zones.size())) << run.out;
}

TEST(ZoneCheck, SummaryNamesWhatTheZoneHolds) {
  const std::string good =
      WriteFile(TempPath("good.qrn"),
                ZoneText(6, 3, {"WWWWWW", "WSR+RW", "Wc-C*W"}, DefaultTail, "\"Dva, tři\""));
  const ToolRun run = Check({good});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, good +
                         ": \"Dva, tři\" 6x3, hot potatoes 2, targets 1, enemies +1 -1 *1, "
                         "laser groups c, S yes, E no\n");
}

TEST(ZoneCheck, BrokenZoneGivesFileAndLineAndStatusOne) {
  const std::string good = WriteFile(TempPath("good.qrn"), ZoneText(2, 1, {"SE"}));
  const std::string broken = WriteFile(TempPath("broken.qrn"), ZoneText(2, 3, {"SE", "WW"}));
  const std::string missing = TempPath("missing.qrn").string();
  const ToolRun run = Check({broken, good, missing});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Lines(run.out), 1) << run.out;
  EXPECT_EQ(run.out.rfind(good + ": ", 0), 0u) << run.out;
  EXPECT_EQ(run.err, broken + ":12: soubor končí, ale chybí ještě řádek 3; hlavička slibuje 3 řádky\n" +
                         missing + ": soubor zóny nelze otevřít\n");
}

}  // namespace
}  // namespace quarn::test
