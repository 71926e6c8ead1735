// ZoneTilesTest.cpp — which tile each zone character becomes, and what the loader notes on the way.
#include <gtest/gtest.h>

#include <map>

#include "ZoneTestSupport.h"

namespace quarn::test {
namespace {

TEST(ZoneCharacters, EveryCharacterMapsOnItsOwnAndOnlyListedOnesAreTiles) {
  const std::map<char, int> listed = {{'S', 1},  {'W', 2},  {'E', 2},  {'O', 3},  {'?', 3},
                                      {'Q', 4},  {'R', 7},  {'C', 8},  {'D', 10}, {'K', 11},
                                      {'B', 12}, {'+', 13}, {'-', 14}, {'*', 15}, {'a', 16},
                                      {'b', 20}, {'c', 18}, {'T', 23}};
  const std::array<std::string, 3> patterns{"0", "1", "01"};
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    const auto it = listed.find(c);
    const int expected = it == listed.end() ? 0 : it->second;
    EXPECT_EQ(CodeOfCharacter(c, patterns), expected) << "character " << i;
  }
}

TEST(ZoneCharacters, CaseMattersAndUnlistedCharactersAreFloor) {
  // Lower-case letters other than a, b, c, capitals not in the list, digits and signs are floor.
  const ParsedZone z = MustParse(ZoneText(12, 1, {"swerdkAcB1#~"}));
  const std::vector<int> expected = {0, 0, 0, 0, 0, 0, 0, tile::LaserOpenC, tile::Boxes, 0, 0, 0};
  for (int x = 0; x < 12; ++x) EXPECT_EQ(z.CodeAt(x, 0), expected[x]) << "column " << x;
}

TEST(ZoneCharacters, TimeRowGivesBonusFloorFloorAndExitSite) {
  const ParsedZone z = MustParse(ZoneText(4, 2, {"....", "TIME"}));
  EXPECT_EQ(z.CodeAt(0, 1), tile::Time);
  EXPECT_EQ(z.CodeAt(1, 1), tile::Space);
  EXPECT_EQ(z.CodeAt(2, 1), tile::Space);
  EXPECT_EQ(z.CodeAt(3, 1), tile::Wall);  // the exit shows as a wall until it is revealed
  EXPECT_EQ(z.Exit, std::make_pair(3, 1));
}

TEST(ZoneCharacters, ShortRowsLeaveFloorAndLongRowsAreCut) {
  const ParsedZone z = MustParse(ZoneText(3, 3, {"W", "WRRRSE+", ""}));
  EXPECT_EQ(z.CodeAt(0, 0), tile::Wall);
  EXPECT_EQ(z.CodeAt(1, 0), tile::Space);
  EXPECT_EQ(z.CodeAt(2, 0), tile::Space);
  EXPECT_EQ(z.CodeAt(2, 1), tile::HotPotato);
  // What lies past the width is not counted, not a start, not an exit and not an enemy.
  EXPECT_EQ(z.Potatoes, 2);
  EXPECT_FALSE(z.Start);
  EXPECT_FALSE(z.Exit);
  EXPECT_TRUE(z.Enemies.empty());
  EXPECT_EQ(z.Codes.size(), 9u);
}

TEST(ZoneCharacters, LaserDoorsStartActiveOnlyWhenTheirPatternBeginsWithZero) {
  const auto codes = [](const std::string& a, const std::string& b, const std::string& c) {
    const ParsedZone z =
        MustParse(ZoneText(3, 1, {"abc"}, "5\n4\n6\n8\n" + a + "\n" + b + "\n" + c + "\n"));
    return std::array<int, 3>{z.CodeAt(0, 0), z.CodeAt(1, 0), z.CodeAt(2, 0)};
  };
  EXPECT_EQ(codes("0", "0", "0"), (std::array<int, 3>{16, 17, 18}));
  EXPECT_EQ(codes("1", "10", "x0"), (std::array<int, 3>{19, 20, 21}));
  EXPECT_EQ(codes("01", "1", "0"), (std::array<int, 3>{16, 20, 18}));
  // An empty pattern is allowed: its doors start open.
  EXPECT_EQ(codes("", "0", "\"\""), (std::array<int, 3>{19, 17, 21}));
}

TEST(ZoneCharacters, LastStartAndLastExitWinButEveryStartKeepsItsCode) {
  const ParsedZone z = MustParse(ZoneText(3, 2, {"SES", "ESW"}));
  EXPECT_EQ(z.Start, std::make_pair(1, 1));
  EXPECT_EQ(z.Exit, std::make_pair(0, 1));
  EXPECT_EQ(z.CodeAt(0, 0), tile::Start);
  EXPECT_EQ(z.CodeAt(2, 0), tile::Start);
  EXPECT_EQ(z.CodeAt(1, 0), tile::Wall);
}

TEST(ZoneCharacters, EnemiesAndPotatoesAreListedInReadingOrder) {
  const ParsedZone z = MustParse(ZoneText(4, 3, {"*R.+", "R..R", "-+.."}));
  ASSERT_EQ(z.Enemies.size(), 4u);
  const std::vector<std::array<int, 3>> expected = {{0, 0, 3}, {3, 0, 1}, {0, 2, 2}, {1, 2, 1}};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ((std::array<int, 3>{z.Enemies[i].X, z.Enemies[i].Y, z.Enemies[i].Kind}), expected[i])
        << "enemy " << i;
  }
  EXPECT_EQ(z.CodeAt(0, 0), tile::Enemy3);
  EXPECT_EQ(z.Potatoes, 3);
}

TEST(ZoneCharacters, ZoneWithoutStartOrExitSaysSo) {
  const ParsedZone z = MustParse(ZoneText(2, 1, {"RC"}));
  EXPECT_FALSE(z.Start);
  EXPECT_FALSE(z.Exit);
}

}  // namespace
}  // namespace quarn::test
