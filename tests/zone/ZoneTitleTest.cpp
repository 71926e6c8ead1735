// ZoneTitleTest.cpp — the title the zone list shows is the title the loader reads, from the
// start of the file only.
#include <gtest/gtest.h>

#include "ZoneTestSupport.h"
#include "zone/ZoneTitle.h"

namespace quarn::test {
namespace {

TEST(ZoneTitle, AgreesWithTheLoaderOnEveryFirstFieldForm) {
  const std::vector<std::string> firstLines = {
      "\"Úvod\"",                                     // quoted
      "\"Tři, dva, jedna\"",                          // quoted, holding commas
      "\"Hra\" poznámka",                             // what follows the closing quote is dropped
      "  \t\"Odsazená\"",                             // blanks before the field
      "Bez uvozovek",                                 // unquoted, to the line end
      "\"\"",                                         // empty
      "\"Dvě\nřádky\"",                               // a quoted field runs over a line end
      "\"\xDA\x6B\x6F\x6C \xE8\xED\x73\x6C\x6F 1\"",  // Windows-1250 "Úkol číslo 1"
  };
  for (const std::string& first : firstLines) {
    const std::string text = ZoneText(1, 1, {"S"}, DefaultTail, first);
    for (const std::string& variant : {text, "\xEF\xBB\xBF" + text}) {
      const ParsedZone zone = MustParse(variant);
      EXPECT_EQ(ZoneTitleOfText(variant), zone.Title) << first;
    }
  }
  // An unquoted title ends at its comma, and at a CR as well as an LF.
  EXPECT_EQ(ZoneTitleOfText("Bez uvozovek, 3\n"), "Bez uvozovek");
  EXPECT_EQ(ZoneTitleOfText("\"Úkol\"\r\n3\r\n"), "Úkol");
  EXPECT_EQ(ZoneTitleOfText("Úkol\r\n3\r\n"), "Úkol");
  EXPECT_EQ(ZoneTitleOfText(""), "");
}

TEST(ZoneTitle, ReadsOnlyTheStartOfTheFileAndKeepsACutTitleInUtf8) {
  // A quote that is never closed makes the whole file the title; only the read limit of it is
  // listed, and a cut through "ř" must not turn the rest into Windows-1250 mojibake.
  std::string title = "\"";
  while (title.size() < ZoneTitleReadLimit - 1) title += "a";
  title += "řeka";  // "ř" straddles the limit
  const auto file = TempPath("long.qrn");
  WriteFile(file, title + "\n3\n");
  EXPECT_EQ(ReadZoneTitle(file), std::string(ZoneTitleReadLimit - 2, 'a'));

  // Cut inside a Windows-1250 title, the bytes are still converted.
  EXPECT_EQ(ZoneTitleOfText("\"\xE8\xED\x73", /*cut=*/true), "čís");

  EXPECT_EQ(ReadZoneTitle(TempPath("missing.qrn")), std::nullopt);
}

TEST(ZoneTitle, NoTitleFromBinaryFilesButFromEveryTextAZoneMayBe) {
  using namespace std::string_literals;
  // A picture, a program, a compressed file named .qrn: bytes no zone text holds.
  for (const std::string& start : {"\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s,
                                   "\x7F"
                                   "ELF\x02\x01"s,
                                   "PK\x03\x04\x14\0"s, "\"Ok\"\n3\x1B[2J"s}) {
    const auto file = TempPath("binary.qrn");
    WriteFile(file, start);
    EXPECT_EQ(ReadZoneTitle(file), std::nullopt) << start;
  }
  // Tabs, both line ends, the old end-of-file mark and Windows-1250 letters are zone text.
  for (const std::string& text : {"\"Úkol\"\t\r\n3\r\n\x1A"s, "\"\xDA\x6B\x6F\x6C\"\n"s, ""s}) {
    EXPECT_FALSE(LooksBinary(text)) << text;
  }
  const auto file = TempPath("text.qrn");
  WriteFile(file, "\"\xDA\x6B\x6F\x6C\"\n3\n");
  struct stat read {};
  EXPECT_EQ(ReadZoneTitle(file, &read), "Úkol");
  EXPECT_EQ(read.st_size, 9);
}

}  // namespace
}  // namespace quarn::test
