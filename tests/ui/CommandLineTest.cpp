// CommandLineTest.cpp — the program's arguments.
#include <gtest/gtest.h>

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
  EXPECT_EQ(ParseCommandLine({"--zones", "mine"}).Zones, "mine");
  EXPECT_EQ(ParseCommandLine({"--zones=mine"}).Zones, "mine");
  EXPECT_FALSE(ParseCommandLine({"--zones"}).Error.empty());

  EXPECT_EQ(ParseCommandLine({"--edit", "new.qrn", "--no-sound"}).Edit, "new.qrn");
  EXPECT_EQ(ParseCommandLine({"--edit=b.qrn"}).Edit, "b.qrn");
  EXPECT_FALSE(ParseCommandLine({"--edit"}).Error.empty());
  // Playing and editing one zone at once is no request the program can carry out.
  EXPECT_FALSE(ParseCommandLine({"--edit", "a.qrn", "--zone", "a.qrn"}).Error.empty());
  EXPECT_NE(Usage().find("--edit FILE"), std::string::npos);
}

}  // namespace
}  // namespace quarn::ui
