// ZoneLimitsTest.cpp — zones the loader refuses, and the line, field and words of each refusal.
#include <gtest/gtest.h>

#include "ZoneTestSupport.h"

namespace quarn::test {
namespace {

std::string Header(const std::string& width, const std::string& height,
                   const std::string& tail = DefaultTail) {
  return "\"Hra\"\n" + width + "\n" + height + "\n" + tail;
}

std::string Rows(int width, int height, char fill = '.') {
  std::string rows;
  for (int y = 0; y < height; ++y) rows += std::string(static_cast<size_t>(width), fill) + "\n";
  return rows;
}

TEST(ZoneLimits, SizeMustLieInsideTheBoard) {
  EXPECT_EQ(MustParse(Header("150", "130") + Rows(150, 130)).Codes.size(), 150u * 130u);
  EXPECT_EQ(MustParse(Header("1", "1") + Rows(1, 1)).Width, 1);
  for (const auto& [width, height, field, line] :
       std::vector<std::tuple<std::string, std::string, std::string, int>>{
           {"0", "5", "šířka", 2},
           {"151", "5", "šířka", 2},
           {"-3", "5", "šířka", 2},
           {"5", "0", "výška", 3},
           {"5", "131", "výška", 3}}) {
    const ZoneError e = MustFail(Header(width, height) + Rows(5, 5));
    EXPECT_EQ(e.Field, field) << width << "x" << height;
    EXPECT_EQ(e.Line, line);
    EXPECT_EQ(e.File, "test.qrn");
    EXPECT_NE(e.Message.find(field), std::string::npos) << e.Message;
  }
  EXPECT_EQ(MustFail(Header("151", "5")).Describe(),
            "test.qrn:2: šířka musí být od 1 do 150, ne 151");
}

TEST(ZoneLimits, PlayerStepsMustBeAtLeastOne) {
  EXPECT_EQ(MustFail(Header("1", "1", "0\n4\n6\n8\n0\n0\n0\n") + "S\n").Field, "kroky hráče");
  EXPECT_EQ(MustFail(Header("1", "1", "-2\n4\n6\n8\n0\n0\n0\n") + "S\n").Line, 4);
  EXPECT_EQ(MustParse(Header("1", "1", "1\n4\n6\n8\n0\n0\n0\n") + "S\n").PlayerSteps, 1);
  // A bound far above any sensible speed keeps fine positions inside an int.
  EXPECT_EQ(MustFail(Header("1", "1", "10001\n4\n6\n8\n0\n0\n0\n") + "S\n").Field, "kroky hráče");
}

TEST(ZoneLimits, EnemyStepsMatterOnlyForKindsTheZoneHas) {
  const std::string tail = "5\n0\n-1\n8\n0\n0\n0\n";
  EXPECT_EQ(MustParse(Header("2", "1", tail) + "S*\n").EnemySteps, (std::array<int, 3>{0, -1, 8}));
  const ZoneError plus = MustFail(Header("2", "1", tail) + "S+\n");
  EXPECT_EQ(plus.Field, "kroky nepřítele druhu 1 (+)");
  EXPECT_EQ(plus.Line, 5);  // the steps' own line, not the row's
  const ZoneError minus = MustFail(Header("2", "2", tail) + "S.\n.-\n");
  EXPECT_EQ(minus.Field, "kroky nepřítele druhu 2 (-)");
  EXPECT_EQ(minus.Line, 6);
  EXPECT_NE(minus.Message.find("řádek 2"), std::string::npos) << minus.Message;
}

TEST(ZoneLimits, AtMost101Enemies) {
  const std::string rows101 = std::string(101, '+') + "\n";
  EXPECT_EQ(MustParse(Header("101", "2") + rows101 + "S\n").Enemies.size(), 101u);
  const ZoneError e = MustFail(Header("101", "2") + rows101 + "-\n");
  EXPECT_EQ(e.Line, 12);
  EXPECT_EQ(e.Field, "řádek 2");
  EXPECT_NE(e.Message.find("101"), std::string::npos) << e.Message;
}

TEST(ZoneLimits, EnemyFinePositionMustFitSixteenBits) {
  // 300 fine units a cell: column 109 is 32700, column 110 would be 33000.
  const std::string tail = "5\n300\n6\n8\n0\n0\n0\n";
  const std::string edge = std::string(109, '.') + "+";
  const ParsedZone z = MustParse(Header("110", "1", tail) + edge + "\n");
  EXPECT_EQ(z.Enemies.at(0).X, 109);
  const ZoneError across = MustFail(Header("111", "1", tail) + std::string(110, '.') + "+\n");
  EXPECT_EQ(across.Field, "řádek 1");
  EXPECT_EQ(across.Line, 11);
  // Downwards as well: row 110 of a tall zone.
  const ZoneError down = MustFail(Header("1", "111", tail) + Rows(1, 110) + "+\n");
  EXPECT_EQ(down.Field, "řádek 111");
}

TEST(ZoneLimits, FileEndingEarlyNamesWhatIsMissing) {
  const std::vector<std::string> lines = {"\"Hra\"", "2",  "2", "5", "4", "6",
                                          "8",       "01", "0", "1", "SR"};
  const std::vector<std::string> missing = {"název",
                                            "šířka",
                                            "výška",
                                            "kroky hráče",
                                            "kroky nepřítele druhu 1 (+)",
                                            "kroky nepřítele druhu 2 (-)",
                                            "kroky nepřítele druhu 3 (*)",
                                            "laserový vzor a",
                                            "laserový vzor b",
                                            "laserový vzor c",
                                            "řádek 1",
                                            "řádek 2"};
  std::string text;
  for (size_t n = 0; n < missing.size(); ++n) {
    const ZoneError e = MustFail(text);
    EXPECT_EQ(e.Field, missing[n]) << "after " << n << " lines";
    EXPECT_GE(e.Line, 1);
    EXPECT_NE(e.Message.find(n == 0 ? "prázdný" : "končí"), std::string::npos) << e.Message;
    if (n < lines.size()) text += lines[n] + "\n";
  }
}

TEST(ZoneLimits, NumbersMustBeWholeNumbers) {
  for (const std::string bad :
       {"abc", "3x", "1.5", "1e2", "\"\"", "0x10", "99999999999999999999"}) {
    const ZoneError e = MustFail(Header(bad, "1") + "S\n");
    EXPECT_EQ(e.Field, "šířka") << bad;
    EXPECT_EQ(e.Line, 2);
  }
  EXPECT_EQ(MustParse(Header("+2", "1") + "S.\n").Width, 2);
  EXPECT_EQ(MustFail(Header("2", "1", "5\n4\nrychle\n8\n0\n0\n0\n") + "S.\n").Field,
            "kroky nepřítele druhu 2 (-)");
}

TEST(ZoneFiles, MissingFileAndFolderAreErrorsWithoutALine) {
  const std::string missing = TempPath("none.qrn").string();
  const auto result = ParseZoneFile(missing);
  ASSERT_TRUE(!result.Ok());
  const ZoneError& e = result.Error();
  EXPECT_EQ(e.File, missing);
  EXPECT_EQ(e.Line, 0);
  EXPECT_EQ(e.Describe(), missing + ": soubor zóny nelze otevřít: soubor nebo složka chybí");
  EXPECT_TRUE(!ParseZoneFile(TempPath("x").parent_path()).Ok());
}

TEST(ZoneFiles, ErrorsNameTheFileAsGiven) {
  const std::string path = WriteFile(TempPath("broken.qrn"), Header("3", "2") + "S..\n");
  const auto result = ParseZoneFile(path);
  ASSERT_TRUE(!result.Ok());
  EXPECT_EQ(result.Error().Describe().rfind(path + ":11: ", 0), 0u)
      << result.Error().Describe();
  const std::string good = WriteFile(TempPath("good.qrn"), Header("3", "1") + "S..\n");
  EXPECT_TRUE(ParseZoneFile(good).Ok());
}

}  // namespace
}  // namespace quarn::test
