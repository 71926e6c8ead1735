// CommandLineTest.cpp — the program's arguments and the question buttons.
#include <gtest/gtest.h>

#include "ui/CommandLine.h"
#include "ui/MessagePrompter.h"

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
}

TEST(MessagePrompter, ButtonSetsAndResults) {
  EXPECT_EQ(ButtonCaptions(msgbox::YesNo), (std::vector<std::string>{"Ano", "Ne"}));
  EXPECT_EQ(ResultOf(msgbox::YesNo, 0), msgbox::ResultYes);
  EXPECT_EQ(ResultOf(msgbox::YesNo, 1), msgbox::ResultNo);
  // Closing the box without a button is the last button: No, or Cancel where there is one.
  EXPECT_EQ(ResultOf(msgbox::YesNo, -1), msgbox::ResultNo);
  EXPECT_EQ(ResultOf(msgbox::YesNoCancel, -1), msgbox::ResultCancel);
  EXPECT_EQ(ResultOf(msgbox::YesNoCancel, 1), msgbox::ResultNo);
  EXPECT_EQ(ResultOf(msgbox::OkOnly, 0), msgbox::ResultOk);
  EXPECT_EQ(ResultOf(msgbox::OkCancel, 1), msgbox::ResultCancel);
  EXPECT_EQ(ButtonCaptions(msgbox::OkCancel).size(), 2u);
}

}  // namespace
}  // namespace quarn::ui
