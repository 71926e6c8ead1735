// CommandLineTest.cpp — the program's arguments, and the first zone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ui/CommandLine.h"

namespace quarn::ui {
namespace {

TEST(CommandLine, ArgumentsAndMistakes) {
  Options o = ParseCommandLine({"--zone", "zones/a.qrn", "--no-sound"});
  EXPECT_TRUE(o.Error.empty());
  EXPECT_EQ(o.Zone, "zones/a.qrn");
  EXPECT_TRUE(o.NoSound);
  EXPECT_FALSE(o.Help);

  EXPECT_EQ(ParseCommandLine({"--zone=b.qrn"}).Zone, "b.qrn");
  EXPECT_TRUE(ParseCommandLine({"--help"}).Help);
  EXPECT_TRUE(ParseCommandLine({"--version"}).Version);
  EXPECT_FALSE(ParseCommandLine({}).Zone.has_value());
  EXPECT_FALSE(ParseCommandLine({}).NoSound);  // sound is on unless asked otherwise

  EXPECT_FALSE(ParseCommandLine({"--zone"}).Error.empty());
  EXPECT_FALSE(ParseCommandLine({"--zonee", "x"}).Error.empty());
  EXPECT_FALSE(ParseCommandLine({"a.qrn"}).Error.empty());
}

TEST(CommandLine, FirstZoneBesideTheProgram) {
  namespace fs = std::filesystem;
  const fs::path root =
      fs::temp_directory_path() / ("quarn-firstzone-" + std::to_string(::getpid()));
  fs::remove_all(root);
  EXPECT_FALSE(FirstZone(root).has_value());  // no folder at all
  fs::create_directories(root / "Zones");
  EXPECT_FALSE(FirstZone(root).has_value());  // an empty one
  for (const char* name : {"b.qrn", "a.txt", "c.QRN", "a2.qrn"})
    std::ofstream(root / "Zones" / name) << "x";
  fs::create_directories(root / "Zones" / "a1.qrn");  // a folder is no zone
  EXPECT_EQ(FirstZone(root), root / "Zones" / "a2.qrn");
  fs::remove_all(root);
}

}  // namespace
}  // namespace quarn::ui
