// CommandLineTest.cpp — the program's arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

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
  // Racing a run needs a zone too, and is no watch.
  EXPECT_EQ(ParseCommandLine({"--zone", "a.qrn", "--ghost", "r.keys"}).Ghost, "r.keys");
  EXPECT_EQ(ParseCommandLine({"--zone=a.qrn", "--ghost=r.keys"}).Ghost, "r.keys");
  EXPECT_FALSE(ParseCommandLine({"--ghost", "r.keys"}).Error.empty());
  EXPECT_FALSE(ParseCommandLine({"--zone", "a.qrn", "--ghost"}).Error.empty());
  EXPECT_FALSE(
      ParseCommandLine({"--zone", "a.qrn", "--ghost", "r.keys", "--watch", "r.keys"}).Error.empty());

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
  // The set is named by the zone's content key; a set's title is escaped as the others are.
  const auto setOf = [](const std::string& key) -> std::string {
    if (key == "00000000000000aa") return "Základy";
    if (key == "00000000000000cc") return "Moje\tsada";
    return "";
  };
  EXPECT_EQ(RecordsListing(records, setOf),
            "ticks\tticks_with_rewind\ttitle\tfile\tset\n"
            "-\t90\tPrvní\t/z/a.qrn\tZáklady\n"
            "2720\t-\tDruhá\\x09zóna\t/z/b.qrn\t-\n"
            "5\t4\tTi\\x00tul\\x1B]0;x\\x07\t/z/c\\x09d\\x0Ae.qrn\tMoje\\x09sada\n");
  EXPECT_EQ(RecordsListing({}), "ticks\tticks_with_rewind\ttitle\tfile\tset\n");
}

// quarn --help lists every option the manual page lists.
TEST(CommandLine, TheUsageListsEveryOptionOfTheManualPage) {
  std::ifstream in(QUARN_MAN_PAGE);
  ASSERT_TRUE(in) << QUARN_MAN_PAGE;
  const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string usage = Usage();
  int options = 0;
  for (size_t at = page.find("\n*--"); at != std::string::npos; at = page.find("\n*--", at + 1)) {
    const size_t end = page.find_first_of("*=", at + 2);
    const std::string option = page.substr(at + 2, end - at - 2);
    ++options;
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  EXPECT_GE(options, 8);
  // Every line fits a terminal of 80 columns.
  size_t width = 0;
  for (size_t at = 0; at < usage.size();) {
    const size_t end = usage.find('\n', at);
    width = std::max(width, end - at);
    at = end + 1;
  }
  EXPECT_LE(width, 80u);
}

}  // namespace
}  // namespace quarn::ui
