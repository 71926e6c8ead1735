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
  EXPECT_TRUE(ParseCommandLine({"--records"}).Records);
  EXPECT_EQ(ParseCommandLine({"--zone", "a.qrn", "--watch", "r.keys"}).Watch, "r.keys");
  // Watching needs a zone to watch it in.
  EXPECT_FALSE(ParseCommandLine({"--watch", "r.keys"}).Error.empty());
  EXPECT_FALSE(ParseCommandLine({"--zone", "a.qrn", "--watch"}).Error.empty());

  EXPECT_EQ(ParseCommandLine({"--edit", "new.qrn", "--no-sound"}).Edit, "new.qrn");
  EXPECT_EQ(ParseCommandLine({"--edit=b.qrn"}).Edit, "b.qrn");
  EXPECT_FALSE(ParseCommandLine({"--edit"}).Error.empty());
  // Playing and editing one zone at once is no request the program can carry out.
  EXPECT_FALSE(ParseCommandLine({"--edit", "a.qrn", "--zone", "a.qrn"}).Error.empty());
  EXPECT_NE(Usage().find("--edit FILE"), std::string::npos);
}

TEST(CommandLine, RecordsListingIsOneTabSeparatedLinePerZoneOrderedByFile) {
  std::map<std::string, system::ZoneRecord> records;
  records["00000000000000bb"] = {true, 2720, std::nullopt, "Druhá\tzóna", "/z/b.qrn"};
  records["00000000000000aa"] = {true, std::nullopt, 90, "První", "/z/a.qrn"};
  // Texts from the player's files: an escape sequence, a bell, a NUL, a tab and a line end in a
  // name are shown escaped, so that none reaches the terminal or breaks the columns.
  records["00000000000000cc"] = {true, 5, 4, std::string("Ti\0tul\x1b]0;x\x07", 12),
                                 "/z/c\td\ne.qrn"};
  EXPECT_EQ(RecordsListing(records),
            "ticks\tticks_with_rewind\ttitle\tfile\n"
            "-\t90\tPrvní\t/z/a.qrn\n"
            "2720\t-\tDruhá\\x09zóna\t/z/b.qrn\n"
            "5\t4\tTi\\x00tul\\x1B]0;x\\x07\t/z/c\\x09d\\x0Ae.qrn\n");
  EXPECT_EQ(RecordsListing({}), "ticks\tticks_with_rewind\ttitle\tfile\n");
}

}  // namespace
}  // namespace quarn::ui
